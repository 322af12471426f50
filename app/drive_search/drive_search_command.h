// The drive-search command of the ﾌｧｲﾙ menu and the content view's context
// menu.
//
// DriveSearchCommand: with SearchDialog off the search runs at once; the
// dialog is shown when SearchDialog is on or that search found nothing. OK
// stores the dialog's choice in the settings and searches; Cancel changes
// nothing.
//
// Each search puts its result into the book bar (the caller's list, which
// the disk borrows) and hands the books found to `refilled` (the main window
// fills its 辞書 menu, resets the content view and forgets the group); with
// no book found it then warns "辞書が見つかりません．辞書をﾊｰﾄﾞﾃﾞｨｽｸにｺﾋﾟｰしているとき
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

// The books a search found, as the 辞書 menu's items.
using DriveSearchRefilled = std::function<void(const std::vector<DicMenuItem>& menu)>;
// Shows the dialog filled with *choice; true on OK with *choice updated.
using DriveSearchDialog = std::function<bool(DriveSearchChoice* choice)>;

// The warning when nothing was found (Shift-JIS).
const std::string& NoBookFoundMessage();

// Returns whether a search ran (the bar was refilled); false when the dialog
// was cancelled. showDialog unset: a TDriveSearch with the given parent.
bool DriveSearchCommand(TDisk& disk, BookBar& bar, Settings& settings, ProgressBox* progress,
                        const DriveSearchRefilled& refilled,
                        const DriveSearchDialog& showDialog = {}, QWidget* dialogParent = nullptr);

// The search at start-up (no group named, Book not negative): SearchDrives
// into the bar and the 辞書 menu, without the dialog, the warning or any of
// the other steps; the window opens book Book itself afterwards.
void StartupDriveSearch(
    TDisk& disk, BookBar& bar, const Settings& settings, ProgressBox* progress,
    const std::function<void(const std::vector<DicMenuItem>& items)>& fillDicMenu);

}  // namespace morva
