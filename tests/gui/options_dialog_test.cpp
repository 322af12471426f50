// The options dialog: every control filled from and applied back to the
// settings, the buffer-size limits, the clipboard mapping, the colour grid,
// the file and colour dialogs, help topics; and the editor dialog.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>

#include "app/dialogs/color_grid.h"
#include "app/dialogs/radio_group.h"
#include "app/dialogs/teditor_dlg.h"
#include "app/dialogs/toption_dlg.h"
#include "app/settings/settings.h"
#include "engine/book/text_utils.h"
#include "tests/support/recording_reporter.h"

namespace morva {
namespace {

using testing::RecordedBox;

class OptionDlgTest : public ::testing::Test {
 protected:
  template <typename T>
  T* Find(const char* name) {
    T* w = dialog_.findChild<T*>(QLatin1String(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QCheckBox* Check(const char* name) { return Find<QCheckBox>(name); }
  QLineEdit* Edit(const char* name) { return Find<QLineEdit>(name); }
  QComboBox* Combo(const char* name) { return Find<QComboBox>(name); }
  RadioGroup* Group(const char* name) { return Find<RadioGroup>(name); }

  Settings Applied() {
    Settings s = settings_;
    dialog_.Apply(s, reporter_);
    return s;
  }

  TOptionDlg dialog_;
  Settings settings_;
  testing::RecordingReporter reporter_;
};

// A settings value unlike every default.
Settings Unusual() {
  Settings s;
  s.zenpo = false;
  s.kusizasi = true;
  s.bufferSize = 12345;
  s.sort = 2;
  s.autoAll = true;
  s.clipResult = true;
  s.specialMenu = false;
  s.searchRoots = "~/dict;/media/cdrom";
  s.searchDepth = 3;
  s.searchDialog = false;
  s.arrowShows = true;
  s.searchAsYouType = true;
  s.font0 = {Sjis("ＭＳ 明朝"), 11, "IPAGothic", 22};
  s.font1 = {"Courier", 18, "Terminal", 26};
  s.lineSpace = 4;
  s.wordWrap = true;
  s.bold = 1;
  s.dicButtonSize = true;
  s.textColor = MakeColor(1, 2, 3);
  s.backColor = MakeColor(250, 250, 200);
  s.titleColor = MakeColor(10, 20, 30);
  s.jumpColor = MakeColor(40, 50, 60);
  s.specialColor = MakeColor(70, 80, 90);
  s.autoSearch = 5;
  s.ime = false;
  s.scrollKey = true;
  s.escKey = true;
  s.focusReturn = true;
  s.dicInfo = "/home/u/.config/morva/OTHER.DAT";
  s.editor = "/opt/my editor/ed";
  s.keywordFile = "/tmp/words.txt";
  return s;
}

TEST_F(OptionDlgTest, EveryControlRoundTrips) {
  EXPECT_EQ(dialog_.windowTitle(), QString::fromUtf8("ｵﾌﾟｼｮﾝ"));
  const QTabWidget* pages = dialog_.pageControl();
  ASSERT_EQ(pages->count(), 4);
  EXPECT_EQ(pages->tabText(0), QString::fromUtf8("検索"));
  EXPECT_EQ(pages->tabText(1), QString::fromUtf8("表示"));
  EXPECT_EQ(pages->tabText(2), QString::fromUtf8("ｸﾘｯﾌﾟﾎﾞｰﾄﾞ自動検索"));
  EXPECT_EQ(pages->tabText(3), QString::fromUtf8("入出力"));

  for (const Settings& s : {Settings{}, Unusual()}) {
    settings_ = s;
    dialog_.Fill(settings_);
    Settings back = Settings{};
    dialog_.Apply(back, reporter_);
    // Settings the dialog does not edit keep their values in `back`; compare
    // the edited ones.
    EXPECT_EQ(back.zenpo, s.zenpo);
    EXPECT_EQ(back.kusizasi, s.kusizasi);
    EXPECT_EQ(back.bufferSize, s.bufferSize);
    EXPECT_EQ(back.sort, s.sort);
    EXPECT_EQ(back.autoAll, s.autoAll);
    EXPECT_EQ(back.clipResult, s.clipResult);
    EXPECT_EQ(back.specialMenu, s.specialMenu);
    EXPECT_EQ(back.searchRoots, s.searchRoots);
    EXPECT_EQ(back.searchDepth, s.searchDepth);
    EXPECT_EQ(back.searchDialog, s.searchDialog);
    EXPECT_EQ(back.arrowShows, s.arrowShows);
    EXPECT_EQ(back.searchAsYouType, s.searchAsYouType);
    EXPECT_EQ(back.font0, s.font0);
    EXPECT_EQ(back.font1.face1, s.font1.face1);
    EXPECT_EQ(back.font1.face2, s.font1.face2);
    EXPECT_EQ(back.font1.size2, s.font1.size2);
    EXPECT_EQ(back.lineSpace, s.lineSpace);
    EXPECT_EQ(back.wordWrap, s.wordWrap);
    EXPECT_EQ(back.bold, s.bold);
    EXPECT_EQ(back.dicButtonSize, s.dicButtonSize);
    EXPECT_EQ(back.textColor, s.textColor);
    EXPECT_EQ(back.backColor, s.backColor);
    EXPECT_EQ(back.titleColor, s.titleColor);
    EXPECT_EQ(back.jumpColor, s.jumpColor);
    EXPECT_EQ(back.specialColor, s.specialColor);
    EXPECT_EQ(back.autoSearch, s.autoSearch);
    EXPECT_EQ(back.ime, s.ime);
    EXPECT_EQ(back.scrollKey, s.scrollKey);
    EXPECT_EQ(back.escKey, s.escKey);
    EXPECT_EQ(back.focusReturn, s.focusReturn);
    EXPECT_EQ(back.dicInfo, s.dicInfo);
    EXPECT_EQ(back.editor, s.editor);
    EXPECT_EQ(back.keywordFile, s.keywordFile);
    // The first size of Font1 has no control and keeps its value.
    EXPECT_EQ(back.font1.size1, Settings{}.font1.size1);
  }
  EXPECT_TRUE(reporter_.boxes().empty());
}

TEST_F(OptionDlgTest, ControlsChangeTheirSettings) {
  dialog_.Fill(settings_);
  Check("CheckBoxZenpo")->setChecked(false);
  Check("Kusizasi")->setChecked(true);
  Group("Sort")->setItemIndex(0);
  Check("Auto")->setChecked(true);
  Check("CopyNumber")->setChecked(true);
  Check("SpecialMenu")->setChecked(false);
  Edit("SearchDrive")->setText(QStringLiteral("/srv/books"));
  Edit("Depth")->setText(QStringLiteral("2"));
  Check("SearchDlg")->setChecked(false);
  Combo("Font1")->setEditText(QStringLiteral("IPAPMincho"));
  Combo("Size1")->setEditText(QStringLiteral("16"));
  Combo("Font3")->setEditText(QStringLiteral("DejaVu Sans"));
  Combo("Font2")->setEditText(QStringLiteral("IPAGothic"));
  Combo("Size2")->setEditText(QStringLiteral(""));
  Combo("Font4")->setEditText(QStringLiteral("DejaVu Sans Mono"));
  Combo("Size4")->setEditText(QStringLiteral("x"));
  Edit("LineSpace")->setText(QStringLiteral("none"));
  Check("Wordwrap")->setChecked(true);
  Group("Bold")->setItemIndex(2);
  Check("DicButtonSize")->setChecked(true);
  Check("ScrollKey")->setChecked(true);
  Check("EscKey")->setChecked(true);
  Check("IME")->setChecked(false);
  Check("Focus")->setChecked(true);
  Edit("DicInfo")->setText(QStringLiteral("MY.DAT"));
  Edit("Editor")->setText(QStringLiteral("gedit"));
  Edit("KeywordFile")->setText(QStringLiteral("keys.txt"));
  const Settings s = Applied();
  EXPECT_FALSE(s.zenpo);
  EXPECT_TRUE(s.kusizasi);
  EXPECT_EQ(s.sort, 0);
  EXPECT_TRUE(s.autoAll);
  EXPECT_TRUE(s.clipResult);
  EXPECT_FALSE(s.specialMenu);
  EXPECT_EQ(s.searchRoots, "/srv/books");
  EXPECT_EQ(s.searchDepth, 2);
  EXPECT_FALSE(s.searchDialog);
  EXPECT_EQ(s.font0.face1, "IPAPMincho");
  EXPECT_EQ(s.font0.size1, 16);
  EXPECT_EQ(s.font1.face1, "DejaVu Sans");
  EXPECT_EQ(s.font0.face2, "IPAGothic");
  EXPECT_EQ(s.font0.size2, 18);  // empty
  EXPECT_EQ(s.font1.face2, "DejaVu Sans Mono");
  EXPECT_EQ(s.font1.size2, 18);  // not a number
  EXPECT_EQ(s.lineSpace, 0);
  EXPECT_TRUE(s.wordWrap);
  EXPECT_EQ(s.bold, 2);
  EXPECT_TRUE(s.dicButtonSize);
  EXPECT_TRUE(s.scrollKey);
  EXPECT_TRUE(s.escKey);
  EXPECT_FALSE(s.ime);
  EXPECT_TRUE(s.focusReturn);
  EXPECT_EQ(s.dicInfo, "MY.DAT");
  EXPECT_EQ(s.editor, "gedit");
  EXPECT_EQ(s.keywordFile, "keys.txt");
}

TEST_F(OptionDlgTest, BufferSizeLimits) {
  dialog_.Fill(settings_);
  struct Case {
    const char* text;
    int value;
    bool warned;
  };
  for (const Case& c : {Case{"abc", 3000, false}, Case{"", 3000, false}, Case{"2999", 3000, true},
                        Case{"100001", 100000, true}, Case{"3000", 3000, false}, Case{"100000", 100000, false},
                        Case{"-5", 3000, true}}) {
    reporter_.Clear();
    Edit("Buffer")->setText(QLatin1String(c.text));
    EXPECT_EQ(Applied().bufferSize, c.value) << c.text;
    ASSERT_EQ(reporter_.Count(RecordedBox::kWarning), c.warned ? 1 : 0) << c.text;
    if (c.warned) {
      EXPECT_EQ(reporter_.Last(RecordedBox::kWarning),
                Format("ﾊﾞｯﾌｧの大きさが制限(3,000～100,000)外です。%dに変更しました。", c.value));
    }
  }
}

TEST_F(OptionDlgTest, ClipboardMapping) {
  auto* off = Find<QRadioButton>("RadioButton1");
  auto* on = Find<QRadioButton>("RadioButton2");
  RadioGroup* timing = Group("ClipTiming");
  RadioGroup* action = Group("ClipAction");
  for (int value = 0; value <= 6; ++value) {
    settings_.autoSearch = value;
    dialog_.Fill(settings_);
    EXPECT_EQ(off->isChecked(), value == 0);
    EXPECT_EQ(on->isChecked(), value != 0);
    EXPECT_EQ(timing->isEnabled(), value != 0);
    if (value != 0) {
      EXPECT_EQ(timing->itemIndex(), value <= 3 ? 1 : 0) << value;
      EXPECT_EQ(action->itemIndex(), value <= 3 ? value - 1 : value - 4) << value;
    }
    EXPECT_EQ(Applied().autoSearch, value);
  }
  // 5 shows 行う, ｸﾘｯﾌﾟﾎﾞｰﾄﾞへｺﾋﾟｰされたとき and 検索を行う.
  settings_.autoSearch = 5;
  dialog_.Fill(settings_);
  EXPECT_EQ(timing->item(timing->itemIndex())->text(), QString::fromUtf8("ｸﾘｯﾌﾟﾎﾞｰﾄﾞへｺﾋﾟｰされたとき"));
  EXPECT_EQ(action->item(action->itemIndex())->text(), QString::fromUtf8("検索を行う"));
  // Turning it off disables the groups and the selection option (whose
  // choice is kept); on again with a new choice.
  auto* selection = Find<QCheckBox>("WatchSelection");
  EXPECT_TRUE(selection->isEnabled());
  EXPECT_FALSE(selection->isChecked());  // off by default
  selection->setChecked(true);
  off->click();
  EXPECT_FALSE(timing->isEnabled());
  EXPECT_FALSE(selection->isEnabled());
  EXPECT_TRUE(Applied().watchSelection);
  EXPECT_EQ(Applied().autoSearch, 0);
  on->click();
  EXPECT_TRUE(action->isEnabled());
  timing->setItemIndex(1);
  action->setItemIndex(2);
  EXPECT_EQ(Applied().autoSearch, 3);
  // From 0, switching on without choosing an action takes the first.
  settings_.autoSearch = 0;
  dialog_.Fill(settings_);
  on->click();
  EXPECT_EQ(Applied().autoSearch, 4);
}

TEST_F(OptionDlgTest, ColourButtonsGridFileDialogsAndHelp) {
  dialog_.Fill(settings_);
  uint32_t offered = 0;
  dialog_.hooks.chooseColor = [&](uint32_t initial) -> std::optional<uint32_t> {
    offered = initial;
    return MakeColor(9, 8, 7);
  };
  Find<QPushButton>("Back")->click();
  EXPECT_EQ(offered, settings_.backColor);
  auto* grid = Find<ColorGrid>("ColorGrid");
  EXPECT_EQ(grid->colors()[ColorGrid::kBackground], MakeColor(9, 8, 7));
  dialog_.hooks.chooseColor = [](uint32_t) -> std::optional<uint32_t> { return std::nullopt; };
  Find<QPushButton>("Special")->click();
  EXPECT_EQ(Applied().backColor, MakeColor(9, 8, 7));
  EXPECT_EQ(Applied().specialColor, settings_.specialColor);

  // The 背景 cell shows its label in the background colour itself: the cell
  // holds that colour only.
  grid->setFocus();
  const QImage image = grid->grab().toImage();
  const QRect cell(1 + ColorGrid::kCellWidth + 1, 1, ColorGrid::kCellWidth, ColorGrid::kCellHeight);
  for (int y = cell.top() + 2; y < cell.bottom() - 1; ++y)
    for (int x = cell.left() + 2; x < cell.right() - 1; ++x)
      ASSERT_EQ(image.pixel(x, y) & 0xFFFFFF, 0x090807u) << x << "," << y;
  EXPECT_STREQ(ColorGrid::Label(2), " 見出し ");

  QString preset;
  dialog_.hooks.chooseFile = [&](const QString& initial) -> std::optional<QString> {
    preset = initial;
    return QStringLiteral("/chosen/editor");
  };
  Edit("Editor")->setText(QStringLiteral("old"));
  Find<QPushButton>("Refer2")->click();
  EXPECT_EQ(preset, QStringLiteral("old"));
  EXPECT_EQ(Edit("Editor")->text(), QStringLiteral("/chosen/editor"));
  dialog_.hooks.chooseFile = [](const QString&) -> std::optional<QString> { return std::nullopt; };
  Find<QPushButton>("Refer4")->click();
  EXPECT_EQ(Edit("KeywordFile")->text(), QString());

  QStringList topics;
  QObject::connect(&dialog_, &TOptionDlg::helpRequested, [&](const QString& t) { topics << t; });
  for (int i = 0; i < 4; ++i) {
    dialog_.pageControl()->setCurrentIndex(i);
    Find<QPushButton>("ButtonHelp")->click();
  }
  EXPECT_EQ(topics, (QStringList{QStringLiteral("OptionKensaku"), QStringLiteral("OptionHyoji"),
                                 QStringLiteral("OptionClipboard"), QStringLiteral("OptionNyushuturyoku")}));
}

TEST_F(OptionDlgTest, ListsAndStoredFacesThisSystemLacks) {
  EXPECT_EQ(TOptionDlg::SizeItems(false).join(QLatin1Char(',')),
            QStringLiteral("8,9,10,11,12,14,16,18,20,22,26,28,36,48,72"));
  EXPECT_EQ(Combo("Size2")->count(), 16);
  QStringList fonts = TOptionDlg::ScreenFonts();
  QStringList sorted = fonts;
  sorted.sort(Qt::CaseInsensitive);
  EXPECT_EQ(fonts, sorted);
  EXPECT_EQ(Combo("Font1")->count(), fonts.size());
  settings_.font0.face1 = Sjis("ＭＳ Ｐゴシック");
  dialog_.Fill(settings_);
  EXPECT_EQ(Combo("Font1")->currentText(), QString::fromUtf8("ＭＳ Ｐゴシック"));
  EXPECT_EQ(Applied().font0.face1, Sjis("ＭＳ Ｐゴシック"));
  // Face names keep at most 30 bytes.
  Combo("Font2")->setEditText(QString(40, QLatin1Char('f')));
  EXPECT_EQ(Applied().font0.face2.size(), 30u);
}

// ---- The editor dialog -----------------------------------------------------------

TEST(EditorDlg, ControlsNoteAndRefer) {
  TEditorDlg dialog;
  EXPECT_EQ(dialog.windowTitle(), QString::fromUtf8("ｴﾃﾞｨﾀ起動"));
  dialog.SetFileName(QStringLiteral("/tmp/x.txt"));
  EXPECT_EQ(dialog.FileName(), QStringLiteral("/tmp/x.txt"));
  EXPECT_EQ(dialog.Content(), EditorContent::kShown);
  auto* content = dialog.findChild<RadioGroup*>(QStringLiteral("Content"));
  ASSERT_NE(content, nullptr);
  EXPECT_EQ(content->title(), QString::fromUtf8("出力する内容(&C)"));
  EXPECT_EQ(content->item(2)->text(), QString::fromUtf8("該当項目の見出し"));
  content->setItemIndex(1);
  EXPECT_EQ(dialog.Content(), EditorContent::kAllItems);
  const QString note = dialog.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))->toPlainText();
  EXPECT_TRUE(note.contains(QString::fromUtf8("該当項目すべて　　　項目リストの項目すべての内容を出力")));
  QString referred;
  QObject::connect(&dialog, &TEditorDlg::referRequested, [&](const QString& name) { referred = name; });
  dialog.show();
  dialog.findChild<QPushButton*>(QStringLiteral("Refer"))->click();
  EXPECT_EQ(referred, QStringLiteral("/tmp/x.txt"));
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

}  // namespace
}  // namespace morva
