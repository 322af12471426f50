// TOptionDlg: the options dialog ("ｵﾌﾟｼｮﾝ"). Four tabs (検索, 表示,
// ｸﾘｯﾌﾟﾎﾞｰﾄﾞ自動検索, 入出力) edit most settings. Fill copies the settings into
// the controls; Apply writes every control back in a fixed order. The
// settings file itself is written at exit.
//
// The colour, file and help dialogs are reached through callbacks, so that
// tests never open a modal window; without a callback the colour and file
// dialogs are Qt's own, and help does nothing.
#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QTabWidget;

namespace morva {

class ColorGrid;
class RadioGroup;
class Reporter;
class UpDown;
struct Settings;

struct OptionDialogHooks {
  // The colour dialog preset to a colour (red + green * 256 + blue * 65536);
  // nothing when cancelled.
  std::function<std::optional<uint32_t>(uint32_t initial)> chooseColor;
  // The open-file dialog preset to a file name; nothing when cancelled.
  std::function<std::optional<QString>(const QString& initial)> chooseFile;
};

class TOptionDlg final : public QDialog {
  Q_OBJECT
  Q_DISABLE_COPY_MOVE(TOptionDlg)

 public:
  explicit TOptionDlg(QWidget* parent = nullptr);

  OptionDialogHooks hooks;

  // Every control from its setting.
  void Fill(const Settings& settings);
  // Every control back into settings, in the order the settings depend on
  // each other; a buffer size outside 3,000..100,000 is brought into range
  // with a warning through reporter.
  void Apply(Settings& settings, Reporter& reporter) const;

  // ---- Handlers -------------------------------------------------------------
  void ClipRadioButtonClick();
  void ColorButtonClick(int tag);  // 0 text, 1 background, 2 headings, 3 links, 4 special
  void ReferFileClick(int tag);    // 0 DicInfo, 1 Editor, 2 KeywordFile
  void ButtonHelpClick();
  // The help topic of the active tab.
  QString HelpTopic() const;

  const std::array<uint32_t, 5>& colors() const { return colors_; }
  QTabWidget* pageControl() const { return pages_; }

  // The face names listed by the face boxes: the screen's fonts, sorted.
  static QStringList ScreenFonts();
  // The sizes the size boxes offer.
  static QStringList SizeItems(bool with24);

 signals:
  // ﾍﾙﾌﾟ: the help topic of the shown page (OptionKensaku, OptionHyoji,
  // OptionClipboard, OptionNyushuturyoku).
  void helpRequested(const QString& topic);

 private:
  QWidget* MakeSearchTab();
  QWidget* MakeDisplayTab();
  QWidget* MakeClipboardTab();
  QWidget* MakeFilesTab();
  QComboBox* MakeFaceBox(const char* name, QWidget* parent);
  QComboBox* MakeSizeBox(const char* name, bool with24, QWidget* parent);

  QTabWidget* pages_ = nullptr;
  // 検索
  QCheckBox* zenpo_ = nullptr;
  QCheckBox* kusizasi_ = nullptr;
  QLineEdit* buffer_ = nullptr;
  RadioGroup* sort_ = nullptr;
  QCheckBox* auto_ = nullptr;
  QCheckBox* copyNumber_ = nullptr;
  QCheckBox* specialMenu_ = nullptr;
  QCheckBox* arrowShows_ = nullptr;
  QCheckBox* searchAsYouType_ = nullptr;
  QLineEdit* searchDrive_ = nullptr;
  QLineEdit* depth_ = nullptr;
  UpDown* upDownDepth_ = nullptr;
  QCheckBox* searchDlg_ = nullptr;
  // 表示
  QComboBox* font1_ = nullptr;
  QComboBox* size1_ = nullptr;
  QComboBox* font3_ = nullptr;
  QComboBox* font2_ = nullptr;
  QComboBox* size2_ = nullptr;
  QComboBox* font4_ = nullptr;
  QComboBox* size4_ = nullptr;
  QLineEdit* lineSpace_ = nullptr;
  QCheckBox* wordwrap_ = nullptr;
  RadioGroup* bold_ = nullptr;
  QCheckBox* dicButtonSize_ = nullptr;
  ColorGrid* colorGrid_ = nullptr;
  std::array<uint32_t, 5> colors_{};
  // ｸﾘｯﾌﾟﾎﾞｰﾄﾞ自動検索
  QRadioButton* radio1_ = nullptr;
  QRadioButton* radio2_ = nullptr;
  RadioGroup* clipTiming_ = nullptr;
  RadioGroup* clipAction_ = nullptr;
  QCheckBox* watchSelection_ = nullptr;
  // 入出力
  QLineEdit* dicInfo_ = nullptr;
  QLineEdit* editor_ = nullptr;
  QLineEdit* keywordFile_ = nullptr;
  QCheckBox* scrollKey_ = nullptr;
  QCheckBox* escKey_ = nullptr;
  QCheckBox* ime_ = nullptr;
  QCheckBox* focus_ = nullptr;
};

// The buffer-size warning for a value brought into range (Shift-JIS).
std::string BufferSizeWarning(int value);

}  // namespace morva
