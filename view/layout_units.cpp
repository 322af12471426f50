#include "view/layout_units.h"

#include <algorithm>

#include "engine/decode/marked_text.h"
#include "engine/text/sjis.h"

namespace morva {

bool IsDoubleByteLineStartProhibited(uint16_t code) {
  switch (code) {
    case 0x8176:  // 」
    case 0x816A:  // ）
    case 0x8141:  // 、
    case 0x8142:  // 。
    case 0x8145:  // ・
    case 0x8383:  // ャ
    case 0x8385:  // ュ
    case 0x8387:  // ョ
    case 0x815B:  // ー
    case 0x8146:  // ：
    case 0x8147:  // ；
    case 0x8144:  // ．
    case 0x8143:  // ，
      return true;
    default: return false;
  }
}

bool IsSingleByteLineStartProhibited(uint8_t b) {
  switch (b) {
    case 0x20:
    case 0x29:
    case 0x2C:
    case 0x2E:
    case 0x3B:
    case 0xDE:
    case 0xDF:
    case 0xAC:
    case 0xAD:
    case 0xAE:
    case 0xB0: return true;
    default: return false;
  }
}

int UnitScanner::Measure(uint16_t code, int bytes) const {
  if (metrics_.FixedPitch()) return metrics_.CharWidth() * bytes;
  MeasureFont font = style_ == kStyleItalic       ? MeasureFont::kItalic
                     : (style_ & kStyleBold) != 0 ? MeasureFont::kBold
                                                  : MeasureFont::kNormal;
  return metrics_.CharacterWidth(code, font);
}

MarkedToken UnitScanner::Take() {
  uint8_t bytes[markup::kGaijiMarkerSize];
  size_t available = 0;
  while (available < sizeof bytes && (bytes[available] = reader_.Peek(available)) != 0) ++available;
  if (available == 0) return {};
  const MarkedToken token = ClassifyMarked(bytes, available);
  // Next stops at the end of the text, so a token cut off there ends it.
  for (size_t i = 0; i < token.length; ++i) reader_.Next();
  return token;
}

UnitScanner::TokenKind UnitScanner::Token(int* width) {
  // Characters, by far the most tokens, are taken here at once; the codes
  // below 0x20 go through the marked-text classifier.
  if (const uint8_t b = reader_.Peek(); b >= 0x20) {
    reader_.Next();
    if (IsSjisLead(b) && reader_.Peek() != 0) {
      const uint16_t code = static_cast<uint16_t>(b << 8 | reader_.Next());
      *width += Measure(code, 2);
      return TokenKind::kDoubleByte;
    }
    *width += Measure(b, 1);
    return b <= 0x7F ? TokenKind::kAscii : TokenKind::kOther;
  }
  const MarkedToken t = Take();
  style_ = static_cast<uint8_t>(ApplyStyle(style_, t.kind, options_.bold >= 1));
  switch (t.kind) {
    case MarkedKind::kEnd: return TokenKind::kEnd;
    case MarkedKind::kCarriageReturn:
    case MarkedKind::kNewLine:  // a bare line feed breaks the line too
      if (t.kind == MarkedKind::kCarriageReturn && reader_.Peek() == markup::kNewLine)
        reader_.Next();
      if (reader_.Peek() == markup::kMarkerStart) Take();
      style_ = kStylePlain;
      return TokenKind::kBreak;
    case MarkedKind::kIndent:
      if (t.whole) indent_ = std::clamp(t.level * 2, 0, 254);
      return TokenKind::kOther;
    case MarkedKind::kGaiji:
      *width += metrics_.CharWidth() * (t.fullWidth ? 2 : 1);
      return TokenKind::kOther;
    case MarkedKind::kNoBreakStart: return TokenKind::kSpanStart;
    case MarkedKind::kHighlightEnd: *width += Measure(' ', 1); return TokenKind::kOther;
    case MarkedKind::kText:
      *width += Measure(t.code, static_cast<int>(t.length));
      if (t.length == 2) return TokenKind::kDoubleByte;
      return t.code >= 0x21 && t.code <= 0x7F ? TokenKind::kAscii : TokenKind::kOther;
    default:
      // Other codes (0F, superscript and subscript codes …) are invisible.
      return TokenKind::kOther;
  }
}

void UnitScanner::TakeDoubleByteFollowers(int* width) {
  while (IsSjisLead(reader_.Peek(0)) && IsDoubleByteLineStartProhibited(static_cast<uint16_t>(
                                            reader_.Peek(0) << 8 | reader_.Peek(1))))
    Token(width);
}

void UnitScanner::TakeSingleByteFollowers(int* width) {
  while (IsSingleByteLineStartProhibited(reader_.Peek(0))) Token(width);
}

LayoutUnit UnitScanner::Next() {
  LayoutUnit unit;
  unit.start = reader_.Offset();
  unit.style = style_;
  int width = 0;
  switch (Token(&width)) {
    case TokenKind::kEnd: unit.kind = LayoutUnit::kEnd; return unit;
    case TokenKind::kBreak: unit.kind = LayoutUnit::kBreak; return unit;
    case TokenKind::kSpanStart:
      // Up to the closing 0F; a line break ends a span left open.
      for (;;) {
        uint8_t b = reader_.Peek();
        if (b == 0 || b == markup::kCarriageReturn || b == markup::kNewLine) break;
        Token(&width);
        if (b == markup::kNoBreakEnd) break;
      }
      break;
    case TokenKind::kDoubleByte: TakeDoubleByteFollowers(&width); break;
    case TokenKind::kAscii:
      if (options_.wordWrap) {
        while (reader_.Peek() >= 0x21 && reader_.Peek() <= 0x7F) Token(&width);
        while (reader_.Peek() == 0x20) Token(&width);
      } else {
        TakeSingleByteFollowers(&width);
      }
      break;
    case TokenKind::kOther: TakeSingleByteFollowers(&width); break;
  }
  unit.kind = LayoutUnit::kText;
  unit.width = width;
  return unit;
}

}  // namespace morva
