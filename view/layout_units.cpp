#include "view/layout_units.h"

#include <algorithm>

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
    default:
      return false;
  }
}

bool IsSingleByteLineStartProhibited(uint8_t b) {
  switch (b) {
    case 0x20: case 0x29: case 0x2C: case 0x2E: case 0x3B:
    case 0xDE: case 0xDF: case 0xAC: case 0xAD: case 0xAE: case 0xB0:
      return true;
    default:
      return false;
  }
}

int UnitScanner::Measure(uint16_t code, int bytes) const {
  if (metrics_.FixedPitch()) return metrics_.CharWidth() * bytes;
  MeasureFont font = style_ == kStyleItalic         ? MeasureFont::kItalic
                     : (style_ & kStyleBold) != 0 ? MeasureFont::kBold
                                                  : MeasureFont::kNormal;
  return metrics_.CharacterWidth(code, font);
}

void UnitScanner::SkipMarker() {
  // 02 L: L - 32 bytes follow the 02, L itself included. A damaged length
  // byte below 0x21 leaves the 02 standing alone.
  uint8_t length = reader_.Peek();
  if (length < 0x21) return;
  for (int i = length - 32; i > 0; --i) reader_.Next();
}

UnitScanner::TokenKind UnitScanner::Token(int* width) {
  uint8_t b = reader_.Next();
  switch (b) {
    case 0x00:
      return TokenKind::kEnd;
    case 0x0D:
    case 0x0A:  // a bare line feed breaks the line too
      if (b == 0x0D && reader_.Peek() == 0x0A) reader_.Next();
      if (reader_.Peek() == 0x02) {
        reader_.Next();
        SkipMarker();
      }
      style_ = kStylePlain;
      return TokenKind::kBreak;
    case 0x01:
      style_ = kStyleLink;
      return TokenKind::kOther;
    case 0x02:
      SkipMarker();
      // The anchor ends with its marker; what follows is plain text again.
      style_ = kStylePlain;
      return TokenKind::kOther;
    case 0x03:
      style_ = options_.bold >= 1 ? kStyleHeadingBold : kStyleHeading;
      return TokenKind::kOther;
    case 0x04:
      style_ = kStylePlain;
      return TokenKind::kOther;
    case 0x09: {
      uint8_t p = reader_.Next();
      if (p != 0) indent_ = std::clamp((p - 32) * 2, 0, 254);
      return TokenKind::kOther;
    }
    case 0x0B: {
      uint8_t kind = reader_.Next();
      reader_.Next();
      reader_.Next();
      *width += metrics_.CharWidth() * (kind == '0' ? 1 : 2);
      return TokenKind::kOther;
    }
    case 0x0C:
      style_ = kStyleBold;
      return TokenKind::kOther;
    case 0x0E:
      return TokenKind::kSpanStart;
    case 0x10:
      style_ = kStyleItalic;
      return TokenKind::kOther;
    case 0x11:
      *width += Measure(' ', 1);
      return TokenKind::kOther;
    default:
      break;
  }
  // Other control codes (0F, superscript and subscript codes …) are invisible.
  if (b < 0x20) return TokenKind::kOther;
  if (IsSjisLead(b) && reader_.Peek() != 0) {
    uint16_t code = static_cast<uint16_t>(b << 8 | reader_.Next());
    *width += Measure(code, 2);
    return TokenKind::kDoubleByte;
  }
  *width += Measure(b, 1);
  return b >= 0x21 && b <= 0x7F ? TokenKind::kAscii : TokenKind::kOther;
}

void UnitScanner::TakeDoubleByteFollowers(int* width) {
  while (IsSjisLead(reader_.Peek(0)) &&
         IsDoubleByteLineStartProhibited(static_cast<uint16_t>(reader_.Peek(0) << 8 | reader_.Peek(1))))
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
    case TokenKind::kEnd:
      unit.kind = LayoutUnit::kEnd;
      return unit;
    case TokenKind::kBreak:
      unit.kind = LayoutUnit::kBreak;
      return unit;
    case TokenKind::kSpanStart:
      // Up to the closing 0F; a line break ends a span left open.
      for (;;) {
        uint8_t b = reader_.Peek();
        if (b == 0 || b == 0x0D || b == 0x0A) break;
        Token(&width);
        if (b == 0x0F) break;
      }
      break;
    case TokenKind::kDoubleByte:
      TakeDoubleByteFollowers(&width);
      break;
    case TokenKind::kAscii:
      if (options_.wordWrap) {
        while (reader_.Peek() >= 0x21 && reader_.Peek() <= 0x7F) Token(&width);
        while (reader_.Peek() == 0x20) Token(&width);
      } else {
        TakeSingleByteFollowers(&width);
      }
      break;
    case TokenKind::kOther:
      TakeSingleByteFollowers(&width);
      break;
  }
  unit.kind = LayoutUnit::kText;
  unit.width = width;
  return unit;
}

}  // namespace morva
