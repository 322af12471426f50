#include "app/search_windows/tgeneral_search.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "engine/book/tdisk.h"
#include "engine/book/text_utils.h"
#include "engine/search/fulltext.h"
#include "engine/search/wordlist.h"
#include "engine/text/unicode.h"
#include "view/qt_conversions.h"
#include "view/window_place.h"

namespace morva {
namespace {

constexpr uint8_t kKeywordIndex = 0x80;
constexpr uint8_t kCrossIndex = 0x81;

// How queries are written; shown in Memo1.
const QString& HelpText() {
  static const QString text = QStringLiteral(
      "・語を空白で区切って並べると、すべての語を含む項目を探します（and と同じです）。\n"
      "・語の間に and（かつ）、or（または）、not（除く）を書けます。\n"
      "・演算子は左から右へ順に評価されます。括弧 ( ) で囲んだ部分が先に評価されます。\n"
      "　例：a or b not c は (a or b) not c と同じです。\n"
      "・空白を含む語は \" \" で囲みます。\n"
      "・全文検索は本文の文字を探します。改行をまたぐ語は見つかりません。");
  return text;
}

std::string HitStatus(const Wordlist& list) {
  if (list.IsEmpty()) return Sjis("該当項目なし");
  return Format("%d ", list.Count()) + Sjis("項目");
}

}  // namespace

void PushHistoryWord(QComboBox& box, const QString& word, int limit) {
  if (word.isEmpty()) return;
  const QString text = box.currentText();
  const int found = box.findText(word, Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (found != 0) {
    if (found > 0) box.removeItem(found);
    box.insertItem(0, word);
  }
  while (box.count() > limit) box.removeItem(box.count() - 1);
  if (box.isEditable()) box.setEditText(text);
}

TGeneralSearch::TGeneralSearch(TDisk& disk, Wordlist& main, FullTextSearch& fullText,
                               ProgressBox& progress, QWidget* parent)
    : QDialog(parent), disk_(disk), main_(main), fullText_(fullText), progress_(progress) {
  setObjectName(QStringLiteral("TGeneralSearch"));
  setWindowTitle(QStringLiteral("総合検索"));
  setModal(false);

  auto* keywordLabel = new QLabel(QStringLiteral("検索条件(&K)"), this);
  keywordLabel->setObjectName(QStringLiteral("KeywordLabel"));
  keyword_ = new QComboBox(this);
  keyword_->setObjectName(QStringLiteral("Keyword"));
  keyword_->setEditable(true);
  keyword_->setInsertPolicy(QComboBox::NoInsert);
  keyword_->setCompleter(nullptr);  // the history never completes what is typed
  keyword_->setMaxCount(kHistoryLimit);
  keywordLabel->setBuddy(keyword_);

  case_ = new QCheckBox(QStringLiteral("大文字と小文字を区別する(&C)"), this);
  case_->setObjectName(QStringLiteral("Case"));

  presearchLabel_ =
      new QLabel(QStringLiteral("全文検索を本文の途中から検索するための条件(&P)"), this);
  presearchLabel_->setObjectName(QStringLiteral("KeywordPresearchLabel"));
  presearch_ = new QLineEdit(this);
  presearch_->setObjectName(QStringLiteral("KeywordPresearch"));
  presearchLabel_->setBuddy(presearch_);
  presearchHint_ =
      new QLabel(QStringLiteral("（さ から後ろを検索したいときは、さ と指定します。）"), this);
  presearchHint_->setObjectName(QStringLiteral("KeywordPresearchHint"));

  auto* ways = new QGroupBox(this);
  ways->setObjectName(QStringLiteral("Way"));
  joken_ = new QRadioButton(QStringLiteral("条件検索"), ways);
  joken_->setObjectName(QStringLiteral("Joken"));
  cross_ = new QRadioButton(QStringLiteral("ｸﾛｽ検索"), ways);
  cross_->setObjectName(QStringLiteral("Cross"));
  zenbun_ = new QRadioButton(QStringLiteral("全文検索"), ways);
  zenbun_->setObjectName(QStringLiteral("Zenbun"));
  auto* waysLayout = new QHBoxLayout(ways);
  waysLayout->addWidget(joken_);
  waysLayout->addWidget(cross_);
  waysLayout->addWidget(zenbun_);
  waysLayout->addStretch();

  memo_ = new QPlainTextEdit(HelpText(), this);
  memo_->setObjectName(QStringLiteral("Memo1"));
  memo_->setReadOnly(true);
  memo_->setFocusPolicy(Qt::NoFocus);
  QPalette memoPalette = memo_->palette();
  memoPalette.setColor(QPalette::Base, memoPalette.color(QPalette::Button));
  memo_->setPalette(memoPalette);

  buttonSearch_ = new QPushButton(QStringLiteral("検索(&F)"), this);
  buttonSearch_->setObjectName(QStringLiteral("ButtonSearch"));
  buttonSearch_->setDefault(true);
  buttonResume_ = new QPushButton(QStringLiteral("再開(&R)"), this);
  buttonResume_->setObjectName(QStringLiteral("ButtonResume"));
  buttonResume_->setAutoDefault(false);
  buttonResume_->setEnabled(false);
  buttonCancel_ = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
  buttonCancel_->setObjectName(QStringLiteral("ButtonCancel"));
  buttonCancel_->setAutoDefault(false);

  auto* fields = new QVBoxLayout;
  fields->addWidget(keywordLabel);
  fields->addWidget(keyword_);
  fields->addWidget(case_);
  fields->addSpacing(4);
  fields->addWidget(presearchLabel_);
  fields->addWidget(presearch_);
  fields->addWidget(presearchHint_);
  fields->addWidget(ways);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(buttonSearch_);
  buttons->addWidget(buttonResume_);
  buttons->addWidget(buttonCancel_);
  buttons->addStretch();
  auto* top = new QHBoxLayout;
  top->addLayout(fields, 1);
  top->addLayout(buttons);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(memo_, 1);
  resize(sizeHint().width() + 20, sizeHint().height() + 40);

  connect(joken_, &QRadioButton::clicked, this, &TGeneralSearch::WayChangeClick);
  connect(cross_, &QRadioButton::clicked, this, &TGeneralSearch::WayChangeClick);
  connect(zenbun_, &QRadioButton::clicked, this, &TGeneralSearch::WayChangeClick);
  connect(buttonSearch_, &QPushButton::clicked, this, &TGeneralSearch::ButtonSearchClick);
  connect(buttonResume_, &QPushButton::clicked, this, &TGeneralSearch::ButtonResumeClick);
  connect(buttonCancel_, &QPushButton::clicked, this, &TGeneralSearch::ButtonCancelClick);

  FormCreate();
}

TGeneralSearch::~TGeneralSearch() = default;

void TGeneralSearch::SetHistory(const QStringList& words) {
  const QString text = keyword_->currentText();
  keyword_->clear();
  keyword_->addItems(words.mid(0, kHistoryLimit));
  keyword_->setEditText(text);
}

void TGeneralSearch::RememberWord(const QString& word) {
  PushHistoryWord(*keyword_, word, kHistoryLimit);
}

QStringList TGeneralSearch::History() const {
  QStringList words;
  for (int i = 0; i < keyword_->count(); ++i) words << keyword_->itemText(i);
  return words;
}

void TGeneralSearch::SetWordFont(const QFont& font) { keyword_->setFont(font); }

void TGeneralSearch::PlaceBeside(const QWidget& main, const QRect& contentPane, const QRect& area) {
  const QRect frame = main.window()->frameGeometry();
  const QSize own = size().grownBy(FrameMarginsOf(*this));
  QRect at(QPoint(frame.right() + 1, frame.top()), own);
  if (at.right() > area.right()) at.moveLeft(frame.left() - own.width());
  if (at.left() < area.left()) {
    at.moveTopLeft(QPoint(std::max(contentPane.left(), contentPane.right() + 1 - own.width()),
                          contentPane.top()));
  }
  PlaceWindow(*this, at, area);
}

int TGeneralSearch::CurrentBook() const {
  return currentBook_ ? currentBook_() : disk_.CurrentSubbook();
}

bool TGeneralSearch::SelectBook() {
  const int book = CurrentBook();
  if (book < 0) return false;
  return disk_.CurrentSubbook() == book || disk_.SelectSubbook(book);
}

void TGeneralSearch::FormCreate() {
  const bool open = SelectBook();
  joken_->setEnabled(open && disk_.subbook().indexes.Has(kKeywordIndex));
  cross_->setEnabled(open && disk_.subbook().indexes.Has(kCrossIndex));
  if (joken_->isEnabled()) {
    joken_->setChecked(true);
  } else if (cross_->isEnabled()) {
    cross_->setChecked(true);
  } else {
    zenbun_->setChecked(true);
  }
  WayChangeClick();
}

void TGeneralSearch::WayChangeClick() {
  const bool fullText = zenbun_->isChecked();
  buttonResume_->setEnabled(fullText);
  case_->setEnabled(fullText);
  presearch_->setEnabled(fullText);
  presearchLabel_->setEnabled(fullText);
  presearchHint_->setEnabled(fullText);
  QPalette palette = presearch_->palette();
  palette.setColor(QPalette::Base,
                   QApplication::palette().color(fullText ? QPalette::Base : QPalette::Button));
  presearch_->setPalette(palette);
}

void TGeneralSearch::ButtonSearchClick() {
  // The progress box lets input through while a search runs; a second search
  // must not start inside the first.
  if (searching_ || !SelectBook()) return;
  SetSearching(true);
  const bool fullText = zenbun_->isChecked();
  const std::string typed = SjisFromQString(keyword_->currentText());
  std::string status;
  if (fullText) {
    fullText_.Search(typed, case_->isChecked(), SjisFromQString(presearch_->text()), progress_);
    buttonResume_->setEnabled(true);
    status = HitStatus(main_);
  } else if (disk_.BookList() != nullptr) {
    status = IndexConditionSearch(disk_, main_, *disk_.BookList(), typed, cross_->isChecked(),
                                  CurrentBook());
  }
  SetSearching(false);
  emit searchDone({fullText, keyword_->currentText(), status});
}

void TGeneralSearch::ButtonResumeClick() {
  if (searching_ || !SelectBook()) return;
  SetSearching(true);
  fullText_.Resume(SjisFromQString(keyword_->currentText()), case_->isChecked(), progress_);
  buttonResume_->setEnabled(true);
  SetSearching(false);
  emit searchDone({true, keyword_->currentText(), HitStatus(main_)});
}

void TGeneralSearch::ButtonCancelClick() { close(); }

void TGeneralSearch::SetSearching(bool on) {
  searching_ = on;
  emit busyChanged(on);
}

}  // namespace morva
