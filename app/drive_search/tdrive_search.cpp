#include "app/drive_search/tdrive_search.h"

#include <QCheckBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/dialogs/up_down.h"
#include "app/settings/settings.h"
#include "app/settings/value_forms.h"

namespace morva {
namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

constexpr const char* kExplanation[] = {
    "辞書をサーチします。「すべてのドライブ」をチェックすると、ホームディレクトリ（~）と、",
    "CD-ROMなどがマウントされる /media、/mnt、/run/media の下をサーチします。",
    "サーチする場所を限定するには、「指定したドライブ」をチェックして、テキストボックスに",
    "ディレクトリ名を記入します。ホームディレクトリの下と /media/cdrom をサーチするときは、",
    "~;/media/cdrom と、ディレクトリ名を ; で区切って並べてください。~ はホームディレクトリを",
    "表します。",
    "",
    "「深さ」は、それぞれのディレクトリから何階層下までサーチするかを示します。0 のときは",
    "指定したディレクトリそのものだけを調べます。/media/ユーザー名/ディスク名 にマウントされた",
    "CD-ROMや、ハードディスクにコピーした辞書を探すには、ディレクトリから辞書までの深さに",
    "応じて、「深さ」に 1 以上の値を設定してください。",
    "",
    "「次回からこのダイアログを表示しない」をチェックすると、ダイアログを表示しないで、",
    "ドライブサーチを行います。以降、サーチする場所の変更は、[ツール]-[オプション]-[検索]",
    "タブの「サーチドライブ」を修正して行います。 ",
    " ",
    nullptr,
};

}  // namespace

const char* const* TDriveSearch::ExplanationLines() { return kExplanation; }

TDriveSearch::TDriveSearch(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("DriveSearch"));
  setWindowTitle(U("ﾄﾞﾗｲﾌﾞをｻｰﾁする"));

  auto* search = new QGroupBox(U("ｻｰﾁするﾄﾞﾗｲﾌﾞ(&D)"), this);
  search->setObjectName(QStringLiteral("Search"));
  all_ = new QRadioButton(U("すべてのﾄﾞﾗｲﾌﾞ"), search);
  given_ = new QRadioButton(U("指定したﾄﾞﾗｲﾌﾞ"), search);
  searchDrive_ = new QLineEdit(search);
  searchDrive_->setObjectName(QStringLiteral("SearchDrive"));
  searchDrive_->setInputMethodHints(Qt::ImhPreferLatin | Qt::ImhNoPredictiveText);
  connect(searchDrive_, &QLineEdit::textEdited, this, [this] { given_->setChecked(true); });
  auto* searchLayout = new QGridLayout(search);
  searchLayout->addWidget(all_, 0, 0);
  searchLayout->addWidget(given_, 1, 0);
  searchLayout->addWidget(searchDrive_, 1, 1);
  searchLayout->setColumnStretch(1, 1);

  auto* label2 = new QLabel(U("ｻｰﾁする深さ(&P)"), this);
  label2->setObjectName(QStringLiteral("Label2"));
  depth_ = new QLineEdit(this);
  depth_->setObjectName(QStringLiteral("Depth"));
  depth_->setFixedWidth(48);
  label2->setBuddy(depth_);
  upDown_ = new UpDown(depth_, 0, 99, this);
  upDown_->setObjectName(QStringLiteral("UpDown1"));
  auto* depthRow = new QHBoxLayout;
  depthRow->addWidget(label2);
  depthRow->addWidget(depth_);
  depthRow->addWidget(upDown_);
  depthRow->addStretch();

  notShow_ = new QCheckBox(U("次回からこのﾀﾞｲｱﾛｸﾞを表示しない(&L)"), this);
  notShow_->setObjectName(QStringLiteral("NotShow"));

  memo_ = new QPlainTextEdit(this);
  memo_->setObjectName(QStringLiteral("Memo1"));
  memo_->setReadOnly(true);
  memo_->setFocusPolicy(Qt::NoFocus);
  memo_->setBackgroundRole(QPalette::Button);
  QPalette p = memo_->palette();
  p.setColor(QPalette::Base, p.color(QPalette::Button));
  memo_->setPalette(p);
  QStringList lines;
  for (const char* const* l = kExplanation; *l != nullptr; ++l) lines << U(*l);
  memo_->setPlainText(lines.join(QLatin1Char('\n')));
  // The whole explanation without scrolling.
  memo_->setMinimumSize(
      580, memo_->fontMetrics().lineSpacing() * (static_cast<int>(lines.size()) + 1) + 16);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("Ok"));
  ok->setDefault(true);
  auto* cancel = new QPushButton(U("ｷｬﾝｾﾙ"), this);
  cancel->setObjectName(QStringLiteral("Button1"));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(search);
  layout->addLayout(depthRow);
  layout->addWidget(notShow_);
  layout->addWidget(memo_);
  layout->addLayout(buttons);
  setFixedSize(sizeHint());
}

void TDriveSearch::Fill(const DriveSearchChoice& choice) {
  const bool standard = choice.roots == kSearchRootsDefault;
  all_->setChecked(standard);
  given_->setChecked(!standard);
  searchDrive_->setText(standard ? QString()
                                 : QFile::decodeName(QByteArray::fromStdString(choice.roots)));
  upDown_->setPosition(choice.depth);
  notShow_->setChecked(!choice.showDialog);
}

DriveSearchChoice TDriveSearch::Result() const {
  DriveSearchChoice c;
  c.roots = all_->isChecked() ? std::string(kSearchRootsDefault)
                              : QFile::encodeName(searchDrive_->text().trimmed()).toStdString();
  c.depth = ParseInt(depth_->text().toStdString()).value_or(0);
  c.showDialog = !notShow_->isChecked();
  return c;
}

}  // namespace morva
