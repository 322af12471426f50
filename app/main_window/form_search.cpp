// TMorvaForm: running searches — the search button, the ending-rule
// retries, filling the word list, the keyword log, the history, the sort
// order and the screen-word searches.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTimer>
#include <cstdio>

#include "app/clipboard/editor_output.h"
#include "app/main_window/find_dialog.h"
#include "app/main_window/tmorva_form.h"
#include "app/main_window/word_grid.h"
#include "app/main_window/word_list_painter.h"
#include "app/main_window/word_rules.h"
#include "app/settings/settings_store.h"
#include "engine/book/tdisk.h"
#include "engine/decode/content.h"
#include "engine/search/index_search.h"
#include "engine/search/wordlist.h"
#include "engine/text/sjis.h"
#include "engine/text/unicode.h"
#include "view/qt_conversions.h"
#include "view/ttextview.h"

namespace morva {
namespace {

// The pause in typing after which the typed word is searched.
constexpr int kTypingPauseMs = 350;

}  // namespace

void TMorvaForm::IndexSearchButtonClick() {
  SearchClicked((QGuiApplication::keyboardModifiers() & Qt::ControlModifier) != 0);
}

void TMorvaForm::SearchClicked(bool ctrlHeld) {
  if (activeTab_ == kMultiTab) {
    // The compound search builds its query from the fields and hands it to
    // SearchCompoundQuery.
    emit compoundSearchRequested();
    return;
  }
  if (activeTab_ != kIndexTab) return;

  const std::string typed(SjisCut(SjisFromQString(comboBox1_->currentText()), kMaxSearchWord));
  session_->SetWord(session_->Prepare(typed));
  if (session_->word() != typed) comboBox1_->setEditText(QStringFromSjis(session_->word()));
  int position = session_->book();
  if (settings_.kusizasi) position = -1;
  else if (!searchFromClipboard_ && ctrlHeld) position = -1;
  RunSearch(position);
  AfterSearch();
}

void TMorvaForm::SearchCompoundQuery(const std::string& query) {
  if (!query.empty()) {
    session_->SetWord(query);
    RunSearch(session_->book());
  }
  AfterSearch();
}

void TMorvaForm::RunSearch(int position) {
  // A confirmed search replaces the one a pause in typing would start.
  typingPause_->stop();
  const SearchSession::Outcome outcome = session_->SearchWord(
      position,
      [this](const std::string& retried) { comboBox1_->setEditText(QStringFromSjis(retried)); });
  SetStatusPanel0(outcome.status);
  FillWordList();
  AfterIndexSearch(activeTab_ == kIndexTab);
}

void TMorvaForm::ConnectListAndTyping() {
  // With ArrowShows the row the keys move to is shown; the keys stay with
  // the list. An empty list has no row to show (and the pane keeps its text).
  connect(drawGrid1_, &TWordGrid::rowMoved, this, [this](int row) {
    if (settings_.arrowShows && row < list_->Count()) ShowItem(row, true);
  });
  typingPause_ = new QTimer(this);
  typingPause_->setSingleShot(true);
  typingPause_->setInterval(kTypingPauseMs);
  connect(typingPause_, &QTimer::timeout, this, [this] { TypedSearch(); });
  // Only the user's own edits count: a word the program puts in the box (the
  // history, the clipboard, a retried ending) starts nothing.
  connect(comboBox1_->lineEdit(), &QLineEdit::textEdited, this, [this] {
    if (settings_.searchAsYouType && activeTab_ == kIndexTab) typingPause_->start();
  });
}

// A search while the word is typed: the open book only, the box left as the
// user typed it, and none of what a confirmed search does (history, keyword
// log, all hits shown, a copied result) until Enter or 検索. An emptied box
// empties the list; the content pane keeps what it shows.
void TMorvaForm::TypedSearch() {
  if (!settings_.searchAsYouType || activeTab_ != kIndexTab) return;
  if (busy_) {
    // A long operation is running: the search waits for another pause.
    typingPause_->start();
    return;
  }
  if (session_->OpenBookInfo() == nullptr) return;
  const std::string typed = SjisFromQString(comboBox1_->currentText());
  if (typed.empty()) {
    list_->Empty();
    SetStatusPanel0({});
  } else {
    SetStatusPanel0(session_->Search(session_->Prepare(typed), session_->book()).status);
  }
  FillWordList();
}

void TMorvaForm::ShowSearchResult(const std::string& statusSjis) {
  SetStatusPanel0(statusSjis);
  FillWordList();
  CheckSortItems();
}

QStringList TMorvaForm::SearchHistory() const {
  QStringList words;
  for (int i = 0; i < comboBox1_->count(); ++i) words << comboBox1_->itemText(i);
  return words;
}

QFont TMorvaForm::SearchBoxFont() const { return comboBox1_->font(); }

void TMorvaForm::FillWordList() {
  listPainter_->Invalidate();
  drawGrid1_->SetRowCount(std::max(1, list_->Count()));
  drawGrid1_->ScrollToTop();
  drawGrid1_->Redraw();
}

void TMorvaForm::AfterIndexSearch(bool indexTab) {
  allShownBySearch_ = !continuous_ && settings_.autoAll;
  if (allShownBySearch_) {
    ButtonAllClick();
  } else if (!list_->IsEmpty() && indexTab) {
    AppendKeywordLog(session_->word());
    findDialog1_->SetFindText(QStringFromSjis(session_->word()));
  }
  if (!indexTab) return;
  comboBox1_->lineEdit()->selectAll();
  PushHistory(session_->word());
}

void TMorvaForm::AfterSearch() {
  if (searchFromClipboard_ && !list_->IsEmpty()) {
    BringToFront();
    if (copyResultPending_ && view_) {
      // The result copied is what this search found: its first entry is
      // shown first (unless all hits are shown already), so that neither the
      // title page nor the entry shown before goes over the copied word.
      if (allShownBySearch_) {
        view_->CopySelection();
      } else {
        ShowItem(0);
        CopyEntry(list_->Item(0));
      }
    }
  }
  searchFromClipboard_ = false;
  copyResultPending_ = false;
  CheckSortItems();
}

void TMorvaForm::CopyEntry(const WordlistItem& item) {
  // Continuous display shows the entries that follow as well: the entry
  // alone is formatted for the copy.
  if (!continuous_) {
    view_->CopySelection();
    return;
  }
  std::string marked;
  content_->FormatItemTo(item.book, item.body, &marked);
  // Mapped external characters are not in Shift-JIS: the text stays UTF-8.
  std::string text = MarkedToPlainUtf8(marked, disk_->decoderState().unicodeMap);
  // One line end after the entry, as a copy of the whole entry from the pane.
  while (!text.empty() && text.back() == '\n') text.pop_back();
  if (text.empty()) return;
  const bool severalLines = text.find('\n') != std::string::npos;
  text += '\n';
  // Long or multi-line copies name the book's source, as the pane's copies do.
  if ((Utf8ToSjis(text).size() > 80 || severalLines) && disk_->SelectSubbook(item.book) &&
      !disk_->info().source.empty())
    text += "\n" + SjisToUtf8(disk_->info().source) + "\n";
  clipboard_.SetText(text);
}

void TMorvaForm::AppendKeywordLog(const std::string& word) {
  if (settings_.keywordFile.empty()) return;
  const std::string path = store_->ResolvePath(settings_.keywordFile);
  // A log that cannot be opened is skipped without a word.
  if (std::FILE* file = std::fopen(path.c_str(), "a")) {
    std::fwrite(word.data(), 1, word.size(), file);
    std::fputc('\n', file);
    std::fclose(file);
  }
}

void TMorvaForm::PushHistory(const std::string& wordSjis) {
  if (wordSjis.empty()) return;
  // The box's items mirror the session's history.
  if (session_->Remember(wordSjis)) {
    const QString word = QStringFromSjis(wordSjis);
    const QString edit = comboBox1_->currentText();
    const int found = comboBox1_->findText(word, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (found > 0) comboBox1_->removeItem(found);
    comboBox1_->insertItem(0, word);
    while (comboBox1_->count() > kMaxHistory) comboBox1_->removeItem(comboBox1_->count() - 1);
    comboBox1_->setCurrentIndex(-1);
    comboBox1_->setEditText(edit);
    comboBox1_->lineEdit()->selectAll();
  }
  emit wordRemembered(wordSjis);
}

void TMorvaForm::CheckSortItems() {
  for (int tag = 0; tag < 2; ++tag)
    sortItems_[static_cast<size_t>(tag)]->setChecked(settings_.sort == tag + 1);
}

void TMorvaForm::SortBy(int tag) {
  settings_.sort = tag + 1;
  disk_->settings().sort = settings_.sort;
  CheckSortItems();
  if (list_->IsEmpty()) return;
  if (tag == 0) list_->SortByBookAndBody();
  else list_->SortByName(*disk_);
  FillWordList();
}

void TMorvaForm::ScreenWordSearch(bool conditional) {
  if (!view_ || session_->book() < 0 || !pageControl1_->isTabVisible(kIndexTab)) return;
  const std::string selected = view_->SelectionText(true, 126);
  if (activeTab_ != kIndexTab) ActivateTab(kIndexTab);
  session_->SetWord(session_->ScreenWord(selected, conditional));
  comboBox1_->setEditText(QStringFromSjis(session_->word()));
  comboBox1_->setFocus();
  IndexSearchButtonClick();
}

}  // namespace morva
