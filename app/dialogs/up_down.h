// A spin button pair beside an edit (the "UpDown" control): the arrows step
// the number in the edit between a minimum and a maximum, without wrapping.
// The edit stays a plain text field, so what was typed is read as it stands.
#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace morva {

class UpDown final : public QWidget {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(UpDown)

 public:
  UpDown(QLineEdit* buddy, int minimum, int maximum, QWidget* parent = nullptr);

  int position() const;         // the edit's number within the range (minimum when not a number)
  void setPosition(int value);  // writes the clamped value into the edit
  void StepBy(int delta);       // what the arrows do

  QToolButton* upButton() const { return up_; }
  QToolButton* downButton() const { return down_; }

 private:
  QLineEdit* buddy_;
  int minimum_;
  int maximum_;
  QToolButton* up_ = nullptr;
  QToolButton* down_ = nullptr;
};

}  // namespace morva
