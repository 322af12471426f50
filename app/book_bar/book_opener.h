// Opening a book of the bar (OpenBook) and what a click on a bar cell or a
// 辞書 menu item does (SelectBook), kept apart from the main window behind two
// small interfaces so they can be driven by tests.
//
// OpenBook:
//  1. Index -1 opens entry 1 (the first entry after the leading separator);
//     currentBook stays -1 until the open succeeds.
//  2. TDisk::SelectSubbook opens the entry's volume and sub-book.
//  3. Shows the 索引 tab when the book has a keyed word index, 複合 when it
//     has compound searches, ﾒﾆｭｰ when it has a menu.
//  4. Chooses the preferred tab when shown, else the first shown of 索引,
//     複合, ﾒﾆｭｰ.
//  5. Gives the search box the face of Font0 (Font1 for a single-byte book)
//     and the book's input-method mode.
//  6. currentBook := the opened index (-1 on failure); activates the tab.
//  7. On failure warns "ﾄﾞﾗｲﾌﾞ %s に辞書が入っていません。" with the book's
//     directory.
//  8. On success checks the book's 辞書 menu item, shows the title page when
//     the word list is empty and scrolls the bar to the cell.
#pragma once

#include <string>

#include "engine/book/book_list.h"

class QWidget;

namespace morva {

class Reporter;
class TDisk;

// The tabs of the condition pane (their Tags).
enum SearchTab : int { kIndexTab = 0, kMultiTab = 1, kMenuTab = 2, kGeneralTab = 3 };

// Which search tabs a book offers.
struct BookTabs {
  bool index = false;     // a keyed word index
  bool compound = false;  // at least one compound search
  bool menu = false;      // a menu
  bool operator==(const BookTabs&) const = default;
};

// The tabs of the current sub-book of disk (reads its index table page for
// the compound searches).
BookTabs TabsOfCurrentBook(TDisk& disk);

// Step 4. When none of the three tabs is shown the 索引 tab is chosen (the
// window keeps it shown) unless 総合 was preferred.
int ChooseTab(const BookTabs& tabs, int preferredTab);

// What OpenBook needs of the main window.
class BookOpenView {
 public:
  virtual ~BookOpenView() = default;
  // Step 3: show or hide the three optional tabs (総合 is always shown).
  virtual void ShowSearchTabs(const BookTabs& tabs) = 0;
  // Step 6: make the tab current (through the window's tab-change path).
  virtual void ActivateTab(int tab) = 0;
  // Step 5: the search box's face (Shift-JIS face name of the settings) and
  // input-method mode (1 open, 0 closed, -1 no preference).
  virtual void SetSearchBoxFace(const std::string& faceSjis) = 0;
  virtual void SetSearchBoxImeMode(int mode) = 0;
  // Step 8.
  virtual void CheckDicMenuItem(int entry) = 0;
  virtual bool WordListEmpty() const = 0;
  virtual void ShowTitlePage() = 0;
  virtual void ScrollBarToCell(int entry) = 0;
};

struct OpenBookFaces {
  std::string font0Face;  // Shift-JIS face of Font0 (books in JIS text)
  std::string font1Face;  // Shift-JIS face of Font1 (single-byte books)
};

// Runs OpenBook. The disk must have bar set as its book list. Returns the
// opened index, -1 when the book could not be opened (also when index is
// out of range or a separator: nothing is shown then, the bar has no book
// there).
int OpenBook(TDisk& disk, BookBar& bar, int& currentBook, int index, int preferredTab,
             const OpenBookFaces& faces, BookOpenView& view, Reporter& reporter);

// "ﾄﾞﾗｲﾌﾞ %s に辞書が入っていません。" in Shift-JIS.
std::string MissingVolumeMessage(const std::string& locationSjis);

// What SelectBook needs of the main window.
class SelectBookHost {
 public:
  virtual ~SelectBookHost() = default;
  virtual int CurrentBook() const = 0;
  virtual int ActiveTab() const = 0;
  // OpenBook with the present tab preferred, then redraw the bar.
  virtual void OpenBook(int entry, int preferredTab) = 0;
  virtual bool SearchBoxEmpty() const = 0;
  // RunSearch on the entry: one book, or a separator's sub-group.
  virtual void RunSearch(int entry) = 0;
};

// A plain click on a bar cell or a 辞書 menu item: opens the entry when it is
// a book other than the open one, then, on the 索引 tab with a non-empty
// search box, runs the search on the entry (a separator searches its
// sub-group). Entries beyond the bar do nothing.
void SelectBook(SelectBookHost& host, const BookBar& bar, int entry);

// Best effort for the input-method mode of a search box on Linux: Qt has no
// portable way to open or close an input method, so "closed" asks for Latin
// input (Qt::ImhPreferLatin), "open" clears that hint, and -1 leaves the
// hints alone. The mode is kept in the widget's property "morvaImeMode".
void ApplyImeMode(QWidget& searchBox, int mode);

}  // namespace morva
