// MorvaWindow: the drive search — the menu command (CDS1, N11), the search
// at the first showing, and the group editor's ﾄﾞﾗｲﾌﾞｻｰﾁ button. All three
// walk the search roots (SearchRoots) with the progress box; the editor's
// are those typed in it. Also the folder whose books ﾌｧｲﾙ > 辞書ﾌｫﾙﾀﾞを開く
// or a drop on the window adds to the group.
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include "app/drive_search/drive_search_command.h"
#include "app/drive_search/drive_walk.h"
#include "app/groups/group_table.h"
#include "app/main_window/window_wiring.h"
#include "app/settings/settings.h"
#include "engine/book/tdisk.h"
#include "view/ttextview.h"

namespace morva {
namespace {

// The local folders among dropped URLs.
QStringList DroppedFolders(const QMimeData* data) {
  QStringList folders;
  if (data == nullptr) return folders;
  for (const QUrl& url : data->urls())
    if (url.isLocalFile() && QFileInfo(url.toLocalFile()).isDir())
      folders.append(url.toLocalFile());
  return folders;
}

}  // namespace

void MorvaWindow::WireDriveSearch() {
  TMorvaForm* form = form_.get();
  // DriveSearchCommand reads the SearchDialog setting itself. When it
  // refilled the bar, the form lays itself out and opens the bar's first
  // book.
  connect(form, &TMorvaForm::driveSearchRequested, this, [this] {
    auto showDialog = [this](DriveSearchChoice* choice) {
      TDriveSearch dialog(form_.get());
      dialog.Fill(*choice);
      if (ExecDialog(dialog) != QDialog::Accepted) return false;
      *choice = dialog.Result();
      return true;
    };
    TMorvaForm& form = *form_;
    auto refilled = [&form](const std::vector<DicMenuItem>& menu) { form.BarRefilled(menu); };
    if (DriveSearchCommand(form.disk(), form.Bar(), form.settings(), progressBox_, refilled,
                           showDialog, &form))
      form.BooksFound();
  });

  connect(form, &TMorvaForm::folderOpenRequested, this, [this] {
    const QString initial = QDir::homePath();
    std::optional<QString> folder;
    if (options_.chooseFolder) {
      folder = options_.chooseFolder(initial);
    } else {
      const QString chosen = QFileDialog::getExistingDirectory(
          form_.get(), QStringLiteral("辞書ﾌｫﾙﾀﾞを開く"), initial);
      if (!chosen.isEmpty()) folder = chosen;
    }
    if (folder) form_->AddBooksFromFolder(*folder);
  });

  connect(form, &TMorvaForm::startupDriveSearchDue, this, [this] {
    StartupDriveSearch(
        form_->disk(), form_->Bar(), form_->settings(), progressBox_,
        [this](const std::vector<DicMenuItem>& items) { form_->FillDicMenu(items); });
  });
}

// The group editor's folder field is the SearchRoots setting: what is typed
// there is searched and kept.
std::vector<FoundSubbook> MorvaWindow::SearchFolders(const std::string& roots, int depth) {
  form_->settings().searchRoots = roots;
  form_->settings().searchDepth = depth;
  const DriveSearchResult result = SearchDrives(form_->disk(), roots, depth, progressBox_);
  std::vector<FoundSubbook> found;
  for (const DicMenuItem& item : result.menu) {
    const BookBarEntry& entry = result.bar[static_cast<size_t>(item.entry)];
    found.push_back({item.title, entry.location, entry.subbook + 1});
  }
  return found;
}

bool MorvaWindow::DropEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      auto* drag = static_cast<QDragMoveEvent*>(event);
      if (DroppedFolders(drag->mimeData()).isEmpty()) drag->ignore();
      else drag->acceptProposedAction();
      return true;
    }
    case QEvent::Drop: {
      auto* drop = static_cast<QDropEvent*>(event);
      const QStringList folders = DroppedFolders(drop->mimeData());
      if (folders.isEmpty()) return false;
      drop->acceptProposedAction();
      for (const QString& folder : folders) form_->AddBooksFromFolder(folder);
      return true;
    }
    default: return false;
  }
}

}  // namespace morva
