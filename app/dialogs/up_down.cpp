#include "app/dialogs/up_down.h"

#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/settings/value_forms.h"

namespace morva {

UpDown::UpDown(QLineEdit* buddy, int minimum, int maximum, QWidget* parent)
    : QWidget(parent), buddy_(buddy), minimum_(minimum), maximum_(maximum) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  up_ = new QToolButton(this);
  up_->setArrowType(Qt::UpArrow);
  up_->setAutoRepeat(true);
  down_ = new QToolButton(this);
  down_->setArrowType(Qt::DownArrow);
  down_->setAutoRepeat(true);
  for (QToolButton* b : {up_, down_}) {
    b->setFixedSize(16, 11);
    b->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(b);
  }
  connect(up_, &QToolButton::clicked, this, [this] { StepBy(1); });
  connect(down_, &QToolButton::clicked, this, [this] { StepBy(-1); });
}

int UpDown::position() const {
  const std::optional<int> v = ParseInt(buddy_->text().toStdString());
  return std::clamp(v.value_or(minimum_), minimum_, maximum_);
}

void UpDown::setPosition(int value) {
  buddy_->setText(QString::number(std::clamp(value, minimum_, maximum_)));
}

void UpDown::StepBy(int delta) { setPosition(position() + delta); }

}  // namespace morva
