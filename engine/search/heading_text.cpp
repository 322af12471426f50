// The heading text of a word-list item, for the grid (display mode) and for
// the name keys of the sort by name (key mode).
#include <cstdio>

#include "engine/book/tdisk.h"
#include "engine/book/text_utils.h"
#include "engine/decode/decoder.h"
#include "engine/decode/marked_text.h"
#include "engine/search/wordlist.h"
#include "engine/text/sjis.h"
#include "engine/text/width.h"

namespace morva {
namespace {

// Decoder units read at most: a heading longer than this is damaged data.
constexpr int kMaxUnits = 4096;
constexpr int kLineBreak = 0x0A;
constexpr auto kGaijiMarker = static_cast<uint8_t>(markup::kGaiji);

// Adds a multi-byte piece if the text stays below the limit; false ends it.
bool AddWhole(std::string& text, std::string_view piece, size_t limit) {
  if (piece.size() >= limit - text.size()) return false;
  text.append(piece);
  return true;
}

// Whether the heading line goes on with more text after the reader's place:
// escapes other than the line break are not text.
bool MoreText(TDisk& disk, EscapeItem& escape) {
  for (int units = 0; units < kMaxUnits; ++units) {
    const int value = DecodeNext(disk, escape, true);
    if (value == kDecodeEnd) return false;
    if (escape.code == 0) return true;
    if (value == kDecodeEscape && escape.code == kLineBreak) return false;
  }
  return false;
}

// Key mode keeps letters and kana only, upper-cased.
void AddKeyByte(std::string& text, uint8_t c) {
  if (c < 'A' || c == 0xA5) return;
  if (c >= 'a' && c <= 'z') c = static_cast<uint8_t>(c - ('a' - 'A'));
  text.push_back(static_cast<char>(c));
}

}  // namespace

std::string HeadingText(TDisk& disk, const Wordlist& list, int index, HeadingMode mode,
                        size_t limit, bool* cut) {
  if (cut != nullptr) *cut = false;
  if (index < 0 || index >= list.Count()) return {};
  const WordlistItem& item = list.Item(index);
  if (!disk.SelectSubbook(item.book)) return {};
  if (item.heading.page == 0) return disk.SingleByteBook() ? "[MENU]" : Sjis("[メニュー全体]");
  if (disk.Seek(item.heading) != 0) return {};

  const bool keyMode = mode == HeadingMode::kKey;
  std::string text;
  EscapeItem escape;
  bool full = false;  // a piece did not fit below the limit
  for (int units = 0; units < kMaxUnits && text.size() < limit; ++units) {
    const int value = DecodeNext(disk, escape, true);
    if (value == kDecodeEnd) break;
    if (escape.code != 0) {
      if (value == kDecodeEscape && escape.code == kLineBreak) break;
      continue;  // other escapes and unknown codes are not text
    }
    if (value >= kFirstGaijiValue) {
      if (keyMode) continue;
      std::string piece;
      if (disk.decoderState().gaijiMode == GaijiMode::kBitmap) {
        piece = {static_cast<char>(kGaijiMarker), disk.decoderState().fullWidth ? '1' : '0',
                 static_cast<char>(value >> 8), static_cast<char>(value & 0xFF)};
      } else {
        char buf[16];
        std::snprintf(buf, sizeof buf, "[%04x]", static_cast<unsigned>(value));
        piece = buf;
      }
      if (!AddWhole(text, piece, limit)) {
        full = true;
        break;
      }
      continue;
    }
    const auto lead = static_cast<uint8_t>(value);
    if (!IsSjisLead(lead)) {
      if (keyMode) AddKeyByte(text, lead);
      else text.push_back(static_cast<char>(lead));
      continue;
    }
    // A double-byte character: its trail byte is the decoder's next unit.
    const int trail = DecodeNext(disk, escape, true);
    if (trail == kDecodeEnd || escape.code != 0 || trail >= kFirstGaijiValue) break;
    const auto code = static_cast<uint16_t>(lead << 8 | trail);
    if (keyMode) {
      if (lead == 0x81) continue;  // symbols, punctuation, the long-vowel mark
      if (const HalfWidthForm half = ToHalfWidth(code); half.ch != 0) {
        AddKeyByte(text, half.ch);
        continue;
      }
    }
    const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
    if (!AddWhole(text, std::string_view(pair, 2), limit)) {
      full = true;
      break;
    }
  }
  if (cut != nullptr) *cut = full || (text.size() >= limit && MoreText(disk, escape));
  return text;
}

}  // namespace morva
