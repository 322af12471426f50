// TGroupEditDlg, "辞書ｸﾞﾙｰﾌﾟ編集": edits one group of the group file at a
// time and rewrites the file on OK, 次のｸﾞﾙｰﾌﾟ and ｸﾞﾙｰﾌﾟを削除 (keeping the
// previous file as MORVA.BAK). The caller shows it modally and afterwards
// opens the group named by the Group setting again and rebuilds the group
// menu.
//
// The drive search, the colour dialog, help and the beep come in as hooks so
// the dialog runs in tests without modal windows or drives.
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
  // The drive search of the editor: drives (upper case, "A-Z" form) and
  // depth in, found sub-books out (stream-only sub-books already skipped).
  // Not set: the search finds nothing.
  std::function<std::vector<FoundSubbook>(const std::string& drives, int depth)> searchDrives;
  // Colour dialog: the present colour in, the chosen one out (nothing on
  // Cancel). Not set: QColorDialog.
  std::function<std::optional<uint32_t>(uint32_t colour)> chooseColour;
  // Help topic "Group". Not set: nothing.
  std::function<void(const char* topic)> showHelp;
  // Beep at the limits of 上へ/下へ. Not set: QApplication::beep.
  std::function<void()> beep;
};

class TGroupEditDlg final : public QDialog {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TGroupEditDlg)

 public:
  // settingsDir holds MORVA.GRP; groupSetting is the Group setting
  // (Shift-JIS): the dialog starts at the index of that group and sets it to
  // the group name on every save. searchDrive and depth fill SearchDrive and
  // Depth.
  TGroupEditDlg(std::string settingsDir, std::string& groupSetting, std::string searchDrive,
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
  bool Save();

  // "新規グループ" (UTF-8).
  static const char* NewGroupName();

 private:
  void TableToGrid();
  void GridToTable();
  void AddFound(int titleRow);
  int SelectedRow() const;
  void SelectRow(int row);

  std::string settingsDir_;
  std::string& groupSetting_;
  GroupEditHooks hooks_;
  GroupTable table_;
  std::vector<FoundSubbook> found_;
  int index_ = 0;
  bool filling_ = false;

  QLineEdit* groupName_ = nullptr;
  QTableWidget* group_ = nullptr;
  QTableWidget* title_ = nullptr;
  QLineEdit* searchDrive_ = nullptr;
  QSpinBox* depth_ = nullptr;
};

}  // namespace morva
