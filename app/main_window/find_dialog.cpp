#include "app/main_window/find_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace morva {

TFindDialog::TFindDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("FindDialog1"));
  setWindowTitle(QStringLiteral("検索"));
  setModal(false);
  auto* grid = new QGridLayout(this);
  auto* label = new QLabel(QStringLiteral("検索する文字列(&N):"), this);
  text_ = new QLineEdit(this);
  text_->setObjectName(QStringLiteral("FindText"));
  label->setBuddy(text_);
  matchCase_ = new QCheckBox(QStringLiteral("大文字と小文字を区別する(&C)"), this);
  matchCase_->setObjectName(QStringLiteral("MatchCase"));
  findButton_ = new QPushButton(QStringLiteral("次を検索(&F)"), this);
  findButton_->setObjectName(QStringLiteral("FindNextButton"));
  findButton_->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  grid->addWidget(label, 0, 0);
  grid->addWidget(text_, 0, 1);
  grid->addWidget(findButton_, 0, 2);
  grid->addWidget(matchCase_, 1, 0, 1, 2);
  grid->addWidget(cancel, 1, 2);
  connect(findButton_, &QPushButton::clicked, this, [this] { emit findRequested(); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::hide);
  auto update = [this] { findButton_->setEnabled(!text_->text().isEmpty()); };
  connect(text_, &QLineEdit::textChanged, this, update);
  update();
}

QString TFindDialog::FindText() const { return text_->text(); }

void TFindDialog::SetFindText(const QString& text) { text_->setText(text); }

bool TFindDialog::MatchCase() const { return matchCase_->isChecked(); }

}  // namespace morva
