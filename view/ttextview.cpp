// TTextView: showing, scrolling and painting. Selection, hit testing and
// links are in ttextview_selection.cpp.
#include "view/ttextview.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "engine/book/tdisk.h"
#include "engine/decode/gaiji.h"
#include "engine/text/sjis.h"
#include "engine/text/unicode.h"
#include "view/qt_conversions.h"
#include "view/tmyscrollbox.h"

namespace morva {
namespace {

// Text left of the first column, as the painter leaves it.
constexpr int kLeftMargin = 4;

}  // namespace

TTextView::TTextView(TDisk& disk, TMyScrollBox& pane, const DisplayFonts& fonts,
                     ViewSettings settings, QObject* parent)
    : QObject(parent),
      disk_(disk),
      pane_(pane),
      fonts_(fonts),
      settings_(std::move(settings)),
      windowSource_(disk),
      brows_(disk.reporter(), disk.MarkedTextPath()) {
  brows_.SetWindowSource(&windowSource_);
  connect(&pane_, &TMyScrollBox::painted, this,
          [this](QPainter& painter, const QRect& rect) { Paint(painter, rect); });
  connect(&pane_, &TMyScrollBox::paneKeyPressed, this, [this](int key) { Key(key); });
  connect(&pane_, &TMyScrollBox::resized, this, [this] { Resize(); });
  connect(&pane_, &TMyScrollBox::scrolled, this, [this] { ScrollMoved(); });
  connect(&pane_, &TMyScrollBox::mousePressed, this, [this](QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    if (e->button() == Qt::LeftButton)
      MouseDown(p.x(), p.y(), (e->modifiers() & Qt::ControlModifier) != 0);
    else if (e->button() == Qt::RightButton) RightDown(p.x(), p.y(), e->globalPosition().toPoint());
  });
  connect(&pane_, &TMyScrollBox::mouseMoved, this, [this](QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    MouseMove(p.x(), p.y(), (e->modifiers() & Qt::ControlModifier) != 0);
  });
  connect(&pane_, &TMyScrollBox::mouseReleased, this, [this](QMouseEvent* e) {
    const QPoint p = e->position().toPoint();
    if (e->button() == Qt::LeftButton) MouseUp(p.x(), p.y());
  });
  connect(&pane_, &TMyScrollBox::doubleClicked, this, [this](QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) DoubleClick();
  });
  Clear();
}

TTextView::~TTextView() {
  // Nothing of the pane may reach the view while its members go.
  pane_.disconnect(this);
}

void TTextView::SetSettings(const ViewSettings& settings) {
  settings_ = settings;
  glyphs_.Forget();
  columns_ = 0;
  if (shown_.subbook >= 0 && lineCount_ > 0) {
    shown_.topLine = TopLine();
    LayOutAndShow();
  } else {
    pane_.viewport()->update();
  }
}

void TTextView::Beep() {
  if (onBeep) onBeep();
  else QApplication::beep();
}

void TTextView::UpdateBackButton() { emit backEnabledChanged(!history_.Empty()); }

// ---- Showing ---------------------------------------------------------------

void TTextView::Clear() {
  shown_.subbook = -1;
  // Nothing of the old entry may stay behind: copying, finding and the
  // editor act on the lines and the selection, and the scroll bar on the
  // line count.
  brows_.Release();
  lineCount_ = 0;
  selStart_ = selEnd_ = previousEnd_ = {};
  selecting_ = false;
  glyphs_.Forget();
  pane_.verticalScrollBar()->setRange(0, 0);
  emit backEnabledChanged(false);
  pane_.viewport()->update();
}

int TTextView::TopLine() const {
  return pane_.verticalScrollBar()->value() / std::max(1, LineHeight());
}

void TTextView::Show(int subbook, int32_t page, int32_t offset) {
  if (isBusy && isBusy()) return;
  const bool back = subbook == 0 && page == -1;
  // Going back with nothing to go back to leaves the entry on screen.
  if (back && history_.Empty()) {
    Beep();
    return;
  }
  const int top = TopLine();
  brows_.Release();
  lineCount_ = 0;
  selStart_ = selEnd_ = previousEnd_ = {};
  selecting_ = false;
  glyphs_.Forget();
  pane_.viewport()->update();

  if (back) {
    const HistoryEntry entry = *history_.Pop();
    shown_ = {entry.subbook, entry.page, entry.offset, entry.topLine};
    if (!Continuous())
      windowSource_.content().FormatItem(shown_.subbook, {shown_.page, shown_.offset});
  } else if (subbook < 0) {
    shown_.subbook = -1;
    return;
  } else {
    if (shown_.subbook >= 0 && shown_.page >= 1)
      history_.Push({shown_.subbook, shown_.page, shown_.offset, top});
    shown_ = {subbook, page, offset, 0};
  }
  UpdateBackButton();
  LayOutAndShow();
}

int TTextView::ComputeColumns() const {
  return std::max(1, (pane_.viewport()->width() - 12) / std::max(1, Fonts().cw));
}

int TTextView::ComputeVisible() const {
  return pane_.viewport()->height() / std::max(1, LineHeight());
}

int TTextView::MaxScroll() const {
  // The bottom-most position shows the last lines whole: it is a whole number
  // of lines, like every position.
  return std::max(0, lineCount_ - visible_) * LineHeight();
}

void TTextView::UpdateScrollRange() {
  QScrollBar* bar = pane_.verticalScrollBar();
  bar->setSingleStep(LineHeight());
  bar->setPageStep(std::max(1, pane_.viewport()->height()));
  bar->setRange(0, MaxScroll());
}

void TTextView::LayOutAndShow() {
  if (shown_.subbook < 0) return;
  // The book decides the font set, the title colour and the source notice.
  if (disk_.CurrentSubbook() != shown_.subbook) disk_.SelectSubbook(shown_.subbook);
  fontSet_ = disk_.SingleByteBook() ? 1 : 0;
  titleColor_ = disk_.info().titleColor;
  sourceNotice_ = disk_.info().source;
  // Lines as wide as the pane is now: it may have been resized while it
  // showed nothing, and the other font set may have another character width.
  columns_ = ComputeColumns();

  brows_.SetMetrics(Fonts().metrics.get());
  brows_.SetOptions({settings_.wordWrap, settings_.bold});
  target_ = brows_.Set(ContinuousNow(), columns_, shown_.subbook, shown_.page, shown_.offset);
  lineCount_ = brows_.LineCount();
  visible_ = ComputeVisible();
  UpdateScrollRange();
  repaintAll_ = true;
  pane_.viewport()->update();
  pane_.verticalScrollBar()->setValue(shown_.topLine * LineHeight());
  lastScrollPos_ = pane_.verticalScrollBar()->value();
}

void TTextView::Resize() {
  if (shown_.subbook < 0) {
    visible_ = ComputeVisible();
    return;
  }
  const int columns = ComputeColumns();
  if (columns == columns_) {
    visible_ = ComputeVisible();
    UpdateScrollRange();
    pane_.viewport()->update();
    return;
  }
  columns_ = columns;
  if (lineCount_ > 0) {
    shown_.topLine = TopLine();
    LayOutAndShow();
  }
}

// ---- Scrolling ---------------------------------------------------------------

void TTextView::ScrollTo(int top) {
  if (top >= 0) pane_.verticalScrollBar()->setValue(top * LineHeight());
}

void TTextView::ScrollMoved() {
  QScrollBar* bar = pane_.verticalScrollBar();
  const int h = std::max(1, LineHeight());
  const int p = bar->value();
  if (p % h != 0) {
    // Only whole lines are ever shown: snap, which scrolls again.
    const int down = p / h * h + h;
    bar->setValue(down <= bar->maximum() ? down : p / h * h);
    return;
  }
  const int delta = lastScrollPos_ - p;
  lastScrollPos_ = p;
  if (delta != 0) pane_.viewport()->scroll(0, delta);
}

void TTextView::TakeNewStretch() {
  lineCount_ = brows_.LineCount();
  const BookAddress start = brows_.Start();
  shown_.page = start.page;
  shown_.offset = start.offset;
  // Line numbers now count in another text.
  selStart_ = selEnd_ = previousEnd_ = {};
  UpdateScrollRange();
  repaintAll_ = true;
  pane_.viewport()->update();
}

void TTextView::Key(int key) {
  if (shown_.subbook < 0 || lineCount_ == 0) return;
  const int h = LineHeight();
  const int p = pane_.verticalScrollBar()->value();
  const int t = p / h;
  const int v = visible_;
  // Loads the stretch before (-1) or after (+1) the one shown; the new target
  // line, or -1 when none could be formatted (the table is renewed anyway,
  // since the file may have changed).
  auto load = [this](int direction) {
    const int target = direction < 0 ? brows_.SetPrevious() : brows_.SetNext();
    if (target >= 0) target_ = target;
    TakeNewStretch();
    return target;
  };
  int top = -1;
  switch (key) {
    case Qt::Key_PageUp:
      top = t - (v - 1);
      if (top < 0) {
        top = 0;
        if (ContinuousNow()) {
          const int target = load(-1);
          if (target >= 0) top = t + target - v;
        }
      }
      break;
    case Qt::Key_PageDown: {
      const int n = t + v - 1;
      top = n;
      if (ContinuousNow() && (v - 1) * h * 2 + p > lineCount_ * h && target_ <= n) {
        const int oldTarget = target_;
        if (load(+1) >= 0) top = n - oldTarget + 1;
      }
      break;
    }
    case Qt::Key_Up:
      if (p >= 1) {
        top = t - 1;
      } else if (ContinuousNow()) {
        const int target = load(-1);
        if (target >= 0) top = target - 2;
      }
      break;
    case Qt::Key_Down:
      if (ContinuousNow() ? lineCount_ * h >= (v + 2) * h + p : p + h <= MaxScroll()) {
        top = t + 1;
      } else if (ContinuousNow()) {
        const int oldTarget = target_;
        if (load(+1) >= 0) top = std::max(0, t - oldTarget + 2);
      }
      break;
    default: return;
  }
  ScrollTo(top);
}

// ---- Painting ----------------------------------------------------------------

void TTextView::PaintLines(TextPos from, TextPos to) {
  if (lineCount_ == 0) return;
  const int first = std::min(from.line, to.line);
  const int last = std::max(from.line, to.line);
  const int top = TopLine();
  const int h = LineHeight();
  const int a = std::max(first, top);
  const int b = std::min(last, top + visible_ + 1);
  if (a > b) return;
  pane_.viewport()->update(QRect(0, (a - top) * h, pane_.viewport()->width(), (b - a + 1) * h));
}

void TTextView::Paint(QPainter& painter, const QRect& rect) {
  painter.fillRect(rect, QColorFromStored(settings_.backColor));
  if ((isBusy && isBusy()) || shown_.subbook < 0 || lineCount_ == 0) return;
  const int h = std::max(1, LineHeight());
  const int p = pane_.verticalScrollBar()->value();
  if (p % h != 0) {
    // Snapping scrolls, which paints again.
    ScrollMoved();
    pane_.viewport()->update();
    return;
  }
  const int top = p / h;
  // Only the rows asked for: after a scroll by one line that is the one or
  // two rows that came into view; everything else was moved on screen.
  int firstRow = std::max(0, rect.top() / h);
  int lastRow = std::min(visible_ + 1, rect.bottom() / h);
  if (repaintAll_) {
    firstRow = 0;
    lastRow = visible_ + 1;
  }
  for (int row = firstRow; row <= lastRow && top + row < lineCount_; ++row) {
    PaintLine(painter, top + row, row * h + settings_.lineSpace);
    ++linesPainted_;
  }
  repaintAll_ = false;
  lastPaintedTop_ = top;
}

TextFont TTextView::FontFor(uint16_t attribute) const {
  if ((attribute & (kSuperscript | kSubscript)) != 0) return TextFont::kSmall;
  if ((attribute & kBold) != 0) return TextFont::kBold;
  if ((attribute & kItalic) != 0) return TextFont::kItalic;
  return TextFont::kNormal;
}

QColor TTextView::ClassColour(uint16_t attribute) const {
  switch (attribute & 0x0F) {
    case 1: return QColorFromStored(settings_.specialColor);
    case 2: return QColorFromStored(settings_.jumpColor);
    case 3: return QColorFromStored(titleColor_ ? settings_.titleColor : settings_.textColor);
    default: return QColorFromStored(settings_.textColor);
  }
}

int TTextView::Advance(uint16_t code, int bytes, uint16_t attribute) const {
  const FontSet& set = Fonts();
  const TextFont font = FontFor(attribute);
  if (set.fixedPitch && font != TextFont::kSmall) return set.cw * bytes;
  return set.metrics->Width(code, font);
}

int TTextView::DrawRun(QPainter& painter, std::string_view bytes, uint16_t attribute, int x,
                       int y) {
  QString text;
  int width = 0;
  for (size_t k = 0; k < bytes.size();) {
    const uint8_t b = static_cast<uint8_t>(bytes[k]);
    uint16_t code = b;
    int n = 1;
    if (IsSjisLead(b) && k + 1 < bytes.size()) {
      code = static_cast<uint16_t>(b << 8 | static_cast<uint8_t>(bytes[k + 1]));
      n = 2;
    }
    char32_t c = SjisToUnicode(code);
    if (c == 0) c = 0xFFFD;
    text.append(QString::fromUcs4(&c, 1));
    width += Advance(code, n, attribute);
    k += static_cast<size_t>(n);
  }
  DrawMark(painter, text, width, attribute, x, y);
  return width;
}

void TTextView::DrawMark(QPainter& painter, const QString& text, int advance, uint16_t attribute,
                         int x, int y) {
  const FontSet& set = Fonts();
  const QColor colour = ClassColour(attribute);
  const bool selected = (attribute & kSelected) != 0;
  if (selected) painter.fillRect(QRect(x, y, advance, set.textHeight), colour);
  painter.setPen(selected ? QColorFromStored(settings_.backColor) : colour);
  const TextFont font = FontFor(attribute);
  int baseline = y + set.ascent;
  switch (font) {
    case TextFont::kSmall: {
      painter.setFont(fonts_.Small());
      const int top = (attribute & kSuperscript) != 0
                          ? y - 2
                          : y + set.lineHeight - fonts_.Set(0).lineHeight * 3 / 5 - 1;
      baseline = top + fonts_.SmallAscent();
      break;
    }
    case TextFont::kBold: painter.setFont(set.bold); break;
    case TextFont::kItalic: painter.setFont(set.italic); break;
    case TextFont::kNormal: painter.setFont(set.normal); break;
  }
  painter.drawText(QPoint(x, baseline), text);
}

void TTextView::PaintLine(QPainter& painter, int line, int y) {
  const LineText lt = brows_.GetLine(line);
  const std::string_view text = lt.text;
  const FontSet& set = Fonts();
  int x = lt.indent * set.cw + kLeftMargin;

  // The selected bytes of this line: [selFrom, selTo).
  int selFrom = 0;
  int selTo = 0;
  const TextPos s = SelectionStart();
  const TextPos e = SelectionEnd();
  if (s != e && line >= s.line && line <= e.line) {
    selFrom = line == s.line ? s.pos : 0;
    selTo = line == e.line ? e.pos : static_cast<int>(text.size()) + 1;
  }
  auto selectedAt = [&](size_t k) {
    return static_cast<int>(k) >= selFrom && static_cast<int>(k) < selTo;
  };

  uint16_t a = lt.style;
  size_t runStart = 0;
  size_t runEnd = 0;
  uint16_t runAttribute = 0;
  auto flush = [&] {
    if (runEnd > runStart)
      x += DrawRun(painter, text.substr(runStart, runEnd - runStart), runAttribute, x, y);
    runStart = runEnd;
  };

  MarkedTextCursor cursor(text);
  for (MarkedToken t = cursor.Next(); t.kind != MarkedKind::kEnd; t = cursor.Next()) {
    const size_t k = cursor.TokenOffset();
    const uint16_t here = selectedAt(k) ? (a | kSelected) : (a & ~kSelected);
    if (t.kind == MarkedKind::kText) {
      if (runEnd == runStart || here != runAttribute) {
        flush();
        runStart = k;
        runAttribute = here;
      }
      runEnd = cursor.Offset();
      continue;
    }
    flush();
    a = ApplyStyle(a, t.kind, settings_.bold != 0);
    switch (t.kind) {
      case MarkedKind::kCarriageReturn:
      case MarkedKind::kEndOfWindow: {
        a = kStyleSpecial;
        if (settings_.showSpecialChars) {
          const uint16_t mark = selectedAt(k) ? (a | kSelected) : a;
          if (t.kind == MarkedKind::kEndOfWindow) {
            DrawMark(painter, QStringLiteral("[EOF]"), 5 * set.cw, mark, x, y);
            x += 5 * set.cw;
          } else if (fonts_.ShiftJis()) {
            DrawMark(painter, QString(QChar(0x2193)), 2 * set.cw, mark, x, y);  // ↓
            x += 2 * set.cw;
          } else {
            DrawMark(painter, QString(QChar(0x00B6)), set.cw, mark, x, y);  // ¶
            x += set.cw;
          }
        }
        break;
      }
      case MarkedKind::kHighlightEnd: x += DrawRun(painter, " ", here, x, y); break;
      case MarkedKind::kGaiji:
        if (t.whole) {
          const int advance = t.fullWidth ? 2 * set.cw : set.cw;
          if (const GaijiMapEntry* mapped = glyphs_.Mapped(shown_.subbook, t.fullWidth, t.code);
              mapped && mapped->HasCharacter())
            DrawMark(painter, QString::fromStdString(mapped->utf8), advance, here, x, y);
          else DrawGaiji(painter, t.fullWidth, t.code, here, x, y);
          x += advance;
        }
        break;
      default: break;
    }
    runStart = runEnd = cursor.Offset();
  }
  flush();
}

void TTextView::DrawGaiji(QPainter& painter, bool full, uint16_t code, uint16_t attribute, int x,
                          int y) {
  const FontSet& set = Fonts();
  const QColor colour = ClassColour(attribute);
  const bool selected = (attribute & kSelected) != 0;
  const int advance = full ? 2 * set.cw : set.cw;
  if (selected) painter.fillRect(QRect(x, y, advance, set.textHeight), colour);
  const QImage& glyph = glyphs_.Bitmap(shown_.subbook, full, code);
  if (glyph.isNull()) return;
  int cell = set.textHeight;
  if (cell >= 16 && cell <= 18) cell = 16;
  const int width = full ? cell : cell * glyph.width() / glyph.height();
  const QColor ink = selected ? QColorFromStored(settings_.backColor) : colour;
  const QImage& shape = glyphs_.Inked(shown_.subbook, full, code, QSize(width, cell),
                                      painter.device()->devicePixelRatio(), ink);
  painter.drawImage(QRect(x, y, width, cell), shape);
  // Bold: the ink once more one pixel to the right.
  if ((attribute & kBold) != 0 || settings_.bold == 2)
    painter.drawImage(QRect(x + 1, y, width, cell), shape);
}

}  // namespace morva
