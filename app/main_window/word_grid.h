// TWordGrid ("DrawGrid1"): the word list of the main window, an owner-drawn
// list of one column and fixed-height rows. It keeps the row count, the row
// height, the current row and the scroll position in whole rows; what a row
// shows is drawn by the owner (cellPainted).
//
// A mouse press on a row, Space, Enter, and text committed by an input method
// on the focused list report the row (rowChosen); the arrow, paging, Home and
// End keys move the current row and report where it went (rowMoved), which
// the owner may show. The right button opens the owner's popup menu.
#pragma once

#include <QAbstractScrollArea>
#include <functional>

class QMenu;

namespace morva {

class TWordGrid final : public QAbstractScrollArea {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TWordGrid)

 public:
  explicit TWordGrid(QWidget* parent = nullptr);

  void SetRowCount(int rows);
  int RowCount() const { return rows_; }
  void SetRowHeight(int height);
  int RowHeight() const { return rowHeight_; }
  // Makes row current (clamped) and scrolls it into view.
  void SetCurrentRow(int row);
  int CurrentRow() const { return current_; }
  int TopRow() const;
  // Scrolls to the first row and makes it current without highlighting it:
  // a list just filled has no row shown yet. SetCurrentRow (a click, a key,
  // a row shown) highlights the current row again.
  void ScrollToTop();
  // The highlighted row, -1 when none is.
  int HighlightedRow() const { return cursorShown_ ? current_ : -1; }
  // The row under a viewport y position, -1 below the last row.
  int RowAt(int y) const;
  // The rectangle of a row in viewport coordinates.
  QRect RowRect(int row) const;
  void SetPopupMenu(QMenu* menu) { popup_ = menu; }
  // Repaints every row.
  void Redraw();

 signals:
  // Row `row` is to be drawn into rect (viewport coordinates); current: it
  // is the highlighted row.
  void cellPainted(QPainter& painter, int row, const QRect& rect, bool current);
  // A row was chosen for showing.
  void rowChosen(int row);
  // A key moved the highlight to row (or brought it out there).
  void rowMoved(int row);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void UpdateScrollRange();
  int VisibleRows() const;

  int rows_ = 1;
  int rowHeight_ = 18;
  int current_ = 0;
  bool cursorShown_ = false;
  QMenu* popup_ = nullptr;
};

}  // namespace morva
