#include "app/dialogs/radio_group.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QVBoxLayout>

namespace morva {

RadioGroup::RadioGroup(const QString& caption, const QStringList& items, QWidget* parent)
    : QGroupBox(caption, parent), buttons_(new QButtonGroup(this)) {
  auto* layout = new QVBoxLayout(this);
  for (qsizetype i = 0; i < items.size(); ++i) {
    auto* b = new QRadioButton(items[i], this);
    buttons_->addButton(b, static_cast<int>(i));
    layout->addWidget(b);
  }
  connect(buttons_, &QButtonGroup::idClicked, this, &RadioGroup::itemChosen);
}

int RadioGroup::itemIndex() const { return buttons_->checkedId(); }

void RadioGroup::setItemIndex(int index) {
  if (QAbstractButton* b = buttons_->button(index)) {
    b->setChecked(true);
    return;
  }
  // An exclusive group never unchecks its last button by itself.
  buttons_->setExclusive(false);
  for (QAbstractButton* b : buttons_->buttons()) b->setChecked(false);
  buttons_->setExclusive(true);
}

QRadioButton* RadioGroup::item(int index) const {
  return qobject_cast<QRadioButton*>(buttons_->button(index));
}

int RadioGroup::count() const { return static_cast<int>(buttons_->buttons().size()); }

}  // namespace morva
