// TMyScrollBox: the content pane. A scroll area whose owner draws the
// viewport itself (painted) and whose scroll-bar clicks arrive as the same
// keys as the keyboard (line up = Up, page down = Page Down …), so that clicks
// on the arrows and the trough scroll exactly like the keys, including loading
// the neighbouring stretch in continuous display. Thumb drags set the
// position directly (live only while tracking is on). The pane keeps Up and
// Down for itself instead of letting focus navigation have them.
//
// The pane's events are signals its owner (the content view) connects to;
// an event nobody listens to gets the base handling.
#pragma once

#include <QAbstractScrollArea>
#include <QMetaMethod>

class QMouseEvent;
class QPainter;

namespace morva {

class TMyScrollBox final : public QAbstractScrollArea {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TMyScrollBox)

 public:
  explicit TMyScrollBox(QWidget* parent = nullptr);

  // Sends a key-down through the pane's key event, as the scroll bar does.
  void SendKeyDown(int key);

 signals:
  // After the base painting (the background), with a painter on the
  // viewport clipped to the rectangle to repaint.
  void painted(QPainter& painter, const QRect& rect);
  // Up, Down, Page Up, Page Down from the keyboard or the scroll bar.
  void paneKeyPressed(int key);
  void mousePressed(QMouseEvent* event);
  void mouseMoved(QMouseEvent* event);
  void mouseReleased(QMouseEvent* event);
  void doubleClicked(QMouseEvent* event);
  void resized();
  // The vertical position changed (by any means); the receiver moves the
  // pixels.
  void scrolled();

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
  // Whether anyone listens to that signal of the pane.
  template <typename Signal>
  bool Heard(Signal signal) const {
    return isSignalConnected(QMetaMethod::fromSignal(signal));
  }
};

}  // namespace morva
