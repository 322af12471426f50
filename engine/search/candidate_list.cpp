#include "engine/search/candidate_list.h"

#include "engine/book/tdisk.h"
#include "engine/decode/decoder.h"
#include "engine/decode/marked_text.h"
#include "engine/text/sjis.h"

namespace morva {
namespace {

constexpr int kEndOfText = 0x03;
constexpr int kLineBreak = 0x0A;
constexpr int kCandidateEnd = 0x63;
constexpr char kMarker = markup::kGaiji;

// A damaged list without empty line or end of data must not keep a caller
// reading the whole book: one walk reads at most this many decoder items.
constexpr int kMaxItemsPerWalk = 1 << 20;

// Walks a candidate list line by line. External characters come out as codes
// (for the markers) while it lives, whatever mode the disk is in.
class LineWalker {
 public:
  LineWalker(TDisk& disk, BookAddress start)
      : disk_(disk), codes_(disk.decoderState(), GaijiMode::kBitmap) {
    ended_ = disk_.Seek(start) != 0;
  }
  LineWalker(const LineWalker&) = delete;
  LineWalker& operator=(const LineWalker&) = delete;

  // Reads the next line: its text (when text is given, at most capacity
  // bytes), whether it holds anything, and the first address a candidate end
  // carries. False when no line is left.
  bool Next(std::string* text, size_t capacity, bool* hasContent,
            std::optional<BookAddress>* nested) {
    if (text) text->clear();
    *hasContent = false;
    nested->reset();
    if (ended_) return false;
    bool readSomething = false;
    bool full = false;
    EscapeItem item;
    for (;;) {
      if (++items_ > kMaxItemsPerWalk) {
        ended_ = true;
        return readSomething;
      }
      const int value = DecodeNext(disk_, item, true);
      if (value == kDecodeEnd) {
        ended_ = true;
        return readSomething;
      }
      readSomething = true;
      if (item.code != 0) {
        if (item.code == kLineBreak) return true;
        if (item.code == kEndOfText) {
          ended_ = true;
          return true;
        }
        if (item.code == kCandidateEnd && !nested->has_value() && item.p1 > 0) {
          *nested = BookAddress{item.p1, item.p2}.Normalised();
        }
        continue;
      }
      *hasContent = true;
      if (!text || full) continue;
      if (value >= kFirstGaijiValue) {
        if (text->size() + 4 > capacity) {
          full = true;
          continue;
        }
        *text += kMarker;
        *text += disk_.decoderState().fullWidth ? '1' : '0';
        *text += static_cast<char>(value >> 8);
        *text += static_cast<char>(value & 0xFF);
        continue;
      }
      // A double-byte character is stored whole or not at all.
      const bool pairFollows = disk_.decoderState().CharacterPending();
      const size_t need = pairFollows && IsSjisLead(static_cast<uint8_t>(value)) ? 2 : 1;
      if (text->size() + need > capacity) {
        full = true;
        continue;
      }
      *text += static_cast<char>(value);
    }
  }

 private:
  TDisk& disk_;
  ScopedGaijiMode codes_;
  bool ended_ = false;
  int items_ = 0;
};

}  // namespace

int CountCandidateLines(TDisk& disk, BookAddress list, int maxRows) {
  LineWalker walker(disk, list);
  int rows = 0;
  bool content = false;
  std::optional<BookAddress> nested;
  while (rows < maxRows && walker.Next(nullptr, 0, &content, &nested)) {
    if (!content && !nested) break;  // the empty line that ends the list
    ++rows;
  }
  return rows;
}

CandidateLine ReadCandidateLine(TDisk& disk, BookAddress list, int row, size_t capacity) {
  CandidateLine line;
  if (row < 0) return line;
  LineWalker walker(disk, list);
  bool content = false;
  for (int r = 0; r < row; ++r) {
    if (!walker.Next(nullptr, 0, &content, &line.nested)) return line;
  }
  line.exists = walker.Next(&line.text, capacity, &content, &line.nested);
  if (!line.exists) line.nested.reset();
  return line;
}

namespace {

// The marked text with each marker replaced by what `replace` gives for it
// (its width digit and code bytes).
std::string ReplaceMarkers(std::string_view marked, auto&& replace) {
  std::string out;
  out.reserve(marked.size());
  size_t i = 0;
  while (i < marked.size()) {
    if (marked[i] == kMarker && i + 3 < marked.size()) {
      out += replace(marked.substr(i + 1, 3));
      i += 4;
      continue;
    }
    const size_t n = SjisCharLength(marked, i);
    out.append(marked.substr(i, n));
    i += n;
  }
  return out;
}

}  // namespace

std::string CandidateDisplayText(std::string_view marked) {
  return ReplaceMarkers(marked, [](std::string_view m) {
    return std::string(m[0] == '1' ? "\x81\x51" : "_");
  });  // ＿
}

std::string CandidateQueryText(std::string_view marked) {
  return ReplaceMarkers(marked, [](std::string_view m) { return std::string(m.substr(1)); });
}

}  // namespace morva
