#include "engine/decode/marked_text.h"

#include <algorithm>
#include <array>

#include "engine/text/sjis.h"

namespace morva {

namespace {

constexpr std::array<MarkedKind, 0x20> BuildControlKinds() {
  std::array<MarkedKind, 0x20> kinds{};
  for (auto& kind : kinds) kind = MarkedKind::kOtherControl;
  kinds[markup::kAnchorStart] = MarkedKind::kAnchorStart;
  kinds[markup::kMarkerStart] = MarkedKind::kMarker;
  kinds[markup::kHeadwordStart] = MarkedKind::kHeadwordStart;
  kinds[markup::kHeadwordEnd] = MarkedKind::kHeadwordEnd;
  kinds[markup::kIndent] = MarkedKind::kIndent;
  kinds[markup::kNewLine] = MarkedKind::kNewLine;
  kinds[markup::kGaiji] = MarkedKind::kGaiji;
  kinds[markup::kHighlight3] = MarkedKind::kHighlight3;
  kinds[markup::kCarriageReturn] = MarkedKind::kCarriageReturn;
  kinds[markup::kNoBreakStart] = MarkedKind::kNoBreakStart;
  kinds[markup::kNoBreakEnd] = MarkedKind::kNoBreakEnd;
  kinds[markup::kHighlightStart] = MarkedKind::kHighlightStart;
  kinds[markup::kHighlightEnd] = MarkedKind::kHighlightEnd;
  kinds[markup::kSuperscript] = MarkedKind::kSuperscript;
  kinds[markup::kScriptEnd] = MarkedKind::kScriptEnd;
  kinds[markup::kSubscript] = MarkedKind::kSubscript;
  kinds[markup::kEndOfWindow] = MarkedKind::kEndOfWindow;
  return kinds;
}
constexpr std::array<MarkedKind, 0x20> kControlKinds = BuildControlKinds();

// Bytes a text character takes by its first byte: 0 for a control byte, 2
// for a Shift-JIS lead byte, 1 otherwise.
constexpr std::array<uint8_t, 256> BuildTextSteps() {
  std::array<uint8_t, 256> steps{};
  for (int b = 0x20; b < 0x100; ++b) {
    const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    steps[static_cast<size_t>(b)] = lead ? 2 : 1;
  }
  return steps;
}
constexpr std::array<uint8_t, 256> kTextSteps = BuildTextSteps();

}  // namespace

MarkedToken ClassifyMarked(const uint8_t* p, size_t available) {
  MarkedToken token;
  const uint8_t b = p[0];
  if (b >= 0x20) {
    token.kind = MarkedKind::kText;
    // A lead byte takes the next byte whatever it is; at the end it stands alone.
    if (IsSjisLead(b) && available >= 2) {
      token.length = 2;
      token.code = static_cast<uint16_t>(b << 8 | p[1]);
    } else {
      token.length = 1;
      token.code = b;
    }
    token.whole = true;
    return token;
  }
  token.kind = kControlKinds[b];
  token.length = 1;
  switch (token.kind) {
    case MarkedKind::kMarker:
      // A length byte below 0x21 is damage: the 02 then stands alone.
      if (available >= 2 && p[1] > markup::kLengthBias) {
        token.length = static_cast<size_t>(p[1] - markup::kLengthBias) + 1;
        if (available >= 3 && token.length >= 3) token.markerKind = static_cast<char>(p[2]);
      }
      break;
    case MarkedKind::kIndent:
      token.length = 2;
      if (available >= 2) token.level = p[1] - markup::kIndentBias;
      break;
    case MarkedKind::kGaiji:
      token.length = markup::kGaijiMarkerSize;
      token.fullWidth = available >= 2 && p[1] != '0';
      if (available >= markup::kGaijiMarkerSize)
        token.code = static_cast<uint16_t>(p[2] << 8 | p[3]);
      break;
    default: break;
  }
  token.whole = available >= token.length;
  return token;
}

MarkedToken MarkedTextCursor::Next() {
  tokenOffset_ = offset_;
  if (offset_ >= text_.size()) return {};
  const auto* p = reinterpret_cast<const uint8_t*>(text_.data());
  const size_t end = text_.size();
  if (runs_ && kTextSteps[p[offset_]] != 0) {
    // Plain characters up to the next control byte; pairs stay whole (a
    // lead byte at the very end stands alone).
    while (offset_ < end && kTextSteps[p[offset_]] != 0) offset_ += kTextSteps[p[offset_]];
    offset_ = std::min(offset_, end);
    MarkedToken token;
    token.kind = MarkedKind::kText;
    token.length = offset_ - tokenOffset_;
    token.whole = true;
    return token;
  }
  MarkedToken token = ClassifyMarked(p + offset_, end - offset_);
  offset_ = std::min(end, offset_ + token.length);
  token.whole = offset_ - tokenOffset_ == token.length;
  return token;
}

uint16_t ApplyStyle(uint16_t style, MarkedKind kind, bool boldHeadings) {
  switch (kind) {
    case MarkedKind::kAnchorStart: return kStyleLink;
    case MarkedKind::kMarker: return kStylePlain;  // the anchor ends with its marker
    case MarkedKind::kHeadwordStart: return boldHeadings ? kStyleHeadingBold : kStyleHeading;
    case MarkedKind::kHeadwordEnd: return kStylePlain;
    case MarkedKind::kHighlight3: return kStyleBold;
    case MarkedKind::kHighlightStart: return kStyleItalic;
    case MarkedKind::kSuperscript: return static_cast<uint16_t>(style | kStyleSuperscript);
    case MarkedKind::kSubscript: return static_cast<uint16_t>(style | kStyleSubscript);
    case MarkedKind::kScriptEnd:
      return static_cast<uint16_t>(style & ~(kStyleSuperscript | kStyleSubscript));
    default: return style;
  }
}

}  // namespace morva
