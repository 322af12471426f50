#include "app/dialogs/color_grid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <algorithm>

#include "view/qt_conversions.h"

namespace morva {
namespace {

constexpr const char* kLabels[ColorGrid::kCells] = {" 文字", "  背景", " 見出し ", "  参照",
                                                    "特殊文字"};

}  // namespace

const char* ColorGrid::Label(int cell) { return kLabels[std::clamp(cell, 0, kCells - 1)]; }

ColorGrid::ColorGrid(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setFixedSize(sizeHint());
}

QSize ColorGrid::sizeHint() const { return {kCells * (kCellWidth + 1) + 1, kCellHeight + 2}; }

void ColorGrid::SetColors(const std::array<uint32_t, kCells>& colors) {
  colors_ = colors;
  update();
}

void ColorGrid::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Mid));
  const QColor background = QColorFromStored(colors_[kBackground]);
  for (int n = 0; n < kCells; ++n) {
    const QRect cell(1 + n * (kCellWidth + 1), 1, kCellWidth, kCellHeight);
    // The current cell shows the grid's own colour while the grid lacks the focus.
    const bool plain = n == current_ && !hasFocus();
    painter.fillRect(cell, plain ? palette().color(QPalette::Button) : background);
    painter.setPen(QColorFromStored(colors_[static_cast<size_t>(n)]));
    painter.drawText(cell.adjusted(22, 6, 0, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip,
                     QString::fromUtf8(kLabels[n]));
    if (n == current_ && hasFocus()) {
      QStyleOptionFocusRect option;
      option.initFrom(this);
      option.rect = cell.adjusted(1, 1, -1, -1);
      style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
  }
}

void ColorGrid::mousePressEvent(QMouseEvent* event) {
  const int n = static_cast<int>(event->position().x()) / (kCellWidth + 1);
  if (n >= 0 && n < kCells) current_ = n;
  setFocus();
  update();
}

void ColorGrid::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right) {
    current_ = std::clamp(current_ + (event->key() == Qt::Key_Left ? -1 : 1), 0, kCells - 1);
    update();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace morva
