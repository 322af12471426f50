// TGroupEditDlg, "辞書ｸﾞﾙｰﾌﾟ編集": edits one group of the group file at a
// time and rewrites the file on OK, 次のｸﾞﾙｰﾌﾟ and ｸﾞﾙｰﾌﾟを削除 (keeping the
// previous file as MORVA.BAK). A save that is refused (text the file cannot
// hold) or fails (the file cannot be written) is shown in the warning box,
// and the dialog stays where it is with the edits. The caller shows it
// modally; after OK it opens the group named by the Group setting again, and
// it rebuilds the group menu when anything was saved.
//
// The folder search, the colour dialog, help, the warning box and the beep
// come in as hooks so the dialog runs in tests without modal windows or
// drives.
#pragma once

#include <QDialog>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/groups/group_table.h"

class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;

namespace morva {

struct GroupEditHooks {
  // The search of the editor: the folders as typed (a SearchRoots value,
  // directories separated by ";", in the file system's bytes) and the depth
  // in, found sub-books out (stream-only sub-books already skipped). Not set:
  // the search finds nothing.
  std::function<std::vector<FoundSubbook>(const std::string& roots, int depth)> searchFolders;
  // Colour dialog: the present colour in, the chosen one out (nothing on
  // Cancel). Not set: QColorDialog.
  std::function<std::optional<uint32_t>(uint32_t colour)> chooseColour;
  // The warning box, given Shift-JIS text. Not set: a message box with the
  // warning box's caption.
  std::function<void(const std::string& text)> warning;
  // Beep at the limits of 上へ/下へ. Not set: QApplication::beep.
  std::function<void()> beep;
};

// How the editor was left, for the main window: OK (after a save), or
// ｷｬﾝｾﾙ with or without an earlier save by 次のｸﾞﾙｰﾌﾟ or ｸﾞﾙｰﾌﾟを削除.
enum class GroupEditResult { kNothingSaved, kSaved, kAccepted };

class TGroupEditDlg final : public QDialog {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TGroupEditDlg)

 public:
  // settingsDir holds MORVA.GRP; groupSetting is the Group setting
  // (Shift-JIS): the dialog starts at the index of that group and sets it to
  // the group name on every save. searchRoots (the SearchRoots setting) and
  // depth fill the folder field (ﾄﾞﾗｲﾌﾞ) and 深さ.
  TGroupEditDlg(std::string settingsDir, std::string& groupSetting, const std::string& searchRoots,
                int depth, GroupEditHooks hooks, QWidget* parent = nullptr);

  // Shows group n (新規グループ with an empty table when there is none).
  void ShowGroup(int index);
  int GroupIndex() const { return index_; }
  const GroupTable& Table() const { return table_; }

  // The buttons' actions, also for tests.
  void Search();
  void AddSelected();
  void AddAll();
  void MoveUp();
  void MoveDown();
  void DeleteRow();
  void ChooseColour();
  void NextGroup();
  void DeleteGroup();
  // False, after the warning box, when the save was refused or failed.
  bool Save();
  // Whether any save of this dialog reached the file.
  bool Saved() const { return saved_; }
  // How the dialog was closed.
  GroupEditResult Result() const;

  // "新規グループ" (UTF-8).
  static const char* NewGroupName();

 signals:
  // ﾍﾙﾌﾟ: the help topic "Group".
  void helpRequested(const QString& topic);

 private:
  void TableToGrid();
  void GridToTable();
  void AddFound(int titleRow);
  int SelectedRow() const;
  void SelectRow(int row);
  void Warn(const std::string& text);

  std::string settingsDir_;
  std::string& groupSetting_;
  GroupEditHooks hooks_;
  GroupTable table_;
  std::vector<FoundSubbook> found_;
  int index_ = 0;
  bool filling_ = false;
  bool saved_ = false;

  QLineEdit* groupName_ = nullptr;
  QTableWidget* group_ = nullptr;
  QTableWidget* title_ = nullptr;
  QLineEdit* searchDrive_ = nullptr;
  QSpinBox* depth_ = nullptr;
};

}  // namespace morva
