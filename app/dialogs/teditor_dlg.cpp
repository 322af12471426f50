#include "app/dialogs/teditor_dlg.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialogs/radio_group.h"

namespace morva {
namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

constexpr const char* kNote[] = {
    "「出力する内容」で指定された内容をファイルへ出力し、エディタを起動します。",
    "表示されている内容　項目内容エリアと同じ内容を出力",
    "該当項目すべて　　　項目リストの項目すべての内容を出力",
    "該当項目の見出し　　項目リストに表示されている見出しを出力",
    nullptr,
};

}  // namespace

const char* const* TEditorDlg::NoteLines() { return kNote; }

TEditorDlg::TEditorDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("EditorDlg"));
  setWindowTitle(U("ｴﾃﾞｨﾀ起動"));
  fileName_ = new QLineEdit(this);
  fileName_->setObjectName(QStringLiteral("FileName"));
  auto* label = new QLabel(U("ﾌｧｲﾙ名(&F)"), this);
  label->setBuddy(fileName_);
  auto* refer = new QPushButton(U("参照(&R)"), this);
  refer->setObjectName(QStringLiteral("Refer"));
  connect(refer, &QPushButton::clicked, this, [this] {
    reject();
    emit referRequested(fileName_->text());
  });
  content_ =
      new RadioGroup(U("出力する内容(&C)"),
                     {U("表示されている内容"), U("該当項目すべて"), U("該当項目の見出し")}, this);
  content_->setObjectName(QStringLiteral("Content"));
  content_->setItemIndex(0);
  note_ = new QPlainTextEdit(this);
  note_->setObjectName(QStringLiteral("Memo1"));
  note_->setReadOnly(true);
  note_->setFocusPolicy(Qt::NoFocus);
  QPalette p = note_->palette();
  p.setColor(QPalette::Base, p.color(QPalette::Button));
  note_->setPalette(p);
  QStringList lines;
  for (const char* const* l = kNote; *l != nullptr; ++l) lines << U(*l);
  note_->setPlainText(lines.join(QLatin1Char('\n')));
  note_->setFixedHeight(note_->fontMetrics().lineSpacing() * 5 + 12);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("OkButton"));
  ok->setDefault(true);
  auto* cancel = new QPushButton(U("ｷｬﾝｾﾙ"), this);
  cancel->setObjectName(QStringLiteral("CancelButton"));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(label);
  fileRow->addWidget(fileName_, 1);
  fileRow->addWidget(refer);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fileRow);
  layout->addWidget(content_);
  layout->addWidget(note_);
  layout->addLayout(buttons);
  resize(520, sizeHint().height());
}

void TEditorDlg::SetFileName(const QString& name) { fileName_->setText(name); }
QString TEditorDlg::FileName() const { return fileName_->text(); }

EditorContent TEditorDlg::Content() const {
  const int i = content_->itemIndex();
  return i == 1   ? EditorContent::kAllItems
         : i == 2 ? EditorContent::kHeadings
                  : EditorContent::kShown;
}

void TEditorDlg::SetContent(EditorContent content) {
  content_->setItemIndex(static_cast<int>(content));
}

}  // namespace morva
