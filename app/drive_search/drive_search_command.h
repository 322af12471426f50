// The drive-search command of the ﾌｧｲﾙ menu and the content view's context
// menu, as steps that call back into the main window.
//
// DriveSearchCommand: with SearchDialog off the search runs at once; the
// dialog is shown when SearchDialog is on or that search found nothing. OK
// stores the dialog's choice in the settings and searches; Cancel changes
// nothing.
//
// FinishDriveSearch: searches, puts the result into the book bar (the
// caller's list, which the disk borrows), then resets the content view,
// clears the group name, opens the first book and refreshes the layout; with
// no book found it warns "辞書が見つかりません．辞書をﾊｰﾄﾞﾃﾞｨｽｸにｺﾋﾟｰしているとき
// は，「深さ」を調節してください．" through the disk's reporter.
#pragma once

#include <functional>
#include <vector>

#include "app/book_bar/dic_menu.h"
#include "app/drive_search/tdrive_search.h"
#include "engine/book/book_list.h"

namespace morva {

class ProgressBox;
class TDisk;
struct Settings;

struct DriveSearchHooks {
  // Shows the dialog filled with *choice; true on OK with *choice updated.
  // Default: a TDriveSearch with the given parent.
  std::function<bool(DriveSearchChoice* choice)> showDialog;
  std::function<void(const std::vector<DicMenuItem>& items)> fillDicMenu;  // after emptying it
  std::function<void()> resetContentView;
  std::function<void()> clearGroupName;   // no group is open afterwards
  std::function<void()> openFirstBook;    // OpenBook(-1) on the 索引 tab
  std::function<void()> refreshLayout;    // RefreshLayout
};

// The warning when nothing was found (Shift-JIS).
const std::string& NoBookFoundMessage();

// Returns whether a book was found.
bool FinishDriveSearch(TDisk& disk, BookBar& bar, const Settings& settings, ProgressBox* progress,
                       const DriveSearchHooks& hooks);

// Returns whether a search ran (the bar was refilled); false when the dialog
// was cancelled.
bool DriveSearchCommand(TDisk& disk, BookBar& bar, Settings& settings, ProgressBox* progress,
                        const DriveSearchHooks& hooks, QWidget* dialogParent = nullptr);

// The search at start-up (no group named, Book not negative): SearchDrives
// into the bar and the 辞書 menu, without the dialog, the warning or any of
// the other steps; the window opens book Book itself afterwards.
void StartupDriveSearch(TDisk& disk, BookBar& bar, const Settings& settings, ProgressBox* progress,
                        const std::function<void(const std::vector<DicMenuItem>& items)>& fillDicMenu);

}  // namespace morva
