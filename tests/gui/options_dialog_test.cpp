// The options dialog as ﾂｰﾙ > ｵﾌﾟｼｮﾝ runs it in the main window: every
// control filled from and applied back to the settings, the buffer-size
// limits, the clipboard mapping, the colour grid, the file and colour
// dialogs, help topics and Cancel; and the editor dialog.
#include <QCheckBox>
#include <QRadioButton>
#include <QTabWidget>
#include <QTextBrowser>

#include "app/dialogs/color_grid.h"
#include "app/dialogs/radio_group.h"
#include "app/dialogs/teditor_dlg.h"
#include "app/dialogs/toption_dlg.h"
#include "app/help/help_window.h"
#include "tests/gui/main_window_fixture.h"

namespace morva::testing {
namespace {

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

class OptionsTest : public MainWindowTest {
 protected:
  OptionsTest() {
    UseBooks({{"試験", MakeBook("a", "試験", Many("ねこ", 1))}});
    MorvaWindowOptions wired;
    wired.execDialog = [this](QDialog& dialog) {
      auto* options = qobject_cast<TOptionDlg*>(&dialog);
      dialog_ = options;
      if (options != nullptr && work_) work_();
      dialog_ = nullptr;
      return static_cast<int>(ok_ ? QDialog::Accepted : QDialog::Rejected);
    };
    wired.chooseColor = [this](uint32_t initial) {
      offered_ = initial;
      return colour_;
    };
    wired.chooseFile = [this](const QString& initial) {
      preset_ = initial;
      return file_;
    };
    Open(false, std::move(wired));
  }
  // Runs the dialog: work is done on its controls, then OK (or Cancel).
  Settings& Run(std::function<void()> work, bool ok = true) {
    work_ = std::move(work);
    ok_ = ok;
    Action("Option1")->trigger();
    return form_->settings();
  }
  template <typename T>
  T* In(const char* name) {
    T* w = dialog_->findChild<T*>(QLatin1String(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QCheckBox* Check(const char* name) { return In<QCheckBox>(name); }
  QLineEdit* Edit(const char* name) { return In<QLineEdit>(name); }
  QComboBox* Combo(const char* name) { return In<QComboBox>(name); }
  RadioGroup* Group(const char* name) { return In<RadioGroup>(name); }

  TOptionDlg* dialog_ = nullptr;
  std::function<void()> work_;
  bool ok_ = true;
  uint32_t offered_ = 0;
  std::optional<uint32_t> colour_;
  QString preset_;
  std::optional<QString> file_;
};

// OK with nothing changed keeps every setting, the defaults and a value
// unlike them; Cancel keeps the settings whatever was changed.
TEST_F(OptionsTest, EveryControlRoundTripsAndCancelChangesNothing) {
  for (const Settings& s : {Settings(form_->settings()), Unusual()}) {
    form_->settings() = s;
    EXPECT_EQ(Run({}), s);
  }
  const Settings before = form_->settings();
  EXPECT_EQ(Run([&] { Edit("Buffer")->setText(QStringLiteral("4000")); }, false), before);
  EXPECT_EQ(Run([&] { Edit("Buffer")->setText(QStringLiteral("4000")); }).bufferSize, 4000);
  EXPECT_TRUE(reporter_.boxes().empty());
}

// What the user types into the number and font boxes: sizes that are no
// number keep the default, a line space that is none is 0.
TEST_F(OptionsTest, TypedNumbersAndFaces) {
  const Settings& s = Run([&] {
    Edit("SearchDrive")->setText(QStringLiteral("/srv/books"));
    Edit("Depth")->setText(QStringLiteral("2"));
    Combo("Font1")->setEditText(QStringLiteral("IPAPMincho"));
    Combo("Size1")->setEditText(QStringLiteral("16"));
    Combo("Font3")->setEditText(QStringLiteral("DejaVu Sans"));
    Combo("Size2")->setEditText(QStringLiteral(""));
    Combo("Size4")->setEditText(QStringLiteral("x"));
    Edit("LineSpace")->setText(QStringLiteral("none"));
    Group("Bold")->setItemIndex(2);
    Check("Kusizasi")->setChecked(true);
  });
  EXPECT_EQ(s.searchRoots, "/srv/books");
  EXPECT_EQ(s.searchDepth, 2);
  EXPECT_EQ(s.font0.face1, "IPAPMincho");
  EXPECT_EQ(s.font0.size1, 16);
  EXPECT_EQ(s.font1.face1, "DejaVu Sans");
  EXPECT_EQ(s.font0.size2, 18);  // empty
  EXPECT_EQ(s.font1.size2, 18);  // not a number
  EXPECT_EQ(s.lineSpace, 0);
  EXPECT_EQ(s.bold, 2);
  EXPECT_TRUE(s.kusizasi);
}

TEST_F(OptionsTest, BufferSizeLimits) {
  const struct {
    const char* text;
    int value;
    bool warned;
  } cases[] = {{"abc", 3000, false},     {"", 3000, false},     {"2999", 3000, true},
               {"100001", 100000, true}, {"3000", 3000, false}, {"100000", 100000, false},
               {"-5", 3000, true}};
  for (const auto& c : cases) {
    reporter_.Clear();
    EXPECT_EQ(Run([&] { Edit("Buffer")->setText(QLatin1String(c.text)); }).bufferSize, c.value)
        << c.text;
    ASSERT_EQ(reporter_.Count(RecordedBox::kWarning), c.warned ? 1 : 0) << c.text;
    if (c.warned) {
      EXPECT_EQ(reporter_.Last(RecordedBox::kWarning),
                Format("ﾊﾞｯﾌｧの大きさが制限(3,000～100,000)外です。%dに変更しました。", c.value));
    }
  }
}

// AutoSearch 0 is 行わない; 1-3 act when the window is activated, 4-6 when
// text is copied, each as take / search / search and copy.
TEST_F(OptionsTest, ClipboardMapping) {
  for (int value = 0; value <= 6; ++value) {
    form_->settings().autoSearch = value;
    EXPECT_EQ(Run([&] {
                EXPECT_EQ(In<QRadioButton>("RadioButton1")->isChecked(), value == 0);
                EXPECT_EQ(Group("ClipTiming")->isEnabled(), value != 0);
                if (value == 0) return;
                EXPECT_EQ(Group("ClipTiming")->itemIndex(), value <= 3 ? 1 : 0) << value;
                EXPECT_EQ(Group("ClipAction")->itemIndex(), (value - 1) % 3) << value;
              }).autoSearch,
              value);
  }
  // Off disables the groups and the selection option (whose choice is
  // kept); on again with a new choice.
  form_->settings().autoSearch = 5;
  const Settings& s = Run([&] {
    auto* selection = Check("WatchSelection");
    EXPECT_TRUE(selection->isEnabled());
    EXPECT_FALSE(selection->isChecked());  // off by default
    selection->setChecked(true);
    In<QRadioButton>("RadioButton1")->click();
    EXPECT_FALSE(Group("ClipTiming")->isEnabled());
    EXPECT_FALSE(selection->isEnabled());
  });
  EXPECT_TRUE(s.watchSelection);
  EXPECT_EQ(s.autoSearch, 0);
  EXPECT_EQ(Run([&] {
              In<QRadioButton>("RadioButton2")->click();  // no action chosen yet: the first
            }).autoSearch,
            4);
  EXPECT_EQ(Run([&] {
              Group("ClipTiming")->setItemIndex(1);
              Group("ClipAction")->setItemIndex(2);
            }).autoSearch,
            3);
}

TEST_F(OptionsTest, ColourButtonsGridFileDialogsAndHelp) {
  const uint32_t back = form_->settings().backColor;
  const uint32_t special = form_->settings().specialColor;
  colour_ = MakeColor(9, 8, 7);
  const Settings& s = Run([&] {
    In<QPushButton>("Back")->click();
    colour_.reset();  // the colour dialog cancelled
    In<QPushButton>("Special")->click();
    // The 背景 cell shows its label in the background colour itself: the
    // cell holds that colour only.
    auto* grid = In<ColorGrid>("ColorGrid");
    grid->setFocus();
    const QImage image = grid->grab().toImage();
    const QRect cell(1 + ColorGrid::kCellWidth + 1, 1, ColorGrid::kCellWidth,
                     ColorGrid::kCellHeight);
    for (int y = cell.top() + 2; y < cell.bottom() - 1; ++y)
      for (int x = cell.left() + 2; x < cell.right() - 1; ++x)
        ASSERT_EQ(image.pixel(x, y) & 0xFFFFFF, 0x090807u) << x << "," << y;

    file_ = QStringLiteral("/chosen/editor");
    Edit("Editor")->setText(QStringLiteral("old"));
    In<QPushButton>("Refer2")->click();
    EXPECT_EQ(preset_, QStringLiteral("old"));
    EXPECT_EQ(Edit("Editor")->text(), QStringLiteral("/chosen/editor"));
    file_.reset();
    Edit("KeywordFile")->setText(QStringLiteral("keep"));
    In<QPushButton>("Refer4")->click();
    EXPECT_EQ(Edit("KeywordFile")->text(), QStringLiteral("keep"));

    // ﾍﾙﾌﾟ shows the topic of the page on top.
    const char* topics[] = {"OptionKensaku", "OptionHyoji", "OptionClipboard",
                            "OptionNyushuturyoku"};
    for (int i = 0; i < 4; ++i) {
      dialog_->pageControl()->setCurrentIndex(i);
      In<QPushButton>("ButtonHelp")->click();
      ASSERT_NE(main_->helpWindow(), nullptr);
      EXPECT_EQ(main_->helpWindow()->currentUrl().fragment(), QLatin1String(topics[i]));
    }
  });
  EXPECT_EQ(offered_, special);
  EXPECT_EQ(s.backColor, MakeColor(9, 8, 7));
  EXPECT_NE(back, s.backColor);
  EXPECT_EQ(s.specialColor, special);
  EXPECT_EQ(s.editor, "/chosen/editor");
}

TEST_F(OptionsTest, FontListsAndStoredFacesThisSystemLacks) {
  form_->settings().font0.face1 = Sjis("ＭＳ Ｐゴシック");
  const Settings& s = Run([&] {
    QStringList fonts = TOptionDlg::ScreenFonts();
    QStringList sorted = fonts;
    sorted.sort(Qt::CaseInsensitive);
    EXPECT_EQ(fonts, sorted);
    EXPECT_EQ(Combo("Font1")->currentText(), QString::fromUtf8("ＭＳ Ｐゴシック"));
    Combo("Font2")->setEditText(QString(40, QLatin1Char('f')));  // face names keep at most 30 bytes
  });
  EXPECT_EQ(s.font0.face1, Sjis("ＭＳ Ｐゴシック"));
  EXPECT_EQ(s.font0.face2.size(), 30u);
}

// ---- The editor dialog -----------------------------------------------------------

TEST(EditorDlg, ContentChoiceAndRefer) {
  TEditorDlg dialog;
  dialog.SetFileName(QStringLiteral("/tmp/x.txt"));
  EXPECT_EQ(dialog.FileName(), QStringLiteral("/tmp/x.txt"));
  EXPECT_EQ(dialog.Content(), EditorContent::kShown);
  auto* content = dialog.findChild<RadioGroup*>(QStringLiteral("Content"));
  ASSERT_NE(content, nullptr);
  content->setItemIndex(1);
  EXPECT_EQ(dialog.Content(), EditorContent::kAllItems);
  QString referred;
  QObject::connect(&dialog, &TEditorDlg::referRequested,
                   [&](const QString& name) { referred = name; });
  dialog.show();
  dialog.findChild<QPushButton*>(QStringLiteral("Refer"))->click();
  EXPECT_EQ(referred, QStringLiteral("/tmp/x.txt"));
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

}  // namespace
}  // namespace morva::testing
