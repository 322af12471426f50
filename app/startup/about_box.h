// TAboutBox, "Morvaについて": the program icon, the product line, three lines
// about the program and OK. Shown modally by About1.
#pragma once

#include <QDialog>
#include <QIcon>

namespace morva {

// The program icon (resources/morva.png, built into the program).
QIcon MorvaIcon();

class TAboutBox final : public QDialog {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TAboutBox)

 public:
  explicit TAboutBox(QWidget* parent = nullptr);
};

}  // namespace morva
