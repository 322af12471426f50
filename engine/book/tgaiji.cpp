// TGaiji: the external-character conversion table filled from the
// conversion lines of the per-book information file.
#include "engine/book/tgaiji.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "engine/book/tdisk.h"
#include "engine/book/text_utils.h"

namespace morva {

namespace {

enum class Width { kHalf, kFull, kBoth };

struct ConversionLine {
  uint32_t code = 0;
  Width width = Width::kBoth;
  std::string_view text;
};

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
bool IsWidthLetter(char c) { return Upper(c) == 'H' || Upper(c) == 'Z'; }
Width WidthOf(char letter) { return Upper(letter) == 'H' ? Width::kHalf : Width::kFull; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// Up to four hexadecimal digits from pos on; pos moves past them. False when
// there is none.
bool ReadHexCode(std::string_view line, size_t& pos, uint32_t& code) {
  const size_t begin = pos;
  code = 0;
  while (pos < line.size() && pos - begin < 4 && HexDigit(line[pos]) >= 0)
    code = code * 16 + static_cast<uint32_t>(HexDigit(line[pos++]));
  return pos > begin;
}

// The three forms of a line:
//   Hxxxx=text, Zxxxx=text   half- or full-width text of the code
//   xxxxH=text, xxxxZ=text   the same, with the letter after the code
//   xxxx=text                the text for both widths
// The letters may be in either case. Nothing when the line has none of them.
std::optional<ConversionLine> ParseLine(std::string_view line) {
  if (line.empty()) return std::nullopt;
  ConversionLine parsed;
  size_t pos = 0;
  if (IsWidthLetter(line[0])) {
    parsed.width = WidthOf(line[0]);
    pos = 1;
    if (!ReadHexCode(line, pos, parsed.code)) return std::nullopt;
  } else if (line.size() > 5 && IsWidthLetter(line[4]) && ReadHexCode(line, pos, parsed.code) &&
             pos == 4) {
    parsed.width = WidthOf(line[4]);
    pos = 5;
  } else {
    // A short code whose text happens to have the letter in fifth place
    // still reads as the plain form.
    pos = 0;
    if (!ReadHexCode(line, pos, parsed.code)) return std::nullopt;
  }
  if (pos >= line.size() || line[pos] != '=') return std::nullopt;
  parsed.text = line.substr(pos + 1);
  return parsed;
}

}  // namespace

void TGaiji::Clear() {
  entries_.clear();
  used_ = 0;
}

bool TGaiji::AddLine(TDisk& disk, std::string_view line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  const std::optional<ConversionLine> parsed = ParseLine(line);
  if (!parsed) return true;

  auto entry = std::find_if(entries_.begin(), entries_.end(),
                            [&](const Entry& e) { return e.code == parsed->code; });
  if (entry == entries_.end() && Count() >= kMaxEntries) {
    disk.reporter().Warning(Sjis("外字変換指定が2,000を越えました\n超過分を無視します"));
    return false;
  }
  // Each text is kept with its terminating 0.
  const size_t length = parsed->text.size();
  if (static_cast<size_t>(used_) + length >= static_cast<size_t>(kPoolSize)) {
    disk.reporter().Warning(
        Sjis("外字変換の置き換え文字の合計が8,000文字を越えました\n超過分を無視します"));
    return false;
  }
  if (entry == entries_.end()) {
    entries_.push_back(Entry{parsed->code});
    entry = entries_.end() - 1;
  }
  const int position = used_;
  std::memcpy(pool_.data() + position, parsed->text.data(), length);
  pool_[static_cast<size_t>(position) + length] = '\0';
  used_ += static_cast<int>(length) + 1;
  if (parsed->width != Width::kFull) entry->half = position;
  if (parsed->width != Width::kHalf) entry->full = position;
  return true;
}

int TGaiji::Lookup(uint32_t code, bool fullWidth) const {
  for (const Entry& e : entries_)
    if (e.code == code) return fullWidth ? e.full : e.half;
  return -1;
}

}  // namespace morva
