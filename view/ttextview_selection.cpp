// TTextView: hit testing, selection, word selection, links, copying and
// finding.
#include <QCoreApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <cctype>

#include "engine/book/tdisk.h"
#include "engine/text/sjis.h"
#include "engine/text/unicode.h"
#include "view/tmyscrollbox.h"
#include "view/ttextview.h"
#include "view/word_classes.h"

namespace morva {
namespace {

// The token of a line text that starts at k, with its bytes (cut at the end
// of the text).
struct LineToken {
  MarkedToken token;
  std::string_view bytes;
};

LineToken TokenAt(std::string_view text, size_t k) {
  MarkedTextCursor cursor(text.substr(k));
  const MarkedToken token = cursor.Next();
  return {token, cursor.Bytes()};
}

// Bytes of the token at k: a marker, an external character, a double-byte
// character or a single byte.
size_t TokenLength(std::string_view text, size_t k) { return TokenAt(text, k).bytes.size(); }

bool HexField(std::string_view s, size_t at, size_t n, uint32_t* value) {
  if (at + n > s.size()) return false;
  uint32_t v = 0;
  for (size_t i = at; i < at + n; ++i) {
    const char c = s[i];
    int d;
    if (c >= '0' && c <= '9') d = c - '0';
    else if (c >= 'A' && c <= 'F') d = c - 'A' + 10;
    else if (c >= 'a' && c <= 'f') d = c - 'a' + 10;
    else return false;
    v = v << 4 | static_cast<uint32_t>(d);
  }
  *value = v;
  return true;
}

uint8_t FoldCase(uint8_t b) { return b >= 'a' && b <= 'z' ? static_cast<uint8_t>(b - 32) : b; }

}  // namespace

// ---- Hit testing -----------------------------------------------------------

TTextView::Hit TTextView::HitTest(int x, int y, bool ctrl) {
  Hit hit;
  if (lineCount_ == 0) return hit;
  const FontSet& set = Fonts();
  const int h = LineHeight();
  const int top = TopLine();
  int targetX = std::max(0, x - set.cw / 2 - 4);
  int line;
  if (y < 0) line = top - 1;
  else if (y > (visible_ + 1) * h) line = top + visible_ + 1;
  else line = (pane_.verticalScrollBar()->value() + y) / h;
  if (line < 0) {
    line = 0;
    targetX = 0;
  } else if (line > lineCount_ - 1) {
    line = lineCount_ - 1;
    targetX = 9999;
  }

  const LineText lt = brows_.GetLine(line);
  const std::string_view text = lt.text;
  // The walk measures characters as the painter draws them.
  int walk = lt.indent * set.cw + 2;
  uint16_t a = lt.style;
  bool inLink = false;
  MarkedTextCursor cursor(text);
  size_t k = 0;
  for (MarkedToken t = cursor.Next(); t.kind != MarkedKind::kEnd;
       k = cursor.Offset(), t = cursor.Next()) {
    if (t.kind == MarkedKind::kEndOfWindow || t.kind == MarkedKind::kCarriageReturn) break;
    if (t.kind == MarkedKind::kAnchorStart) {
      inLink = true;
      a = ApplyStyle(a, t.kind, settings_.bold != 0);
      continue;
    }
    if (targetX <= walk) break;
    if (t.kind == MarkedKind::kMarker) inLink = false;
    a = ApplyStyle(a, t.kind, settings_.bold != 0);
    switch (t.kind) {
      case MarkedKind::kGaiji: walk += t.whole && t.fullWidth ? 2 * set.cw : set.cw; break;
      case MarkedKind::kHighlightEnd: walk += Advance(' ', 1, a); break;
      case MarkedKind::kText: walk += Advance(t.code, static_cast<int>(t.length), a); break;
      default: break;
    }
  }
  hit.at = {line, static_cast<int>(k)};
  hit.onLink = inLink && !ctrl;
  pane_.viewport()->setCursor(hit.onLink ? Qt::PointingHandCursor : Qt::IBeamCursor);
  return hit;
}

// ---- Mouse -----------------------------------------------------------------

void TTextView::MouseDown(int x, int y, bool ctrl) {
  if (doubleClicked_) {
    doubleClicked_ = false;
    return;
  }
  if (lineCount_ == 0) return;
  selecting_ = true;
  lastPointerY_ = y;
  const Hit hit = HitTest(x, y, ctrl);
  SetAnchor(hit.at);
  if (!hit.onLink) return;
  // The link's hidden marker follows its text: look for it, unless another
  // anchor starts first.
  for (int line = hit.at.line; line < lineCount_; ++line) {
    const std::string_view text = brows_.GetLine(line).text;
    size_t k = line == hit.at.line ? static_cast<size_t>(hit.at.pos) : 0;
    MarkedTextCursor cursor(text.substr(std::min(k, text.size())));
    for (MarkedToken t = cursor.Next(); t.kind != MarkedKind::kEnd; t = cursor.Next()) {
      if (t.kind == MarkedKind::kAnchorStart) return;
      if (t.kind == MarkedKind::kMarker) {
        selecting_ = false;
        const std::string marker(cursor.Bytes());
        // A sound marker is followed by the text to show in the status bar.
        if (t.markerKind == 'S')
          emit statusTextChanged(std::string(text.substr(k + cursor.Offset())));
        FollowMarker(marker);
        return;
      }
    }
  }
}

void TTextView::MouseMove(int x, int y, bool ctrl) {
  lastPointerY_ = y;
  const Hit hit = HitTest(x, y, ctrl);
  if (!selecting_) return;
  if (hit.at != selEnd_) {
    selEnd_ = hit.at;
    PaintLines(previousEnd_, selEnd_);
    previousEnd_ = selEnd_;
  }
  AutoScroll(x, y);
}

void TTextView::AutoScroll(int x, int y) {
  if (autoScrollPending_) return;
  QScrollBar* bar = pane_.verticalScrollBar();
  const int h = LineHeight();
  const int p = bar->value();
  const int height = pane_.viewport()->height();
  bool scrolled = false;
  if (y < 0 && p > 0) {
    bar->setValue(p - h);
    scrolled = true;
  } else if (y > height && p + h <= MaxScroll()) {
    bar->setValue(p + h);
    scrolled = true;
  }
  if (!scrolled) return;
  // Repeat while the pointer stays outside: wait a little (less the farther
  // out it is), then move again with the pointer's current height.
  const int outside = y < 0 ? -y : y - height;
  autoScrollPending_ = true;
  QTimer::singleShot(outside <= 2 * h ? 20 : 10, this, [this, x] {
    autoScrollPending_ = false;
    if (!selecting_) return;
    const QPointF local(x, lastPointerY_);
    QCoreApplication::postEvent(
        pane_.viewport(),
        new QMouseEvent(QEvent::MouseMove, local, pane_.viewport()->mapToGlobal(local),
                        Qt::NoButton, Qt::LeftButton, Qt::NoModifier));
  });
}

void TTextView::MouseUp(int x, int y) {
  (void)x;
  (void)y;
  selecting_ = false;
  const TextPos s = SelectionStart();
  const TextPos e = SelectionEnd();
  selStart_ = s;
  selEnd_ = e;
  OfferSelection();
}

void TTextView::DoubleClick() {
  SelectWordAtAnchor();
  doubleClicked_ = true;
  OfferSelection();
}

void TTextView::RightDown(int x, int y, QPoint globalPos) {
  if (lineCount_ == 0) return;
  if (!HasSelection()) {
    SetAnchor(HitTest(x, y, false).at);
    SelectWordAtAnchor();
    OfferSelection();
  }
  if (HasSelection()) emit contextMenuRequested(globalPos);
}

// ---- Selection ---------------------------------------------------------------

void TTextView::RepaintSelection() {
  if (HasSelection()) PaintLines(selStart_, selEnd_);
}

void TTextView::SetAnchor(TextPos at) {
  RepaintSelection();
  selStart_ = selEnd_ = previousEnd_ = at;
}

void TTextView::Select(TextPos start, TextPos end) {
  RepaintSelection();
  selStart_ = start;
  selEnd_ = previousEnd_ = end;
  RepaintSelection();
}

void TTextView::SelectAll() {
  if (lineCount_ == 0) return;
  const int last = lineCount_ - 1;
  const int length = static_cast<int>(brows_.GetLine(last).text.size());
  Select({0, 0}, {last, std::max(0, length - 1)});
}

TextPos TTextView::WordEnd(TextPos from) {
  const bool single = fontSet_ == 1;
  TextPos at = from;
  std::string_view text = brows_.GetLine(at.line).text;
  ClassedChar first = WordClassAt(text, static_cast<size_t>(at.pos), single);
  if (first.cls == kClassEnd) return at;
  WordClass word = first.cls;
  at.pos += first.bytes;
  // A line end is a word of its own: no word runs over it.
  if (TokenAt(text, static_cast<size_t>(from.pos)).token.kind == MarkedKind::kCarriageReturn)
    return at;
  bool second = true;
  for (;;) {
    ClassedChar next = WordClassAt(text, static_cast<size_t>(at.pos), single);
    if (next.cls == kClassEnd) {
      // A word runs on over the end of a wrapped line.
      if (at.line >= lineCount_ - 1) return at;
      ++at.line;
      at.pos = 0;
      text = brows_.GetLine(at.line).text;
      continue;
    }
    WordClass c = next.cls;
    if (second && word == kClassLongVowel && (c == kClassHiragana || c == kClassKatakana)) word = c;
    if (second && word == kClassOther) word = c;
    if (c == kClassLongVowel && (word == kClassHiragana || word == kClassKatakana)) c = word;
    second = false;
    if (c != word) return at;
    at.pos += next.bytes;
  }
}

void TTextView::SelectWordAtAnchor() {
  if (lineCount_ == 0) return;
  const TextPos anchor = selStart_;
  // A word that covers the anchor may have begun on an earlier line.
  int line = anchor.line;
  while (line > 0 && WordEnd({line, 0}) > anchor) --line;
  TextPos start{line, 0};
  for (;;) {
    const TextPos end = WordEnd(start);
    if (end <= start) return;
    if (end > anchor) {
      Select(start, end);
      return;
    }
    start = end;
    // A word that ended at the end of a line text goes on at the next line.
    if (start.pos >= static_cast<int>(brows_.GetLine(start.line).text.size())) {
      if (start.line >= lineCount_ - 1) return;
      start = {start.line + 1, 0};
    }
  }
}

// ---- Copying ------------------------------------------------------------------

template <typename Piece>
void TTextView::ForEachSelected(bool singleLine, Piece&& piece) {
  const TextPos end = SelectionEnd();
  TextPos at = SelectionStart();
  while (at < end && at.line < lineCount_) {
    const std::string_view text = brows_.GetLine(at.line).text;
    const size_t k = static_cast<size_t>(at.pos);
    if (k >= text.size()) {
      at = {at.line + 1, 0};
      continue;
    }
    const auto [t, bytes] = TokenAt(text, k);
    if (t.kind == MarkedKind::kCarriageReturn && singleLine) break;
    if (!piece(t, bytes)) break;
    const size_t n = bytes.size();
    at.pos += static_cast<int>(n);
  }
}

namespace {

// A Shift-JIS piece of a selected token: an external character as a low line
// of its width, a line end as CR LF; markers give nothing.
std::string_view SjisPiece(const MarkedToken& t, std::string_view bytes) {
  static const std::string_view wideUnderscore = "\x81\x51";  // ＿
  switch (t.kind) {
    case MarkedKind::kGaiji: return t.whole && t.fullWidth ? wideUnderscore : "_";
    case MarkedKind::kCarriageReturn: return "\r\n";
    case MarkedKind::kText: return bytes;
    default: return {};
  }
}

}  // namespace

std::string TTextView::SelectionText(bool singleLine, size_t maxBytes) {
  std::string out;
  ForEachSelected(singleLine, [&](const MarkedToken& t, std::string_view bytes) {
    const std::string_view piece = SjisPiece(t, bytes);
    if (out.size() + piece.size() > maxBytes) return false;
    out += piece;
    return true;
  });
  return out;
}

std::string TTextView::SelectionUtf8() {
  std::string out;
  std::string sjis;  // the Shift-JIS run not yet converted
  ForEachSelected(false, [&](const MarkedToken& t, std::string_view bytes) {
    const GaijiMapEntry* mapped = t.kind == MarkedKind::kGaiji && t.whole
                                      ? glyphs_.Mapped(shown_.subbook, t.fullWidth, t.code)
                                      : nullptr;
    if (mapped == nullptr) {
      sjis += SjisPiece(t, bytes);
      return true;
    }
    out += SjisToUtf8(sjis);
    sjis.clear();
    out += mapped->HasCharacter() ? mapped->utf8 : mapped->replacement;
    return true;
  });
  return out + SjisToUtf8(sjis);
}

void TTextView::OfferSelection() {
  // A click that selects nothing leaves the selection offered before.
  if (HasSelection() && clipboard_ != nullptr) clipboard_->SetSelectionText(SelectionUtf8());
}

void TTextView::CopySelection() {
  if (lineCount_ == 0) return;
  if (!HasSelection()) SelectAll();
  std::string text = SelectionUtf8();
  const bool severalLines = SelectionStart().line != SelectionEnd().line;
  if ((SelectionText(false).size() > 80 || severalLines) && !sourceNotice_.empty())
    text += "\r\n" + SjisToUtf8(sourceNotice_) + "\r\n";
  if (clipboard_ != nullptr) clipboard_->SetText(text);
  SetAnchor({0, 0});
}

// ---- Finding ----------------------------------------------------------------

bool TTextView::Find(std::string_view pattern, bool matchCase) {
  SetAnchor(SelectionEnd());
  if (lineCount_ == 0 || pattern.empty()) {
    Beep();
    return false;
  }
  // Compares the pattern with the text from `from`; link starts and hidden
  // markers are passed over, and the end of a line text goes on at the next.
  auto matchAt = [&](TextPos from, TextPos* after) {
    TextPos at = from;
    size_t i = 0;
    while (i < pattern.size()) {
      if (at.line >= lineCount_) return false;
      const std::string_view text = brows_.GetLine(at.line).text;
      const size_t k = static_cast<size_t>(at.pos);
      if (k >= text.size()) {
        at = {at.line + 1, 0};
        continue;
      }
      const uint8_t b = static_cast<uint8_t>(text[k]);
      if (b == markup::kAnchorStart || b == markup::kMarkerStart) {
        at.pos += static_cast<int>(TokenLength(text, k));
        continue;
      }
      const uint8_t want = static_cast<uint8_t>(pattern[i]);
      if (IsSjisLead(want)) {
        if (i + 1 >= pattern.size() || k + 1 >= text.size() || b != want ||
            text[k + 1] != pattern[i + 1])
          return false;
        i += 2;
        at.pos += 2;
        continue;
      }
      if (matchCase ? b != want : FoldCase(b) != FoldCase(want)) return false;
      // A single byte never matches half of a double-byte character.
      if (IsSjisLead(b)) return false;
      ++i;
      ++at.pos;
    }
    *after = at;
    return true;
  };

  TextPos start = SelectionEnd();
  while (start.line < lineCount_) {
    const std::string_view text = brows_.GetLine(start.line).text;
    const size_t k = static_cast<size_t>(start.pos);
    if (k >= text.size()) {
      start = {start.line + 1, 0};
      continue;
    }
    if (text[k] == markup::kEndOfWindow) break;
    TextPos after;
    if (matchAt(start, &after)) {
      Select(start, after);
      const int top = TopLine();
      if (start.line < top || start.line >= top + visible_ - 1)
        ScrollTo(std::max(0, start.line - visible_ / 2));
      return true;
    }
    start.pos += static_cast<int>(TokenLength(text, k));
  }
  SetAnchor({0, 0});
  Beep();
  return false;
}

// ---- Links ------------------------------------------------------------------

void TTextView::FollowMarker(std::string_view marker) {
  if (marker.size() < 3 || marker[0] != markup::kMarkerStart) return;
  switch (marker[2]) {  // the marker's kind letter
    case 'R': {
      uint32_t page = 0;
      uint32_t offset = 0;
      if (shown_.subbook < 0 || !HexField(marker, 3, 8, &page) || !HexField(marker, 11, 4, &offset))
        return;
      BookAddress target{static_cast<int32_t>(page),
                         offset == 0xFFFF ? -1 : static_cast<int32_t>(offset)};
      target = target.Normalised();
      if (target.page < 1) return;
      const int row = shown_.subbook;
      if (!Continuous()) windowSource_.content().FormatItem(row, target);
      Show(row, target.page, target.offset);
      break;
    }
    case 'G': emit imageLinkFollowed(std::string(marker)); break;
    case 'S': emit soundLinkFollowed(std::string(marker)); break;
    case 'D': Beep(); break;
    default: break;
  }
}

}  // namespace morva
