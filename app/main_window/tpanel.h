// TPanel: a plain panel whose owner places the children itself whenever the
// panel changes size (resized), as the window's resizing rules want.
#pragma once

#include <QFrame>

namespace morva {

class TPanel final : public QFrame {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TPanel)

 public:
  explicit TPanel(const char* name, QWidget* parent = nullptr) : QFrame(parent) {
    setObjectName(QString::fromLatin1(name));
  }
 signals:
  void resized();

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QFrame::resizeEvent(event);
    emit resized();
  }
};

}  // namespace morva
