// TDriveSearch: the dialog before a drive search ("ﾄﾞﾗｲﾌﾞをｻｰﾁする"). It asks
// which places to search (all the usual places, or the directories typed in),
// how deep below each, and whether to show the dialog next time.
#pragma once

#include <QDialog>
#include <string>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace morva {

class UpDown;

// What the dialog edits. roots is a SearchRoots value (directory names in
// the file system's own bytes).
struct DriveSearchChoice {
  std::string roots;
  int depth = 0;
  bool showDialog = true;  // SearchDialog
};

class TDriveSearch final : public QDialog {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TDriveSearch)

 public:
  explicit TDriveSearch(QWidget* parent = nullptr);

  // The first radio item stands for the default roots; any other value
  // checks the second and shows the value in the edit.
  void Fill(const DriveSearchChoice& choice);
  // The choice as the controls say; the depth is 0 when it is not a number.
  DriveSearchChoice Result() const;

  // The explanation shown in Memo1 (UTF-8 lines).
  static const char* const* ExplanationLines();

 private:
  QRadioButton* all_ = nullptr;
  QRadioButton* given_ = nullptr;
  QLineEdit* searchDrive_ = nullptr;
  QLineEdit* depth_ = nullptr;
  UpDown* upDown_ = nullptr;
  QCheckBox* notShow_ = nullptr;
  QPlainTextEdit* memo_ = nullptr;
};

}  // namespace morva
