// TMorvaForm: adding the books of a folder to the current group (ﾌｧｲﾙ >
// 辞書ﾌｫﾙﾀﾞを開く, a folder dropped on the window, a folder named on the
// command line), and the hint the content pane shows while no book is open.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QVBoxLayout>

#include "app/drive_search/drive_walk.h"
#include "app/groups/add_books.h"
#include "app/main_window/tmorva_form.h"
#include "app/settings/settings_store.h"
#include "engine/book/group_file.h"
#include "engine/book/report.h"
#include "engine/book/tdisk.h"
#include "engine/book/text_utils.h"
#include "engine/text/sjis.h"
#include "engine/text/unicode.h"
#include "view/qt_conversions.h"
#include "view/tmyscrollbox.h"

namespace morva {
namespace {

// How far below the chosen folder volumes are looked for: a volume folder
// itself (0), a folder of volumes (1), or one more level of sorting (2).
constexpr int kFolderDepth = 2;

// The group made for the books when none is open: the folder's name, or a
// plain one when that cannot be a group name.
std::string NewGroupNameFor(const QString& folder) {
  std::string name(SjisCut(SjisFromQString(QFileInfo(folder).fileName()), 79));
  if (name.empty() || GroupNameProblem(name)) name = Sjis("辞書");
  return name;
}

}  // namespace

void TMorvaForm::BuildFirstStartHint() {
  // On the content pane's viewport, above the empty view; clicks and wheel
  // turns go through to the pane.
  QWidget* viewport = myScrollBox1_->viewport();
  auto* layout = new QVBoxLayout(viewport);
  layout->setSizeConstraint(QLayout::SetNoConstraint);
  layout->setContentsMargins(16, 16, 16, 16);
  firstStartHint_ = new QLabel(viewport);
  firstStartHint_->setObjectName(QStringLiteral("FirstStartHint"));
  firstStartHint_->setTextFormat(Qt::PlainText);
  firstStartHint_->setWordWrap(true);
  firstStartHint_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  firstStartHint_->setAttribute(Qt::WA_TransparentForMouseEvents);
  firstStartHint_->setText(QStringLiteral(
      "辞書が開かれていません．辞書を加えるには：\n\n"
      "・ﾌｧｲﾙ > 辞書ﾌｫﾙﾀﾞを開く で辞書の入ったﾌｫﾙﾀﾞを選ぶと，その中（2段下まで）の辞書が"
      "今のｸﾞﾙｰﾌﾟに加わり，最初の辞書が開きます．\n"
      "・辞書の入ったﾌｫﾙﾀﾞをこのｳｨﾝﾄﾞｳにﾄﾞﾛｯﾌﾟしても同じです．\n"
      "・ｸﾞﾙｰﾌﾟ > 辞書ｸﾞﾙｰﾌﾟを編集する では，辞書を探してｸﾞﾙｰﾌﾟを作り，並べ替えられます．"));
  layout->addWidget(firstStartHint_);
  firstStartHint_->hide();
}

void TMorvaForm::ShowFirstStartHint() { firstStartHint_->setVisible(session_->book() < 0); }

void TMorvaForm::AddBooksFromFolder(const QString& folder) {
  const QString absolute = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
  const DriveSearchResult result =
      SearchFolder(*disk_, QFile::encodeName(absolute).toStdString(), kFolderDepth, progress_);
  std::vector<FoundSubbook> found;
  for (const DicMenuItem& item : result.menu) {
    const BookBarEntry& entry = result.bar[static_cast<size_t>(item.entry)];
    found.push_back({item.title, entry.location, entry.subbook + 1});
  }
  // The search closed the open book; nothing changes unless books are added.
  auto keepAsItWas = [this] {
    if (session_->book() >= 0) disk_->SelectSubbook(session_->book());
  };
  if (result.cancelled) return keepAsItWas();
  if (found.empty()) {
    reporter_->Warning(Sjis("ﾌｫﾙﾀﾞ ") + SjisFromQString(absolute) +
                       Sjis(" とその下（2段まで）に辞書が見つかりません．"));
    return keepAsItWas();
  }
  const std::string group = settings_.group.empty() ? NewGroupNameFor(absolute) : settings_.group;
  const AddBooksResult added = AddBooksToGroup(store_->SettingsDir(), group, found);
  if (!added.ok) {
    reporter_->Warning(added.reason + Sjis("\nｸﾞﾙｰﾌﾟは変わっていません．"));
    return keepAsItWas();
  }
  RebuildGroupMenu();
  // The group opens at its first found book.
  session_->bookSlot() = added.firstEntry;
  OpenGroup(group);
  if (added.left > 0)
    reporter_->Warning(
        Format(Sjis("ｸﾞﾙｰﾌﾟがいっぱいで，%d冊の辞書を加えられませんでした．").c_str(), added.left));
}

}  // namespace morva
