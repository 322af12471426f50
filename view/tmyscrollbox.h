// TMyScrollBox: the content pane. A scroll area whose owner draws the
// viewport itself (OnPaint) and whose scroll-bar clicks arrive as the same
// keys as the keyboard (line up = Up, page down = Page Down …), so that clicks
// on the arrows and the trough scroll exactly like the keys, including loading
// the neighbouring stretch in continuous display. Thumb drags set the
// position directly (live only while tracking is on). The pane keeps Up and
// Down for itself instead of letting focus navigation have them.
//
// The hooks are plain callbacks set by the owner (the content view); events
// with no hook bound get the base handling.
#pragma once

#include <QAbstractScrollArea>

#include <functional>

class QMouseEvent;
class QPainter;

namespace morva {

class TMyScrollBox final : public QAbstractScrollArea {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TMyScrollBox)

 public:
  explicit TMyScrollBox(QWidget* parent = nullptr);

  // Called after the base painting (the background) with a painter on the
  // viewport, clipped to the rectangle to repaint.
  std::function<void(QPainter& painter, const QRect& rect)> OnPaint;
  // Up, Down, Page Up, Page Down from the keyboard or the scroll bar.
  std::function<void(int key, Qt::KeyboardModifiers modifiers)> OnKeyDown;
  std::function<void(QMouseEvent* event)> OnMouseDown;
  std::function<void(QMouseEvent* event)> OnMouseMove;
  std::function<void(QMouseEvent* event)> OnMouseUp;
  std::function<void(QMouseEvent* event)> OnDblClick;
  std::function<void()> OnResize;
  // The vertical position changed (by any means); the owner moves the pixels.
  std::function<void()> OnScroll;

  // Sends a key-down through the pane's key event, as the scroll bar does.
  void SendKeyDown(int key);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  void ScrollBarAction(Qt::Orientation orientation, int action);
};

}  // namespace morva
