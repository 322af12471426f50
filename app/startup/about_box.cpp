#include "app/startup/about_box.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/app_info.h"

namespace morva {

QIcon MorvaIcon() {
  static const QIcon icon(QStringLiteral(":/morva/morva_icon.png"));
  return icon;
}

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("AboutBox"));
  setWindowTitle(QStringLiteral("Morvaについて"));
  setWindowIcon(MorvaIcon());

  auto* icon = new QLabel(this);
  icon->setObjectName(QStringLiteral("ProgramIcon"));
  icon->setPixmap(MorvaIcon().pixmap(48, 48));
  icon->setAlignment(Qt::AlignTop);

  auto* text = new QVBoxLayout;
  auto* product = new QLabel(QString::fromUtf8(ProductLine()), this);
  product->setObjectName(QStringLiteral("ProductName"));
  QFont bold = product->font();
  bold.setBold(true);
  product->setFont(bold);
  text->addWidget(product);
  const char* const* lines = AboutLines();
  for (int i = 0; i < 3 && lines[i] != nullptr; ++i) {
    auto* line = new QLabel(QString::fromUtf8(lines[i]), this);
    line->setObjectName(QStringLiteral("AboutLine%1").arg(i + 1));
    text->addWidget(line);
  }

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OKButton"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* top = new QHBoxLayout;
  top->addWidget(icon);
  top->addSpacing(12);
  top->addLayout(text, 1);
  auto* outer = new QVBoxLayout(this);
  outer->addLayout(top);
  outer->addWidget(buttons);
  setFixedSize(sizeHint());
}

}  // namespace morva
