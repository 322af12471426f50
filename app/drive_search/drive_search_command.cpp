#include "app/drive_search/drive_search_command.h"

#include "app/drive_search/drive_walk.h"
#include "app/settings/settings.h"
#include "engine/book/report.h"
#include "engine/book/tdisk.h"
#include "engine/book/text_utils.h"

namespace morva {

const std::string& NoBookFoundMessage() {
  static const std::string text =
      Sjis("辞書が見つかりません．辞書をﾊｰﾄﾞﾃﾞｨｽｸにｺﾋﾟｰしているときは，「深さ」を調節してください．");
  return text;
}

bool FinishDriveSearch(TDisk& disk, BookBar& bar, const Settings& settings, ProgressBox* progress,
                       const DriveSearchHooks& hooks) {
  DriveSearchResult result = SearchDrives(disk, settings.searchRoots, settings.searchDepth, progress);
  // The disk reads the caller's list: replace its contents, not the list.
  bar = std::move(result.bar);
  if (hooks.fillDicMenu) hooks.fillDicMenu(result.menu);
  if (hooks.resetContentView) hooks.resetContentView();
  if (hooks.clearGroupName) hooks.clearGroupName();
  if (hooks.openFirstBook) hooks.openFirstBook();
  if (hooks.refreshLayout) hooks.refreshLayout();
  if (!result.menu.empty()) return true;
  disk.reporter().Warning(NoBookFoundMessage());
  return false;
}

void StartupDriveSearch(TDisk& disk, BookBar& bar, const Settings& settings, ProgressBox* progress,
                        const std::function<void(const std::vector<DicMenuItem>& items)>& fillDicMenu) {
  DriveSearchResult result = SearchDrives(disk, settings.searchRoots, settings.searchDepth, progress);
  bar = std::move(result.bar);
  if (fillDicMenu) fillDicMenu(result.menu);
}

bool DriveSearchCommand(TDisk& disk, BookBar& bar, Settings& settings, ProgressBox* progress,
                        const DriveSearchHooks& hooks, QWidget* dialogParent) {
  bool searched = false;
  if (!settings.searchDialog) {
    searched = true;
    if (FinishDriveSearch(disk, bar, settings, progress, hooks)) return true;
  }
  DriveSearchChoice choice{settings.searchRoots, settings.searchDepth, settings.searchDialog};
  bool ok = false;
  if (hooks.showDialog) {
    ok = hooks.showDialog(&choice);
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
  FinishDriveSearch(disk, bar, settings, progress, hooks);
  return true;
}

}  // namespace morva
