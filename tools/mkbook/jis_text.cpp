#include "tools/mkbook/jis_text.h"

#include <cstdint>
#include <stdexcept>

#include "engine/text/jis.h"
#include "engine/text/sjis.h"
#include "engine/text/unicode.h"
#include "engine/text/width.h"
#include "tools/mkbook/bytes.h"

namespace morva::mkbook {
namespace {

[[noreturn]] void Refuse(const char* what) { throw std::invalid_argument(what); }

// Decodes one UTF-8 scalar at pos and advances pos past it.
char32_t NextScalar(std::string_view s, size_t& pos) {
  const auto lead = static_cast<uint8_t>(s[pos++]);
  if (lead < 0x80) return lead;
  int extra = 0;
  char32_t c = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1;
    c = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2;
    c = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3;
    c = lead & 0x07;
  } else {
    Refuse("malformed UTF-8");
  }
  for (int i = 0; i < extra; ++i) {
    if (pos >= s.size()) Refuse("truncated UTF-8");
    const auto b = static_cast<uint8_t>(s[pos++]);
    if ((b & 0xC0) != 0x80) Refuse("malformed UTF-8");
    c = c << 6 | (b & 0x3F);
  }
  return c;
}

bool IsHalfWidthKana(uint8_t b) { return b >= 0xA1 && b <= 0xDF; }

}  // namespace

std::string SjisFromUtf8(std::string_view utf8) {
  std::string out;
  for (size_t pos = 0; pos < utf8.size();) {
    const char32_t c = NextScalar(utf8, pos);
    const uint16_t code = c == 0 ? 0 : UnicodeToSjis(c);
    if (code == 0) Refuse("character has no Shift-JIS form");
    if (code > 0xFF) out += static_cast<char>(code >> 8);
    out += static_cast<char>(code & 0xFF);
  }
  return out;
}

std::string JisFromSjis(std::string_view sjis) {
  std::string out;
  for (size_t pos = 0; pos < sjis.size();) {
    const auto b = static_cast<uint8_t>(sjis[pos]);
    uint16_t full = 0;
    if (IsSjisLead(b)) {
      if (pos + 1 >= sjis.size()) Refuse("Shift-JIS lead byte at the end of the text");
      full = static_cast<uint16_t>(b << 8 | static_cast<uint8_t>(sjis[pos + 1]));
      pos += 2;
    } else {
      const uint8_t next = pos + 1 < sjis.size() ? static_cast<uint8_t>(sjis[pos + 1]) : 0;
      if (IsHalfWidthKana(b) && (next == 0xDE || next == 0xDF)) full = ToFullWidthVoiced(b, next);
      if (full != 0) {
        pos += 2;
      } else {
        full = ToFullWidth(b);
        pos += 1;
      }
      if (full == 0) Refuse("control byte in text");
    }
    const uint16_t jis = SjisToJis(full);
    if (jis == 0) Refuse("character outside JIS X 0208");
    out += Be16(jis);
  }
  return out;
}

std::string JisFromUtf8(std::string_view utf8) { return JisFromSjis(SjisFromUtf8(utf8)); }

}  // namespace morva::mkbook
