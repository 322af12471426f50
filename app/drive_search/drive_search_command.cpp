#include "app/drive_search/drive_search_command.h"

#include "app/drive_search/drive_walk.h"
#include "app/settings/settings.h"
#include "engine/book/report.h"
#include "engine/book/tdisk.h"
#include "engine/book/text_utils.h"

namespace morva {

const std::string& NoBookFoundMessage() {
  static const std::string text = Sjis(
      "辞書が見つかりません．辞書をﾊｰﾄﾞﾃﾞｨｽｸにｺﾋﾟｰしているときは，「深さ」を調節してください．");
  return text;
}

namespace {

// Searches into the bar; returns whether a book was found.
bool FinishDriveSearch(TDisk& disk, BookBar& bar, const Settings& settings, ProgressBox* progress,
                       const DriveSearchRefilled& refilled) {
  DriveSearchResult result =
      SearchDrives(disk, settings.searchRoots, settings.searchDepth, progress);
  // The disk reads the caller's list: replace its contents, not the list.
  bar = std::move(result.bar);
  if (refilled) refilled(result.menu);
  if (!result.menu.empty()) return true;
  disk.reporter().Warning(NoBookFoundMessage());
  return false;
}

}  // namespace

void StartupDriveSearch(
    TDisk& disk, BookBar& bar, const Settings& settings, ProgressBox* progress,
    const std::function<void(const std::vector<DicMenuItem>& items)>& fillDicMenu) {
  DriveSearchResult result =
      SearchDrives(disk, settings.searchRoots, settings.searchDepth, progress);
  bar = std::move(result.bar);
  if (fillDicMenu) fillDicMenu(result.menu);
}

bool DriveSearchCommand(TDisk& disk, BookBar& bar, Settings& settings, ProgressBox* progress,
                        const DriveSearchRefilled& refilled, const DriveSearchDialog& showDialog,
                        QWidget* dialogParent) {
  bool searched = false;
  if (!settings.searchDialog) {
    searched = true;
    if (FinishDriveSearch(disk, bar, settings, progress, refilled)) return true;
  }
  DriveSearchChoice choice{settings.searchRoots, settings.searchDepth, settings.searchDialog};
  bool ok = false;
  if (showDialog) {
    ok = showDialog(&choice);
  } else {
    TDriveSearch dialog(dialogParent);
    dialog.Fill(choice);
    ok = dialog.exec() == QDialog::Accepted;
    if (ok) choice = dialog.Result();
  }
  if (!ok) return searched;
  settings.searchRoots = choice.roots;
  settings.searchDepth = choice.depth;
  settings.searchDialog = choice.showDialog;
  FinishDriveSearch(disk, bar, settings, progress, refilled);
  return true;
}

}  // namespace morva
