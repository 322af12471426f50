// TGeneralSearch: the window "総合検索" of the 総合 tab. It searches the open
// book in one of three ways chosen with the radio buttons Joken (条件検索, a
// keyword-index query), Cross (ｸﾛｽ検索, a cross-index query) and Zenbun
// (全文検索, the full-text search, which can be resumed where it stopped),
// leaving the hits in the main word list.
//
// The window borrows the main window's disk, word list, full-text search
// (whose position and hit count outlive the window, so a new window can still
// resume) and progress box; all must outlive it. After every search the done
// handler is called so the main window can show the word list. The word box
// (Keyword) starts with the main window's history and follows the same rule
// after each search of the main window (RememberWord).
//
// Texts handed to the engine are Shift-JIS, converted from what was typed.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>

class QCheckBox;
class QComboBox;
class QFont;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace morva {

class FullTextSearch;
class ProgressBox;
class TDisk;
class Wordlist;

class TGeneralSearch final : public QDialog {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TGeneralSearch)

 public:
  static constexpr int kHistoryLimit = 50;

  // What a finished search left.
  struct Done {
    bool fullText = false;
    QString query;  // the Keyword text searched
    std::string
        status;  // Shift-JIS: "%d 項目", "該当項目なし" or, from the index, "索引が存在しない"
  };
  // The book-list position of the open book (the main window's CurrentBook);
  // without one the disk's current sub-book is searched.
  using BookProvider = std::function<int()>;

  TGeneralSearch(TDisk& disk, Wordlist& main, FullTextSearch& fullText, ProgressBox& progress,
                 QWidget* parent = nullptr);
  ~TGeneralSearch() override;

  void SetBookProvider(BookProvider provider) { currentBook_ = std::move(provider); }

  // The main window's history, newest first, as Keyword's items.
  void SetHistory(const QStringList& words);
  // The history rule after a search of word: moved or added to the top,
  // at most kHistoryLimit items. Keyword's text is kept.
  void RememberWord(const QString& word);
  QStringList History() const;
  // The word box's font (the main window gives it the current book kind's).
  void SetWordFont(const QFont& font);

  // Places the window where it leaves the main window's word list (where its
  // results appear) in sight: to the right of `main`, or to its left, when
  // the usable screen area has room there; else over the content pane
  // (`contentPane`, in screen coordinates), at its right edge.
  void PlaceBeside(const QWidget& main, const QRect& contentPane, const QRect& area);

  // The radio buttons by the open book's indexes: Joken needs the keyword
  // index 0x80, Cross the cross index 0x81; the first enabled of them is
  // selected, else Zenbun. Runs on creation; call again after the main window
  // opened another book while the window exists.
  void FormCreate();
  // The controls of the full-text search are usable only with Zenbun.
  void WayChangeClick();
  // 検索(&F): a full-text search from the start, or the index condition
  // search; then the done handler.
  void ButtonSearchClick();
  // 再開(&R): the full-text search goes on; then the done handler.
  void ButtonResumeClick();
  // ｷｬﾝｾﾙ: closes the window.
  void ButtonCancelClick();

  bool Searching() const { return searching_; }

 signals:
  // A search finished.
  void searchDone(const TGeneralSearch::Done& done);
  // True before a search changes the main list and false after it: while
  // the full-text search runs, input is processed (the progress box) and the
  // main window must not draw the list it fills.
  void busyChanged(bool busy);

 private:
  bool SelectBook();
  int CurrentBook() const;
  void SetSearching(bool on);

  TDisk& disk_;
  Wordlist& main_;
  FullTextSearch& fullText_;
  ProgressBox& progress_;
  BookProvider currentBook_;
  bool searching_ = false;

  QComboBox* keyword_ = nullptr;
  QCheckBox* case_ = nullptr;
  QLabel* presearchLabel_ = nullptr;
  QLineEdit* presearch_ = nullptr;
  QLabel* presearchHint_ = nullptr;
  QRadioButton* joken_ = nullptr;
  QRadioButton* cross_ = nullptr;
  QRadioButton* zenbun_ = nullptr;
  QPushButton* buttonSearch_ = nullptr;
  QPushButton* buttonResume_ = nullptr;
  QPushButton* buttonCancel_ = nullptr;
  QPlainTextEdit* memo_ = nullptr;
};

// The history rule on a combo box's items: word moves (or is added) to the
// top; beyond `limit` items the last goes. The box's edit text is kept.
void PushHistoryWord(QComboBox& box, const QString& word, int limit);

}  // namespace morva
