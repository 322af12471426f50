// What the main window hands on to parts of the program that are built
// elsewhere: each member is called by a menu item, a button or an event of
// TMorvaForm. A hook left unset makes its command do nothing at all.
// TMorvaForm::hooks() gives the struct; fill it before the window is shown.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "app/groups/group_edit_dlg.h"

namespace morva {

struct MainWindowHooks {
  // ﾌｧｲﾙ > ﾄﾞﾗｲﾌﾞをｻｰﾁする (CDS1) and the content menu's N11. showDialog is
  // the SearchDialog setting; returns whether the bar was refilled (the
  // window then calls RefreshLayout and opens the bar's first book on the
  // 索引 tab).
  std::function<bool(bool showDialog)> driveSearch;
  // ﾌｧｲﾙ > 辞書ﾌｫﾙﾀﾞを開く (OpenFolder): chooses a folder and adds its books
  // (TMorvaForm::AddBooksFromFolder).
  std::function<void()> openFolder;
  // The drive search at the first showing, when no group is named and Book
  // is not negative: refills the bar and the 辞書 menu without a dialog or a
  // warning; the window then opens book Book itself.
  std::function<void()> startupDriveSearch;
  // 編集 > ｴﾃﾞｨﾀ起動 (Editor): the shown content to the external editor.
  std::function<void()> editor;
  // ﾂｰﾙ > 辞書個別指定 (MenuEditDicInfo): the open book's section of the
  // per-book information file in the external editor.
  std::function<void()> editDicInfo;
  // ﾂｰﾙ > ｵﾌﾟｼｮﾝ (Option1): the options dialog. The window calls
  // ApplyDisplaySettings afterwards when it returns true.
  std::function<bool()> options;
  // 表示 > ﾊﾞｲﾅﾘﾀﾞﾝﾌﾟ (Dump): the dump window at the shown address.
  std::function<void()> dump;
  // A followed image ("G") or sound ("S") marker of the content view.
  std::function<void(std::string_view marker)> image;
  std::function<void(std::string_view marker)> sound;
  // ﾍﾙﾌﾟ: 目次 (tag 0, MORVA.HLP) and 動作確認CD-ROMｶﾀﾛｸﾞ (tag 1,
  // MORVATITLE.HLP) with the help file's absolute path; ﾄﾋﾟｯｸの検索 with the
  // current help file; "?" (ButtonHint) with topic "SakuinKensaku".
  std::function<void(const std::string& helpFile)> helpContents;
  std::function<void(const std::string& helpFile)> helpFinder;
  std::function<void(const std::string& helpFile, const std::string& topic)> helpTopic;
  // ｸﾞﾙｰﾌﾟ > 辞書ｸﾞﾙｰﾌﾟを編集する (E1): a dialog of its own instead of the
  // group editor, telling how it was left; and what the group editor needs
  // (folder search, colours, the warning box).
  std::function<GroupEditResult()> editGroups;
  GroupEditHooks groupEditor;
  // ﾍﾙﾌﾟ > Morvaについて (About1).
  std::function<void()> about;

  // The 複合 tab (compound search): entering and leaving the tab, stepping
  // to the next form (複合検索 chosen again, the active tab clicked), and
  // building the query of the filled fields (Shift-JIS) when 検索 is pressed
  // on that tab; an empty query searches nothing. A compound-tab controller
  // that handles its 検索 button itself may leave multiQuery unset and call
  // TMorvaForm::SearchCompoundQuery instead.
  std::function<void()> multiTabEnter;
  std::function<void()> multiTabLeave;
  std::function<void()> multiNextForm;
  std::function<std::string()> multiQuery;
  // Lays the 複合 tab's fields out in a page of that width at the character
  // height (instead of the window's plain stacking of the five fields).
  std::function<void(int pageWidth, int charHeight)> multiTabLayout;
  // The 総合 tab (full-text search window): entering (also clicking the
  // active tab) and leaving; historyWord receives every word the history
  // takes, for the full-text window's own word box.
  std::function<void()> generalTabEnter;
  std::function<void()> generalTabLeave;
  std::function<void(const std::string& wordSjis)> historyWord;

  // The clipboard check at the first showing (when the clipboard held text at
  // creation and no start-up search was due).
  std::function<void()> clipboardCheck;
  // The clipboard text as a search word for the start-up request (nothing:
  // none).
  std::function<std::string()> clipboardWord;
  // The window became the active window (the clipboard watch acts then).
  std::function<void()> activated;
  // The program is about to change the clipboard itself (a copy), so the
  // clipboard watch can ignore that change.
  std::function<void()> ownClipboardChange;
  // The same for the primary selection (the content pane offers its
  // selection there).
  std::function<void()> ownSelectionChange;
};

}  // namespace morva
