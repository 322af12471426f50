#include "view/graph_window/picture_widget.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace morva {

PictureWidget::PictureWidget(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PictureWidget::SetImage(const QImage& image) {
  image_ = image;
  update();
}

void PictureWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QRect exposed = event->rect();
  painter.fillRect(exposed, Qt::white);
  if (image_.isNull() || width() <= 0 || height() <= 0) return;
  const double sx = static_cast<double>(image_.width()) / width();
  const double sy = static_cast<double>(image_.height()) / height();
  // The source pixels under the exposed rectangle, widened to whole pixels.
  const int left = std::max(0, static_cast<int>(std::floor(exposed.left() * sx)));
  const int top = std::max(0, static_cast<int>(std::floor(exposed.top() * sy)));
  const int right =
      std::min(image_.width(), static_cast<int>(std::ceil((exposed.right() + 1) * sx)));
  const int bottom =
      std::min(image_.height(), static_cast<int>(std::ceil((exposed.bottom() + 1) * sy)));
  if (right <= left || bottom <= top) return;
  const QRectF target(left / sx, top / sy, (right - left) / sx, (bottom - top) / sy);
  // Shrinking blends the pixels so that thin lines stay visible; enlarging
  // keeps the pixels sharp.
  painter.setRenderHint(QPainter::SmoothPixmapTransform, sx > 1.0 || sy > 1.0);
  painter.drawImage(target, image_, QRectF(left, top, right - left, bottom - top));
}

void PictureWidget::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  emit pointerMoved(p.x(), p.y());
}

void PictureWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint p = event->position().toPoint();
  emit pressed(p.x(), p.y());
}

}  // namespace morva
