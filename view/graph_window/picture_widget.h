// Image1 of the image window: shows a picture stretched to the widget's size
// and reports the pointer in widget coordinates. Only the exposed part is
// scaled, so a large picture at 400 % costs no more than the window shows.
#pragma once

#include <QImage>
#include <QWidget>

namespace morva {

class PictureWidget final : public QWidget {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(PictureWidget)

 public:
  explicit PictureWidget(QWidget* parent = nullptr);

  void SetImage(const QImage& image);
  const QImage& image() const { return image_; }

 signals:
  // The pointer moved, or a button went down, at (x, y) of the widget.
  void pointerMoved(int x, int y);
  void pressed(int x, int y);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  QImage image_;
};

}  // namespace morva
