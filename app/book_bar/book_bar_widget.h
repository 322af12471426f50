// BookBarWidget ("BooksGrid"): the row of book buttons along the top of the
// main window. One cell per BookBar entry; separators split the books into
// sub-groups. It shows which book is open (sunken cell) or, while marks are
// shown (Ctrl held), which books are marked; the cell under the mouse is
// raised, and over a separator every book of its sub-group is.
//
// The widget does not own the list or the open-book index: both belong to the
// main window, which must call BarChanged() after changing the list and
// update() (or ScrollToCell) after changing the open book. The widget changes
// the list only by toggling a book's mark on Ctrl+click.
//
// When the books do not all fit, the bar scrolls by whole columns: the wheel
// and the arrow keys move it, and a wider bar brings the hidden columns back
// while the open book stays in sight. Each cell's tooltip names the book's
// full title and folder.
//
// A plain click on a book emits bookClicked, on a separator (entry 0
// included) separatorClicked with its sub-group; the window then does what
// SelectBook in book_opener.h describes. Ctrl+click toggles the mark and
// emits markToggled; it never opens the book.
#pragma once

#include <QList>
#include <QRect>
#include <QWidget>

#include "app/book_bar/book_bar_layout.h"
#include "engine/book/book_list.h"

class QColor;
class QPainter;

namespace morva {

// What the bar needs of the display settings.
struct BookBarDisplay {
  int charHeight = 12;  // character height of the display font
  bool dicButtonSize = false;
  bool dicColor = true;
  int barDicName = 6;
  QString fontFamily;  // face of the bar's names; empty: the widget's font
};

class BookBarWidget final : public QWidget {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(BookBarWidget)

 public:
  // bar and currentBook must outlive the widget.
  BookBarWidget(BookBar& bar, const int& currentBook, QWidget* parent = nullptr);

  // LayoutBar: new metrics from the display settings; sets the bar's fixed
  // height to the row height (the panel around it is PanelHeight() high).
  void ApplyDisplay(const BookBarDisplay& display);
  const BookBarMetrics& Metrics() const { return metrics_; }
  int PanelHeight() const { return metrics_.PanelHeight(); }

  // The list changed (a group was loaded, a drive search ran): forgets the
  // hover and scroll state and repaints.
  void BarChanged();

  // ShowMarks: with the flag set, marked books are drawn sunken; with it
  // clear, only the open book is.
  void ShowMarks(bool flag);
  bool MarksShown() const { return marksShown_; }

  // Moves the first visible column so that cell is fully visible, makes it
  // the focus cell, and repaints.
  void ScrollToCell(int cell);
  int LeftColumn() const { return leftColumn_; }

  // Hit testing in widget coordinates: the cell under x, or -1.
  int CellAt(int x) const;
  // The cells drawn raised at present (hovered cell or sub-group).
  const QList<int>& RaisedCells() const { return raised_; }
  // The focus cell (current cell of the grid), -1 when none.
  int FocusCell() const { return focusCell_; }

  enum class Edge { kNone, kFlat, kSunken, kRaised };
  // How cell N is drawn at present (kNone for cell 0 and out of range).
  Edge EdgeOf(int cell) const;

  QSize sizeHint() const override;

  // The tooltip of a cell: a book's full title (its short name when no title
  // is known) and its folder; empty for separators.
  QString ToolTipOf(int cell) const;

 signals:
  // A plain click (or Space/Return on the focus cell) on a book.
  void bookClicked(int entry);
  // The same on a separator; books is its sub-group (possibly empty).
  void separatorClicked(int entry, const QList<int>& books);
  // Ctrl+click toggled the entry's mark.
  void markToggled(int entry, bool marked);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void Hover(int cell, bool ctrlHeld);
  void Activate(int cell, bool ctrlHeld);
  void DrawCell(QPainter& painter, int cell) const;
  // The first column at which the rest of the bar fits the width (0 when
  // the whole bar does): scrolling further would only show free space.
  int LastUsefulLeftColumn() const;
  void ScrollToColumn(int column);

  BookBar& bar_;
  const int& currentBook_;
  BookBarMetrics metrics_;
  bool marksShown_ = false;
  int leftColumn_ = 0;
  int hover_ = -1;
  int focusCell_ = -1;
  QList<int> raised_;
};

// Draws a book's colour square with a thin dark outline, so that a white or
// pale colour still shows on a light background (the bar and the word list).
void DrawColourSquare(QPainter& painter, const QRect& square, const QColor& colour);

}  // namespace morva
