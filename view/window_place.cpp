#include "view/window_place.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace morva {

QRect UsableArea(QPoint point) {
  const QScreen* screen = QGuiApplication::screenAt(point);
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry() : QRect();
}

QRect UsableAreaOf(const QWidget& window) {
  const QRect frame = window.frameGeometry();
  const QScreen* screen = QGuiApplication::screenAt(frame.center());
  if (screen == nullptr) screen = window.screen();
  if (screen == nullptr) screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry() : QRect();
}

QRect FitRect(QRect frame, const QRect& area) {
  if (area.isEmpty()) return frame;
  frame.setWidth(std::min(frame.width(), area.width()));
  frame.setHeight(std::min(frame.height(), area.height()));
  const int x = std::clamp(frame.left(), area.left(), area.right() + 1 - frame.width());
  const int y = std::clamp(frame.top(), area.top(), area.bottom() + 1 - frame.height());
  frame.moveTo(x, y);
  return frame;
}

QRect CenteredOn(const QRect& owner, QSize frameSize) {
  QRect frame(QPoint(0, 0), frameSize);
  frame.moveCenter(owner.center());
  return frame;
}

namespace {

QMargins MarginsOf(const QWidget& window) {
  const QRect frame = window.frameGeometry();
  const QRect client = window.geometry();
  return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
          frame.bottom() - client.bottom()};
}

}  // namespace

QMargins FrameMarginsOf(const QWidget& window) {
  if (window.isVisible()) return MarginsOf(window);
  for (const QWidget* other : QApplication::topLevelWidgets()) {
    if (other == &window || !other->isVisible() || other->windowType() != Qt::Window) continue;
    const QMargins m = MarginsOf(*other);
    if (!m.isNull()) return m;
  }
  return {};
}

void PlaceWindow(QWidget& window, const QRect& frame, const QRect& area) {
  const QRect usable = area.isEmpty() ? UsableArea(frame.center()) : area;
  const QMargins margins = FrameMarginsOf(window);
  const QRect fitted = FitRect(frame, usable);
  QRect client = fitted.marginsRemoved(margins);
  client.setSize(client.size().expandedTo(window.minimumSize()).boundedTo(window.maximumSize()));
  window.setGeometry(client);
}

void KeepOnScreen(QWidget& window, const QRect& area) {
  const QRect usable = area.isEmpty() ? UsableAreaOf(window) : area;
  const QRect frame = window.geometry().marginsAdded(FrameMarginsOf(window));
  if (usable.isEmpty() || usable.contains(frame)) return;
  PlaceWindow(window, frame, usable);
}

}  // namespace morva
