#include "app/main_window/word_grid.h"

#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace morva {

TWordGrid::TWordGrid(QWidget* parent) : QAbstractScrollArea(parent) {
  setObjectName(QStringLiteral("DrawGrid1"));
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  viewport()->setAutoFillBackground(true);
  verticalScrollBar()->setSingleStep(1);
}

void TWordGrid::SetRowCount(int rows) {
  rows_ = std::max(0, rows);
  current_ = std::clamp(current_, 0, std::max(0, rows_ - 1));
  UpdateScrollRange();
  viewport()->update();
}

void TWordGrid::SetRowHeight(int height) {
  rowHeight_ = std::max(1, height);
  UpdateScrollRange();
  viewport()->update();
}

int TWordGrid::VisibleRows() const { return std::max(1, viewport()->height() / rowHeight_); }

int TWordGrid::TopRow() const { return verticalScrollBar()->value(); }

void TWordGrid::UpdateScrollRange() {
  QScrollBar* bar = verticalScrollBar();
  bar->setPageStep(VisibleRows());
  bar->setRange(0, std::max(0, rows_ - VisibleRows()));
}

void TWordGrid::SetCurrentRow(int row) {
  if (rows_ == 0) return;
  const int previous = current_;
  current_ = std::clamp(row, 0, rows_ - 1);
  cursorShown_ = true;
  const int top = TopRow();
  if (current_ < top) verticalScrollBar()->setValue(current_);
  else if (current_ >= top + VisibleRows())
    verticalScrollBar()->setValue(current_ - VisibleRows() + 1);
  viewport()->update(RowRect(previous));
  viewport()->update(RowRect(current_));
}

void TWordGrid::ScrollToTop() {
  current_ = 0;
  cursorShown_ = false;
  verticalScrollBar()->setValue(0);
  viewport()->update();
}

int TWordGrid::RowAt(int y) const {
  if (y < 0) return -1;
  const int row = TopRow() + y / rowHeight_;
  return row < rows_ ? row : -1;
}

QRect TWordGrid::RowRect(int row) const {
  return QRect(0, (row - TopRow()) * rowHeight_, viewport()->width(), rowHeight_);
}

void TWordGrid::Redraw() { viewport()->update(); }

void TWordGrid::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  const QRect area = event->rect();
  const int top = TopRow();
  const int first = top + std::max(0, area.top() / rowHeight_);
  const int last = std::min(rows_ - 1, top + area.bottom() / rowHeight_);
  for (int row = first; row <= last; ++row) {
    const QRect rect = RowRect(row);
    emit cellPainted(painter, row, rect, row == HighlightedRow());
  }
}

void TWordGrid::mousePressEvent(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  if (event->button() != Qt::LeftButton) return;
  const int row = RowAt(event->position().toPoint().y());
  if (row < 0) return;
  SetCurrentRow(row);
  emit rowChosen(row);
}

void TWordGrid::keyPressEvent(QKeyEvent* event) {
  if (rows_ == 0) return QAbstractScrollArea::keyPressEvent(event);
  const bool moving = event->key() == Qt::Key_Up || event->key() == Qt::Key_Down ||
                      event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown;
  const int before = HighlightedRow();
  if (moving && !cursorShown_) {
    // The first move only brings the hidden cursor out where it is.
    SetCurrentRow(current_);
  } else {
    switch (event->key()) {
      case Qt::Key_Up: SetCurrentRow(current_ - 1); break;
      case Qt::Key_Down: SetCurrentRow(current_ + 1); break;
      case Qt::Key_PageUp: SetCurrentRow(current_ - (VisibleRows() - 1)); break;
      case Qt::Key_PageDown: SetCurrentRow(current_ + (VisibleRows() - 1)); break;
      case Qt::Key_Home: SetCurrentRow(0); break;
      case Qt::Key_End: SetCurrentRow(rows_ - 1); break;
      // Enter shows the row as Space does; the key goes no further, so no
      // button of the window takes it as well.
      case Qt::Key_Space:
      case Qt::Key_Return:
      case Qt::Key_Enter:
        emit rowChosen(current_);
        event->accept();
        return;
      default: QAbstractScrollArea::keyPressEvent(event); return;
    }
  }
  event->accept();
  if (HighlightedRow() != before) emit rowMoved(current_);
}

// The input method's keys reach the list as committed text: they show the
// current row, as the key an input method consumes does on other systems.
void TWordGrid::inputMethodEvent(QInputMethodEvent* event) {
  if (!event->commitString().isEmpty() && rows_ > 0) emit rowChosen(current_);
  event->accept();
}

void TWordGrid::contextMenuEvent(QContextMenuEvent* event) {
  if (popup_ != nullptr) popup_->popup(event->globalPos());
}

void TWordGrid::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollRange();
}

void TWordGrid::scrollContentsBy(int, int) { viewport()->update(); }

// The current row is drawn differently with and without the focus.
void TWordGrid::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  viewport()->update();
}

void TWordGrid::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  viewport()->update();
}

}  // namespace morva
