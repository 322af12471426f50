#include "tools/mkbook/edict_source.h"

#include <array>
#include <cstdint>

#include "engine/text/jis.h"
#include "engine/text/width.h"

namespace morva::mkbook {
namespace {

bool IsEucByte(uint8_t b) { return b >= 0xA1 && b <= 0xFE; }

// Printable ASCII and well-formed JIS X 0208 pairs only.
bool IsJisText(std::string_view s) {
  for (size_t i = 0; i < s.size(); ++i) {
    const auto b = static_cast<uint8_t>(s[i]);
    if (b >= 0x20 && b <= 0x7E) continue;
    if (!IsEucByte(b) || i + 1 >= s.size() || !IsEucByte(static_cast<uint8_t>(s[i + 1])))
      return false;
    ++i;
  }
  return true;
}

// The header's headword: "　？？？".
constexpr std::string_view kHeaderHeadword = "\xA1\xA1\xA1\xA9\xA1\xA9\xA1\xA9";

// Full-width JIS code of every printable ASCII byte.
const std::array<uint16_t, 128>& FullWidthTable() {
  static const std::array<uint16_t, 128> table = [] {
    std::array<uint16_t, 128> t{};
    for (int c = 0x20; c < 0x7F; ++c)
      t[static_cast<size_t>(c)] = SjisToJis(ToFullWidth(static_cast<uint8_t>(c)));
    return t;
  }();
  return table;
}

}  // namespace

std::string JisFromEuc(std::string_view euc) {
  const auto& table = FullWidthTable();
  std::string out;
  out.reserve(euc.size() * 2);
  for (size_t i = 0; i < euc.size(); ++i) {
    const auto b = static_cast<uint8_t>(euc[i]);
    if (b < 0x80) {
      const uint16_t code = table[b];
      if (code == 0) continue;  // control bytes have no printed form
      out += static_cast<char>(code >> 8);
      out += static_cast<char>(code & 0xFF);
    } else if (i + 1 < euc.size()) {
      out += static_cast<char>(b & 0x7F);
      out += static_cast<char>(euc[++i] & 0x7F);
    }
  }
  return out;
}

EdictLine ParseEdictLine(std::string_view line, EdictEntry& entry) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  if (line.find_first_not_of(' ') == std::string_view::npos) return EdictLine::kBlank;
  if (!IsJisText(line)) return EdictLine::kOutsideJis;

  const size_t slash = line.find(" /");
  if (slash == std::string_view::npos || slash == 0) return EdictLine::kMalformed;
  std::string_view words = line.substr(0, slash);
  std::string_view reading;
  if (const size_t open = words.find(" ["); open != std::string_view::npos) {
    if (words.back() != ']') return EdictLine::kMalformed;
    reading = words.substr(open + 2, words.size() - open - 3);
    words = words.substr(0, open);
  }
  if (words.empty() || words.find(' ') != std::string_view::npos) return EdictLine::kMalformed;

  entry.headword = JisFromEuc(words);
  entry.reading = JisFromEuc(reading);
  entry.glosses.clear();
  std::string_view rest = line.substr(slash + 2);
  while (!rest.empty()) {
    const size_t end = rest.find('/');
    const std::string_view gloss = rest.substr(0, end);
    if (!gloss.empty()) entry.glosses.emplace_back(gloss);
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  if (entry.glosses.empty()) return EdictLine::kMalformed;
  return words == kHeaderHeadword ? EdictLine::kHeader : EdictLine::kEntry;
}

}  // namespace morva::mkbook
