#include "app/book_bar/book_bar_widget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QToolTip>
#include <QWheelEvent>

#include "engine/text/unicode.h"
#include "view/qt_conversions.h"

namespace morva {

BookBarWidget::BookBarWidget(BookBar& bar, const int& currentBook, QWidget* parent)
    : QWidget(parent), bar_(bar), currentBook_(currentBook) {
  setObjectName(QStringLiteral("BooksGrid"));
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  ApplyDisplay({});
}

void BookBarWidget::ApplyDisplay(const BookBarDisplay& display) {
  metrics_ = BookBarMetrics::Make(display.charHeight, display.dicButtonSize, display.dicColor,
                                  display.barDicName);
  QFont f = font();
  if (!display.fontFamily.isEmpty()) f.setFamily(display.fontFamily);
  f.setPixelSize(metrics_.h);
  setFont(f);
  setFixedHeight(metrics_.RowHeight());
  leftColumn_ = std::clamp(leftColumn_, 0, std::max(0, static_cast<int>(bar_.size()) - 1));
  updateGeometry();
  update();
}

void BookBarWidget::BarChanged() {
  leftColumn_ = 0;
  hover_ = -1;
  raised_.clear();
  focusCell_ = -1;
  updateGeometry();
  update();
}

void BookBarWidget::ShowMarks(bool flag) {
  if (marksShown_ == flag) return;
  marksShown_ = flag;
  update();
}

void BookBarWidget::ScrollToCell(int cell) {
  leftColumn_ = LeftColumnToShow(bar_, metrics_, leftColumn_, cell, width());
  if (cell >= 0 && cell < static_cast<int>(bar_.size())) focusCell_ = cell;
  update();
}

int BookBarWidget::CellAt(int x) const { return CellAtX(bar_, metrics_, leftColumn_, x); }

BookBarWidget::Edge BookBarWidget::EdgeOf(int cell) const {
  if (cell < 1 || cell >= static_cast<int>(bar_.size())) return Edge::kNone;
  if (raised_.contains(cell)) return Edge::kRaised;
  const BookBarEntry& e = bar_[static_cast<size_t>(cell)];
  bool sunken = marksShown_ ? (e.mark && !e.IsSeparator()) : cell == currentBook_;
  return sunken ? Edge::kSunken : Edge::kFlat;
}

QSize BookBarWidget::sizeHint() const {
  return {std::max(BarWidth(bar_, metrics_), 100), metrics_.RowHeight()};
}

void BookBarWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Button));
  int x = 0;
  for (int cell = leftColumn_; cell < static_cast<int>(bar_.size()) && x < width(); ++cell) {
    DrawCell(painter, cell);
    x += metrics_.ColumnWidth(bar_[static_cast<size_t>(cell)]);
  }
  if (hasFocus() && focusCell_ >= leftColumn_ && focusCell_ < static_cast<int>(bar_.size())) {
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = QRect(CellLeft(bar_, metrics_, leftColumn_, focusCell_), 0,
                        metrics_.ColumnWidth(bar_[static_cast<size_t>(focusCell_)]), height())
                      .adjusted(2, 2, -2, -2);
    option.backgroundColor = palette().color(QPalette::Button);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
  }
}

void BookBarWidget::DrawCell(QPainter& painter, int cell) const {
  if (cell < 1 || cell >= static_cast<int>(bar_.size())) return;
  const BookBarEntry& entry = bar_[static_cast<size_t>(cell)];
  const int left = CellLeft(bar_, metrics_, leftColumn_, cell);
  const QRect r(left, 0, metrics_.ColumnWidth(entry), height());
  const QColor shadow = palette().color(QPalette::Dark);
  const QColor light = palette().color(QPalette::Light);
  const QColor face = palette().color(QPalette::Button);

  // The edge: top and left in one colour, bottom and right in the other.
  QColor topLeft = face;
  QColor bottomRight = face;
  switch (EdgeOf(cell)) {
    case Edge::kSunken:
      topLeft = shadow;
      bottomRight = light;
      break;
    case Edge::kRaised:
      topLeft = light;
      bottomRight = shadow;
      break;
    default: break;
  }
  painter.setPen(topLeft);
  painter.drawLine(r.left(), r.top(), r.right(), r.top());
  painter.drawLine(r.left(), r.top(), r.left(), r.bottom());
  painter.setPen(bottomRight);
  painter.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
  painter.drawLine(r.right(), r.top(), r.right(), r.bottom());

  if (entry.IsSeparator()) {
    painter.setPen(shadow);
    painter.drawLine(left + 4, r.top(), left + 4, r.bottom());
    painter.setPen(light);
    painter.drawLine(left + 5, r.top(), left + 5, r.bottom());
    return;
  }
  int nameLeft = left + metrics_.NameLeft();
  if (metrics_.dicColor) {
    const uint32_t c = entry.colour;
    DrawColourSquare(painter,
                     QRect(left + metrics_.SquareLeft(), metrics_.SquareTop(),
                           metrics_.SquareSide(), metrics_.SquareSide()),
                     QColorFromStored(c));
  }
  const QString name = QStringFromSjis(BarName(entry.shortName, metrics_.barDicName));
  painter.setPen(palette().color(QPalette::ButtonText));
  painter.setClipRect(r.adjusted(1, 1, -1, -1));
  painter.drawText(nameLeft, BookBarMetrics::kNameTop + painter.fontMetrics().ascent(), name);
  painter.setClipping(false);
}

void BookBarWidget::Hover(int cell, bool ctrlHeld) {
  if (cell >= 0 && !ctrlHeld) setCursor(Qt::PointingHandCursor);
  else unsetCursor();
  if (cell == hover_) return;
  hover_ = cell;
  raised_.clear();
  if (cell >= 0 && cell < static_cast<int>(bar_.size())) {
    if (bar_[static_cast<size_t>(cell)].IsSeparator()) {
      for (int b : SubGroupOf(bar_, cell)) raised_.append(b);
    } else {
      raised_.append(cell);
    }
  }
  update();
}

void BookBarWidget::mouseMoveEvent(QMouseEvent* event) {
  Hover(CellAt(event->position().toPoint().x()), event->modifiers() & Qt::ControlModifier);
}

void BookBarWidget::leaveEvent(QEvent*) {
  unsetCursor();
  Hover(-1, false);
}

void BookBarWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  Activate(CellAt(event->position().toPoint().x()), event->modifiers() & Qt::ControlModifier);
}

void BookBarWidget::Activate(int cell, bool ctrlHeld) {
  if (cell < 0 || cell >= static_cast<int>(bar_.size())) return;
  BookBarEntry& entry = bar_[static_cast<size_t>(cell)];
  if (ctrlHeld) {
    // Marking never opens the book; the marks are shown as while Ctrl is held.
    if (entry.IsSeparator()) return;
    entry.mark = !entry.mark;
    marksShown_ = true;
    update();
    emit markToggled(cell, entry.mark);
    return;
  }
  focusCell_ = cell;
  update();
  if (entry.IsSeparator()) {
    QList<int> books;
    for (int b : SubGroupOf(bar_, cell)) books.append(b);
    emit separatorClicked(cell, books);
  } else {
    emit bookClicked(cell);
  }
}

void BookBarWidget::keyPressEvent(QKeyEvent* event) {
  const int count = static_cast<int>(bar_.size());
  switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right: {
      if (count < 2) break;
      int cell = focusCell_ < 1 ? std::max(1, currentBook_) : focusCell_;
      cell += event->key() == Qt::Key_Left ? -1 : 1;
      ScrollToCell(std::clamp(cell, 1, count - 1));
      return;
    }
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter: Activate(focusCell_, event->modifiers() & Qt::ControlModifier); return;
    default: break;
  }
  QWidget::keyPressEvent(event);
}

int BookBarWidget::LastUsefulLeftColumn() const {
  const int count = static_cast<int>(bar_.size());
  int column = count;
  int rest = 0;
  while (column > 0) {
    const int w = metrics_.ColumnWidth(bar_[static_cast<size_t>(column - 1)]);
    if (rest + w > width()) break;
    rest += w;
    --column;
  }
  return std::min(column, std::max(0, count - 1));
}

void BookBarWidget::ScrollToColumn(int column) {
  column = std::clamp(column, 0, LastUsefulLeftColumn());
  if (column == leftColumn_) return;
  leftColumn_ = column;
  hover_ = -1;
  raised_.clear();
  update();
}

void BookBarWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // Columns hidden on the left come back as far as the width allows; the
  // open book stays whole in sight.
  leftColumn_ = std::min(leftColumn_, LastUsefulLeftColumn());
  if (currentBook_ >= 1 && currentBook_ < static_cast<int>(bar_.size()))
    leftColumn_ = LeftColumnToShow(bar_, metrics_, leftColumn_, currentBook_, width());
  update();
}

void BookBarWidget::wheelEvent(QWheelEvent* event) {
  const QPoint delta = event->angleDelta();
  const int steps = (std::abs(delta.x()) > std::abs(delta.y()) ? -delta.x() : -delta.y()) / 120;
  if (steps == 0) {
    event->ignore();
    return;
  }
  ScrollToColumn(leftColumn_ + steps);
  event->accept();
}

QString BookBarWidget::ToolTipOf(int cell) const {
  if (cell < 1 || cell >= static_cast<int>(bar_.size())) return {};
  const BookBarEntry& entry = bar_[static_cast<size_t>(cell)];
  if (entry.IsSeparator()) return {};
  const std::string& title = !entry.title.empty()       ? entry.title
                             : !entry.userTitle.empty() ? entry.userTitle
                                                        : entry.shortName;
  return QStringFromSjis(title) + QLatin1Char('\n') +
         QString::fromLocal8Bit(entry.location.data(),
                                static_cast<qsizetype>(entry.location.size()));
}

bool BookBarWidget::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    const int cell = CellAt(help->pos().x());
    const QString text = ToolTipOf(cell);
    if (text.isEmpty()) {
      QToolTip::hideText();
    } else {
      const QRect r(CellLeft(bar_, metrics_, leftColumn_, cell), 0,
                    metrics_.ColumnWidth(bar_[static_cast<size_t>(cell)]), height());
      QToolTip::showText(help->globalPos(), text, this, r);
    }
    return true;
  }
  return QWidget::event(event);
}

void DrawColourSquare(QPainter& painter, const QRect& square, const QColor& colour) {
  // A thin dark outline keeps a white or pale square visible on a light face.
  painter.fillRect(square, colour);
  painter.save();
  painter.setPen(QColor(64, 64, 64));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(square.adjusted(0, 0, -1, -1));
  painter.restore();
}

}  // namespace morva
