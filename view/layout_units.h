// Cuts marked text into layout units: the pieces that line layout never splits
// across lines (a character with the punctuation that may not begin a line
// after it, a word when word wrap is on, a no-break span, a control code), and
// measures them. Also keeps the style and indent that the control codes set,
// because the line table records them and the style chooses the measuring font.
#pragma once

#include <cstdint>

#include "engine/decode/marked_text.h"
#include "view/layout_metrics.h"
#include "view/marked_text_reader.h"

namespace morva {

struct LayoutOptions {
  bool wordWrap = false;  // setting WordWrap: ASCII words move to the next line whole
  int bold = 0;           // setting Bold: 1 or more makes headwords bold
};

struct LayoutUnit {
  enum Kind { kEnd, kBreak, kText };
  Kind kind = kEnd;
  uint32_t start = 0;  // file offset of the unit's first byte
  int width = 0;       // pixels
  uint8_t style = 0;   // style in force before the unit's first byte
};

// Zero width for control codes that only switch state.
class UnitScanner {
 public:
  UnitScanner(MarkedTextReader& reader, const LayoutMetrics& metrics, LayoutOptions options)
      : reader_(reader), metrics_(metrics), options_(options) {}

  LayoutUnit Next();

  uint8_t style() const { return style_; }
  // Indent in half-width columns for lines begun from here on.
  int indent() const { return indent_; }

 private:
  enum class TokenKind { kEnd, kBreak, kSpanStart, kDoubleByte, kAscii, kOther };
  // Reads one character or one control code with its parameter bytes, applies
  // its effect on style and indent, and adds its width to *width.
  TokenKind Token(int* width);
  int Measure(uint16_t code, int bytes) const;
  // Reads one token whole (its bytes up to the end of the text).
  MarkedToken Take();
  // Follows a character with the characters that may not begin a line.
  void TakeDoubleByteFollowers(int* width);
  void TakeSingleByteFollowers(int* width);

  MarkedTextReader& reader_;
  const LayoutMetrics& metrics_;
  LayoutOptions options_;
  uint8_t style_ = kStylePlain;
  int indent_ = 0;
};

// Characters that may not begin a line: "」）、。・ャュョー：；．，" after a
// double-byte character, space ) , . ; ﾞ ﾟ ｬ ｭ ｮ ｰ after anything else.
bool IsDoubleByteLineStartProhibited(uint16_t code);
bool IsSingleByteLineStartProhibited(uint8_t b);

}  // namespace morva
