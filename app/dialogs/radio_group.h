// A captioned group of radio buttons read by item index (the "RadioGroup"
// control): -1 when no item is checked.
#pragma once

#include <QGroupBox>
#include <QStringList>

class QButtonGroup;
class QRadioButton;

namespace morva {

class RadioGroup final : public QGroupBox {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(RadioGroup)

 public:
  RadioGroup(const QString& caption, const QStringList& items, QWidget* parent = nullptr);

  int itemIndex() const;
  // -1 (or any index outside the items) unchecks every item.
  void setItemIndex(int index);
  QRadioButton* item(int index) const;
  int count() const;

 signals:
  void itemChosen(int index);

 private:
  QButtonGroup* buttons_ = nullptr;
};

}  // namespace morva
