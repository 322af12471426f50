// Marked text: the formatter's output, Shift-JIS text with in-band control
// codes for styles, links, external characters and pictures. This header
// names the codes (the formatter writes them by these names) and gives the
// one way to read them back: MarkedTextCursor cuts a text into tokens, and
// ApplyStyle keeps the display style that the codes switch. docs/formats.md
// describes the codes and their arguments.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace morva {

namespace markup {

// Control bytes of marked text. Every byte below 0x20 is a code; everything
// else is Shift-JIS text.
inline constexpr char kAnchorStart = 0x01;    // link or caption text begins
inline constexpr char kMarkerStart = 0x02;    // hidden marker: 02 L kind fields (ends an anchor)
inline constexpr char kHeadwordStart = 0x03;  // heading style
inline constexpr char kHeadwordEnd = 0x04;    // plain style again
inline constexpr char kIndent = 0x09;         // 09 level+0x20
inline constexpr char kNewLine = 0x0A;
inline constexpr char kGaiji = 0x0B;           // 0B width ('1' full, '0' half) high low
inline constexpr char kHighlight3 = 0x0C;      // bold style
inline constexpr char kCarriageReturn = 0x0D;  // the marked-text file stores a line feed as 0D 0A
inline constexpr char kNoBreakStart = 0x0E;
inline constexpr char kNoBreakEnd = 0x0F;
inline constexpr char kHighlightStart = 0x10;  // italic style
inline constexpr char kHighlightEnd = 0x11;    // drawn as a space
inline constexpr char kSuperscript = 0x13;
inline constexpr char kScriptEnd = 0x14;
inline constexpr char kSubscript = 0x15;
inline constexpr char kEndOfWindow = 0x1A;  // the view's end of a loaded window

// A marker's length byte is the count of bytes after the 02 plus this bias,
// which keeps the byte printable.
inline constexpr int kLengthBias = 0x20;
// An indent byte is the level plus this bias.
inline constexpr int kIndentBias = 0x20;

// Bytes an external-character marker takes, its code included.
inline constexpr size_t kGaijiMarkerSize = 4;

}  // namespace markup

// Display styles that the codes switch (low byte: the style class and the
// bold/italic flags the line table records; high byte: the script flags).
inline constexpr uint16_t kStylePlain = 0x00;
inline constexpr uint16_t kStyleSpecial = 0x01;  // line-end and end-of-text marks
inline constexpr uint16_t kStyleLink = 0x02;
inline constexpr uint16_t kStyleHeading = 0x03;
inline constexpr uint16_t kStyleHeadingBold = 0x43;
inline constexpr uint16_t kStyleBold = 0x40;
inline constexpr uint16_t kStyleItalic = 0x80;
inline constexpr uint16_t kStyleSuperscript = 0x100;
inline constexpr uint16_t kStyleSubscript = 0x200;

enum class MarkedKind : uint8_t {
  kEnd,   // no bytes left
  kText,  // one character (or, in run mode, a run of them)
  kAnchorStart,
  kMarker,  // 02 L kind fields; a damaged length leaves the 02 alone
  kHeadwordStart,
  kHeadwordEnd,
  kIndent,
  kNewLine,
  kGaiji,
  kHighlight3,
  kCarriageReturn,
  kNoBreakStart,
  kNoBreakEnd,
  kHighlightStart,
  kHighlightEnd,
  kSuperscript,
  kScriptEnd,
  kSubscript,
  kEndOfWindow,
  kOtherControl,  // a control byte with no meaning; shows nothing
};

struct MarkedToken {
  MarkedKind kind = MarkedKind::kEnd;
  // Bytes the token takes when whole; more than `available` when the text
  // is cut inside it.
  size_t length = 0;
  // All `length` bytes were there.
  bool whole = false;
  // kText: the character (one byte, or lead << 8 | trail; 0 for a run);
  // kGaiji: its code.
  uint16_t code = 0;
  // kGaiji: drawn from the full-width font (the width byte is there and not '0').
  bool fullWidth = false;
  // kIndent: the level in half-width steps (0 when the level byte is cut off).
  int level = 0;
  // kMarker: the kind letter ('R' reference, 'G' picture, 'S' sound, 'D'
  // no target), 0 when cut off.
  char markerKind = 0;
};

// The token whose first byte is p[0]; available (>= 1) bytes may be read.
// Looks at no more than four bytes, so a reader with a short look-ahead can
// use it and skip `length` bytes after.
MarkedToken ClassifyMarked(const uint8_t* p, size_t available);

// Walks marked text token by token. Never reads past the text: a token cut
// off at its end is returned with what is there (not whole, and Bytes()
// shorter than token.length) and the walk ends after it.
class MarkedTextCursor {
 public:
  enum class Text { kCharacters, kRuns };

  explicit MarkedTextCursor(std::string_view text, Text mode = Text::kCharacters)
      : text_(text), runs_(mode == Text::kRuns) {}

  // The next token; kind kEnd when the text is used up.
  MarkedToken Next();

  // Offset and bytes of the token Next returned last.
  size_t TokenOffset() const { return tokenOffset_; }
  std::string_view Bytes() const { return text_.substr(tokenOffset_, offset_ - tokenOffset_); }
  // Marker fields: the bytes after the kind letter.
  std::string_view MarkerFields() const {
    const std::string_view bytes = Bytes();
    return bytes.size() > 3 ? bytes.substr(3) : std::string_view();
  }
  // Offset of the next token.
  size_t Offset() const { return offset_; }
  bool AtEnd() const { return offset_ >= text_.size(); }

 private:
  std::string_view text_;
  bool runs_;
  size_t offset_ = 0;
  size_t tokenOffset_ = 0;
};

// The style after a token, from the style before it; boldHeadings makes
// headword text bold. Tokens that change no style return it unchanged (line
// ends are left to the reader: the layout starts a new line plain, the
// painter draws its mark).
uint16_t ApplyStyle(uint16_t style, MarkedKind kind, bool boldHeadings);

}  // namespace morva
