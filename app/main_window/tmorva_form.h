// TMorvaForm: the one main window. It holds the search conditions on the
// left (four search tabs, the search box, the word list), the content pane on
// the right, the book bar along the top, the status bar and the 後退 button
// under the content, and the main menu. It turns user actions into searches
// (index and menu itself, compound and full-text through its signals) and
// content-view calls, keeps the working state (display mode, pane layout; the
// open book, the search word and the history in its SearchSession) and hands
// it to the settings store when it is destroyed.
//
// The window owns the book-access object (TDisk), the main Wordlist, the book
// bar's list, the display fonts and the content view for its whole life.
// Settings are loaded when it is created and saved when it is destroyed.
//
// Commands that belong to parts built elsewhere (dialogs, other windows, the
// compound and full-text searches, the clipboard watch) are announced by the
// signals below; MorvaWindow (window_wiring.h) connects them for the program
// and calls back the public operations with what came of them. The book
// bar, groups and the start-up search reach the window through the host
// interfaces it implements.
#pragma once

#include <QFont>
#include <QMainWindow>
#include <QPointer>
#include <QRect>
#include <QStringList>
#include <array>
#include <memory>
#include <optional>
#include <string>

#include "app/book_bar/book_opener.h"
#include "app/groups/group_edit_dlg.h"
#include "app/groups/open_group.h"
#include "app/main_window/search_session.h"
#include "app/settings/settings.h"
#include "app/startup/startup_flow.h"
#include "engine/book/book_address.h"
#include "engine/book/book_info.h"
#include "engine/book/book_list.h"
#include "engine/decode/content.h"
#include "view/clipboard_adapter.h"
#include "view/display_fonts.h"

class QAction;
class QKeyEvent;
class QActionGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSpinBox;
class QSplitter;
class QTabWidget;
class QTimer;

namespace morva {

class BookBarWidget;
class ClipboardWatch;
class GuiReporter;
class ProgressBox;
class Reporter;
class SettingsStore;
class TDisk;
class TFindDialog;
class TMyScrollBox;
class TPanel;
class TTextView;
class TWordGrid;
class Wordlist;
struct WordlistItem;
class WordListPainter;

// How a window is made: which settings file, which reporter, which screen.
struct FormOptions {
  // The settings file; empty: <settings directory>MORVA.INI, or the file the
  // start-up request (Parm) names.
  std::string settingsFile;
  // Reads the start-up request (Parm) of the settings file at creation.
  bool readStartupRequest = true;
  // Writes the settings back when the window is destroyed (automation runs
  // leave the file alone).
  bool saveSettings = true;
  // The failure boxes; null: QMessageBox boxes owned by the window.
  Reporter* reporter = nullptr;
  // The usable screen area the window and the windows it opens are placed
  // on; unset: the usable area of the screen the window is on.
  std::optional<QRect> screenArea;
  // The clipboard watch the start-up request takes its word from (it may
  // ask while the window is being made); null: the request has no
  // clipboard word.
  const ClipboardWatch* clipboardWatch = nullptr;
};

class TMorvaForm final : public QMainWindow,
                         public BookOpenView,
                         public SelectBookHost,
                         public GroupHost,
                         public StartupSearchHost {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TMorvaForm)

 public:
  // Window layouts (WindowLayout).
  static constexpr int kBothPanes = 0;
  static constexpr int kConditionOnly = 1;
  static constexpr int kContentOnly = 2;
  static constexpr int kMaxHistory = SearchSession::kMaxHistory;

  explicit TMorvaForm(FormOptions options = {}, QWidget* parent = nullptr);
  ~TMorvaForm() override;

  // The progress box of long operations (borrowed; null: none is shown).
  void SetProgressBox(ProgressBox* progress) { progress_ = progress; }
  // The window's own failure boxes, or null when a reporter was given.
  GuiReporter* guiReporter() { return guiReporter_.get(); }

  // ---- Operations other parts call -----------------------------------------
  // 検索 (both search buttons): the search box's word, its book choice (all
  // books with Kusizasi or Ctrl held), the search and the word list.
  void IndexSearchButtonClick();
  void SearchClicked(bool ctrlHeld);
  // Searches CurrentWord (with the ending-rule retries) in one book, the
  // books of a separator's sub-group, or every marked book (-1), and fills
  // the word list.
  void RunSearch(int position) override;
  // The 複合 tab's search: the query (Shift-JIS) the compound search built
  // from its fields, searched in the open book.
  void SearchCompoundQuery(const std::string& query);
  // Shows a word-list row, or every marked row for -1. keepKeys: the keys
  // stay with the list and the pane layout stays (a row shown by the keys
  // that move the highlight).
  void ShowItem(int row, bool keepKeys = false);
  void ApplyDisplaySettings();
  // The settings were changed (by the options dialog): the engine's and the
  // view's values, the display mode and the fonts follow them, then
  // ApplyDisplaySettings.
  void SettingsChanged();
  void RefreshLayout() override;
  void SetWindowLayout(int layout);
  // Status panel 1: the open book's title, with 【text】 after it when the
  // text (Shift-JIS) is not empty.
  void SetStatus(const std::string& textSjis);
  void SetTitle() override;
  // The tab change of PageControl1 (also from the ﾂｰﾙ menu).
  void PageControl1Change(int tab);
  // 画面語検索 / 画面語条件検索.
  void ScreenWordSearch(bool conditional);
  void ButtonAllClick();
  void ButtonItemClick();
  void MenuSeqClick();
  void Back();
  // The sort popup: tag 0 storage order, 1 heading order.
  void SortBy(int tag);
  // Command 111 of the single-instance channel: read Parm again and run the
  // start-up search.
  void StartupCommand();
  // Opens the group of that name (Shift-JIS) from the group file.
  void OpenGroup(const std::string& name) override;
  // The search word in the box (UTF-8) for automation and tests.
  void SetSearchText(const QString& text);
  // Fills the bar with one book (a volume directory, its first sub-book) and
  // opens it: the developer's --book option.
  void OpenSingleBook(const std::string& directory);
  // Finds the volumes in folder and up to two levels below it and adds their
  // books to the current group (a new group named after the folder when none
  // is open), saving the group file; the group then opens at the first book
  // found. Without a book there, the warning box says so and nothing
  // changes.
  void AddBooksFromFolder(const QString& folder);
  // Lays a tab page's controls and the word list under them out again (the
  // 複合 tab after its shown rows changed).
  void LayOutTab(int tab) { LayOutTabPage(tab); }
  // A search run elsewhere (the general search window) filled the word list:
  // the list is shown afresh and the status (Shift-JIS) goes to panel 0.
  void ShowSearchResult(const std::string& statusSjis);
  // Shows the text at `at` of book-list row `book` in the content pane,
  // formatting it first in item display (the image window's related texts).
  void ShowAddress(int book, BookAddress at);
  // A drive search (driveSearchRequested) refilled the bar with the books of
  // menu: the 辞書 menu lists them, the content view is emptied and no group
  // is open any more.
  void BarRefilled(const std::vector<DicMenuItem>& menu);
  // The drive search is over and replaced the bar: the layout follows it
  // and the bar's first book opens on the 索引 tab.
  void BooksFound();
  // The group editor (groupEditRequested) was left with `result`; `before`
  // is the group (Shift-JIS) that was open when it was opened. The group
  // menu is rebuilt when the file changed, and an accepted editor opens the
  // group it chose.
  void GroupsEdited(GroupEditResult result, const std::string& before);
  // The search history (the search box's items), newest first.
  QStringList SearchHistory() const;
  // The search box's font: the face of the open book's kind at the
  // character height.
  QFont SearchBoxFont() const;

  // ---- State ----------------------------------------------------------------
  TDisk& disk() { return *disk_; }
  Wordlist& wordlist() { return *list_; }
  Settings& settings() { return settings_; }
  const Settings& settings() const { return settings_; }
  SettingsStore& store() { return *store_; }
  DisplayFonts& fonts() { return fonts_; }
  TTextView* view() { return view_.get(); }
  BookBarWidget* bookBarWidget() { return booksGrid_; }
  const std::string& CurrentWord() const { return session_->word(); }
  int CurrentBook() const override { return session_->book(); }
  int ActiveTab() const override { return activeTab_; }
  int WindowLayout() const { return layout_; }
  bool ContinuousDisplay() const { return continuous_; }
  int KeyWidth() const;
  // The usable screen area this window and the windows it opens lie on.
  QRect UsableArea() const;
  // The content pane in screen coordinates (the window's when the pane is
  // hidden).
  QRect ContentPaneRect() const;
  QString StatusText(int panel) const;
  bool Busy() const { return busy_; }
  // The condition pane's tab pages (their contents may be replaced).
  QWidget* TabSheet(int tab) const;
  // The widgets of the 複合 tab.
  struct MultiControls {
    std::array<QLabel*, 5> labels{};
    std::array<QLineEdit*, 5> edits{};
    QSpinBox* upDown = nullptr;
    QPushButton* searchButton = nullptr;
  };
  const MultiControls& multiControls() const { return multi_; }
  // The clipboard watch's flags.
  void SetSearchFromClipboard(bool on) { searchFromClipboard_ = on; }
  void SetCopyResultPending(bool on) { copyResultPending_ = on; }
  // A long operation is running (drawing of the list and the content stops).
  void SetBusy(bool busy);

  // ---- BookOpenView -------------------------------------------------------
  void ShowSearchTabs(const BookTabs& tabs) override;
  void ActivateTab(int tab) override;
  void SetSearchBoxFace(const std::string& faceSjis) override;
  void SetSearchBoxImeMode(int mode) override;
  void CheckDicMenuItem(int entry) override;
  bool WordListEmpty() const override;
  void ShowTitlePage() override;
  void ScrollBarToCell(int entry) override;

  // ---- SelectBookHost -------------------------------------------------------
  void OpenBook(int entry, int preferredTab) override;
  bool SearchBoxEmpty() const override;

  // ---- GroupHost --------------------------------------------------------------
  BookBar& Bar() override { return bar_; }
  std::string& GroupSetting() override { return settings_.group; }
  int BookToOpen() const override { return session_->book(); }
  void ResetVolumes() override;
  void FillDicMenu(const std::vector<DicMenuItem>& items) override;
  void CheckGroupMenuItem(int groupIndex) override;
  void LayoutBar() override;
  void OpenBookOnIndexTab(int entry) override;

  // ---- StartupSearchHost --------------------------------------------------
  const BookBar& Bar() const override { return bar_; }
  std::string TitleGroup() const override { return titleGroup_; }
  std::string RequestedGroup() const override { return settings_.group; }
  void RedrawBookBar() override;
  void BringToFront() override;

 signals:
  // Menu commands carried out by other parts.
  void folderOpenRequested();  // ﾌｧｲﾙ > 辞書ﾌｫﾙﾀﾞを開く
  void driveSearchRequested();  // ﾌｧｲﾙ > ﾄﾞﾗｲﾌﾞをｻｰﾁする (BooksFound after a refill)
  void editorRequested();       // 編集 > ｴﾃﾞｨﾀ起動
  void dumpRequested();         // 表示 > ﾊﾞｲﾅﾘﾀﾞﾝﾌﾟ
  void dicInfoEditRequested();  // ﾂｰﾙ > 辞書個別指定
  void optionsRequested();      // ﾂｰﾙ > ｵﾌﾟｼｮﾝ (SettingsChanged on OK)
  void groupEditRequested();  // ｸﾞﾙｰﾌﾟ > 辞書ｸﾞﾙｰﾌﾟを編集する (GroupsEdited)
  void aboutRequested();  // ﾍﾙﾌﾟ > Morvaについて
  // Help: the contents or the topic finder of a help file (absolute path),
  // or one topic of it (the "?" button).
  void helpContentsRequested(const std::string& helpFile);
  void helpFinderRequested(const std::string& helpFile);
  void helpTopicRequested(const std::string& helpFile, const std::string& topic);
  // The content view followed an image ("G") or sound ("S") marker.
  void imageLinkFollowed(const std::string& marker);
  void soundLinkFollowed(const std::string& marker);
  // The first showing: no group is named and a book was open, so the bar is
  // refilled from the drives before that book opens (handled at once).
  void startupDriveSearchDue();
  // The first showing without a start-up search while the clipboard held
  // text.
  void clipboardCheckDue();
  // The 複合 tab: entered, left, clicked again or chosen again from the
  // menu (next form), and 検索 pressed on it (SearchCompoundQuery).
  void compoundTabEntered();
  void compoundTabLeft();
  void compoundNextFormRequested();
  void compoundSearchRequested();
  // The 総合 tab: entered (also clicked while active) and left.
  void generalTabEntered();
  void generalTabLeft();
  // The search history took a word (Shift-JIS).
  void wordRemembered(const std::string& wordSjis);
  // The window became the active window.
  void windowActivated();
  // The program is about to change the clipboard, or the primary selection,
  // itself.
  void clipboardAboutToChange();
  void selectionAboutToChange();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // Construction (form_controls.cpp, form_menus.cpp).
  void BuildControls();
  // The content pane's hint on adding books, shown while no book is open
  // (form_folder.cpp).
  void BuildFirstStartHint();
  void ShowFirstStartHint();
  void BuildMenus();
  QAction* AddAction(QMenu* menu, const char* name, const QString& caption,
                     const QKeySequence& shortcut = {});
  // Creation and exit (tmorva_form.cpp).
  void LoadSettings(const FormOptions& options);
  void SaveSettings();
  void FormShow();
  void ApplyEngineAndViewSettings();
  void SetContinuous(bool on);
  std::optional<std::string> ClipboardWord();
  // The face (Shift-JIS) of the open book's kind in the present settings
  // (form_hosts.cpp).
  std::string SearchBoxFace() const;

  // Search (form_search.cpp).
  // The word list's moves and the search box's typing (search as you type).
  void ConnectListAndTyping();
  // The search of the open book a pause in typing starts.
  void TypedSearch();
  void FillWordList();
  void AfterIndexSearch(bool logging);
  void AfterSearch();
  void AppendKeywordLog(const std::string& word);
  // Copies a found entry alone (the clipboard search's copied result).
  void CopyEntry(const WordlistItem& item);
  void PushHistory(const std::string& wordSjis);
  void CheckSortItems();

  // Showing (form_show.cpp).
  void ShowInView(int book, BookAddress at);
  void UseViewMode(bool itemMode);
  ViewSettings CurrentViewSettings() const;
  void RebuildGroupMenu();
  void DrawWordListCell(QPainter& painter, int row, const QRect& rect, bool current);
  void CopyCommand();
  void PasteCommand();
  void CopyContent();
  void SearchContentClick();
  void FindNext();

  // Layout (form_layout.cpp).
  int CharHeight() const;
  void LayOutConditionPane();
  void LayOutContentPane();
  void LayOutTabPage(int tab);
  void LayOutBookBarPanel();
  int TabControlsBottom(int tab) const;
  void StackMultiControls();
  void TabClicked(int tab);
  void ToolTabItem(int tab);
  void SetStatusPanel0(const std::string& textSjis);
  void CheckLayoutItem();

  // Keyboard (form_keys.cpp).
  bool PreviewKey(QWidget* target, QKeyEvent* event);
  // The bar's marks follow the Ctrl key: from a key event of any window, and
  // from the keyboard's present state when the window gains or loses the
  // focus (a release seen by no window of ours).
  void TrackCtrl(const QKeyEvent& event);
  void TrackCtrlNow();

  std::unique_ptr<GuiReporter> guiReporter_;
  Reporter* reporter_ = nullptr;
  std::unique_ptr<SettingsStore> store_;
  Settings settings_;
  BookBar bar_;
  std::unique_ptr<TDisk> disk_;
  std::unique_ptr<Wordlist> list_;
  // The open book, the search word and the history.
  std::unique_ptr<SearchSession> session_;
  std::unique_ptr<TContent> content_;
  DisplayFonts fonts_;
  bool fontsCreated_ = false;
  QtClipboard clipboard_;
  std::unique_ptr<TTextView> view_;
  std::unique_ptr<WordListPainter> listPainter_;
  const ClipboardWatch* clipboardWatch_ = nullptr;
  ProgressBox* progress_ = nullptr;

  // Working state.
  bool continuous_ = true;
  int layout_ = kBothPanes;
  int keyWidth_ = 0;
  int activeTab_ = kIndexTab;
  bool busy_ = false;
  bool shown_ = false;
  bool splitterSized_ = false;  // the splitter has been given the pane width
  bool clipboardHadText_ = false;
  bool saveSettings_ = true;
  std::optional<QRect> screenArea_;
  bool searchFromClipboard_ = false;
  bool copyResultPending_ = false;
  bool allShownBySearch_ = false;     // the last search showed all its hits itself
  bool viewItemMode_ = false;         // the view shows a title page in item mode
  std::string titleGroup_;            // the group named in the window title
  bool searchBoxSingleByte_ = false;  // the search box has the face of single-byte books
  std::string openTitle_;             // Shift-JIS title of the open book
  StartupState startup_;
  std::string helpFile_;       // MORVA.HLP, absolute
  std::string titleHelpFile_;  // MORVATITLE.HLP, absolute
  std::string currentHelpFile_;

  // Controls (names as the system's own).
  TPanel* panel1_ = nullptr;
  BookBarWidget* booksGrid_ = nullptr;
  QSplitter* splitter_ = nullptr;
  TPanel* panel2_ = nullptr;
  QTabWidget* pageControl1_ = nullptr;
  std::array<QWidget*, 4> tabSheets_{};
  QComboBox* comboBox1_ = nullptr;
  QPushButton* indexSearchButton_ = nullptr;
  QPushButton* buttonHint_ = nullptr;
  MultiControls multi_;
  TWordGrid* drawGrid1_ = nullptr;
  QWidget* panel21_ = nullptr;
  QPushButton* buttonItem_ = nullptr;
  QPushButton* buttonAll_ = nullptr;
  QWidget* panel3_ = nullptr;
  TMyScrollBox* myScrollBox1_ = nullptr;
  TPanel* panel31_ = nullptr;
  QWidget* statusBar1_ = nullptr;
  std::array<QLabel*, 2> statusPanels_{};
  QPushButton* buttonBack_ = nullptr;
  QMenu* popupMenu1_ = nullptr;
  QMenu* popupMenuSort_ = nullptr;
  TFindDialog* findDialog1_ = nullptr;
  QLabel* firstStartHint_ = nullptr;
  QTimer* typingPause_ = nullptr;  // a single shot, restarted by each edit of the search box

  // Menu items used after construction.
  QAction* cds1_ = nullptr;
  QAction* menuBack_ = nullptr;
  QAction* menuSeq_ = nullptr;
  QAction* menuDicBar_ = nullptr;
  QAction* menuMode_ = nullptr;
  std::array<QAction*, 3> layoutItems_{};
  std::array<QAction*, 4> tabItems_{};
  std::array<QAction*, 2> sortItems_{};
  QMenu* menuDic_ = nullptr;
  QMenu* menuGroup_ = nullptr;
  QAction* editGroupAction_ = nullptr;
};

}  // namespace morva
