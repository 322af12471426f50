// The options dialog as ﾂｰﾙ > ｵﾌﾟｼｮﾝ runs it in the main window: every
// control filled from and applied back to the settings, typed numbers and the
// buffer-size limits, the clipboard mapping and Cancel.
#include <QCheckBox>
#include <QRadioButton>

#include "app/dialogs/radio_group.h"
#include "app/dialogs/toption_dlg.h"
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

class OptionsTest : public WiringTest {
 protected:
  OptionsTest() {
    UseBooks({{"試験", MakeBook("a", "試験", Many("ねこ", 1))}});
    OpenWired();
  }
  // Runs the dialog: work is done on its controls, then OK (or Cancel).
  Settings& Run(const std::function<void()>& work, bool ok = true) {
    answerDialog_ = [&](QDialog& dialog) {
      dialog_ = qobject_cast<TOptionDlg*>(&dialog);
      if (work) work();
      return static_cast<int>(ok ? QDialog::Accepted : QDialog::Rejected);
    };
    Action("Option1")->trigger();
    return form_->settings();
  }
  template <typename T = QLineEdit>
  T* In(const char* name) {
    T* w = dialog_->findChild<T*>(QLatin1String(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  RadioGroup* Group(const char* name) { return In<RadioGroup>(name); }

  TOptionDlg* dialog_ = nullptr;
};

// OK with nothing changed keeps the defaults and a value unlike them; Cancel
// keeps the settings whatever was changed. What is typed applies: sizes that
// are no number keep the default, a line space that is none is 0, a stored
// face this system lacks stays and face names keep at most 30 bytes.
TEST_F(OptionsTest, EveryControlRoundTripsTypedValuesApplyAndCancelChangesNothing) {
  for (const Settings& s : {Settings(form_->settings()), Unusual()}) {
    form_->settings() = s;
    EXPECT_EQ(Run({}), s);
  }
  const Settings before = form_->settings();
  EXPECT_EQ(Run([&] { In("Buffer")->setText(QStringLiteral("4000")); }, false), before);
  form_->settings().font0.face1 = Sjis("ＭＳ Ｐゴシック");
  const Settings& s = Run([&] {
    In<QComboBox>("Font2")->setEditText(QString(40, QLatin1Char('f')));
    In<QComboBox>("Size1")->setEditText(QStringLiteral("16"));
    In<QComboBox>("Size2")->setEditText(QStringLiteral(""));
    In<QComboBox>("Size4")->setEditText(QStringLiteral("x"));
    In("LineSpace")->setText(QStringLiteral("none"));
    In("Depth")->setText(QStringLiteral("2"));
    Group("Bold")->setItemIndex(2);
  });
  EXPECT_EQ(s.font0.face1, Sjis("ＭＳ Ｐゴシック"));
  EXPECT_EQ(s.font0.face2.size(), 30u);
  EXPECT_EQ(std::tuple(s.font0.size1, s.font0.size2, s.font1.size2), std::tuple(16, 18, 18));
  EXPECT_EQ(std::tuple(s.lineSpace, s.searchDepth, s.bold), std::tuple(0, 2, 2));
  EXPECT_TRUE(reporter_.boxes().empty());
}

TEST_F(OptionsTest, BufferSizeLimits) {
  const struct {
    const char* text;
    int value;
    bool warned;
  } cases[] = {{"abc", 3000, false},
               {"2999", 3000, true},
               {"100001", 100000, true},
               {"-5", 3000, true},
               {"100000", 100000, false}};
  for (const auto& c : cases) {
    reporter_.Clear();
    EXPECT_EQ(Run([&] { In("Buffer")->setText(QLatin1String(c.text)); }).bufferSize, c.value)
        << c.text;
    EXPECT_EQ(reporter_.Last(RecordedBox::kWarning),
              c.warned
                  ? Format("ﾊﾞｯﾌｧの大きさが制限(3,000～100,000)外です。%dに変更しました。", c.value)
                  : "")
        << c.text;
  }
}

// AutoSearch 0 is 行わない; 1-3 act when the window is activated, 4-6 when
// text is copied, each as take / search / search and copy. Off disables the
// groups and the selection option, whose choice is kept.
TEST_F(OptionsTest, ClipboardMapping) {
  for (int value = 0; value <= 6; ++value) {
    form_->settings().autoSearch = value;
    EXPECT_EQ(Run([&] {
                EXPECT_EQ(Group("ClipTiming")->isEnabled(), value != 0);
                if (value == 0) return;
                EXPECT_EQ(Group("ClipTiming")->itemIndex(), value <= 3 ? 1 : 0) << value;
                EXPECT_EQ(Group("ClipAction")->itemIndex(), (value - 1) % 3) << value;
              }).autoSearch,
              value);
  }
  const Settings& s = Run([&] {
    auto* selection = In<QCheckBox>("WatchSelection");
    EXPECT_FALSE(selection->isChecked());
    selection->setChecked(true);
    In<QRadioButton>("RadioButton1")->click();
    EXPECT_FALSE(selection->isEnabled());
  });
  EXPECT_TRUE(s.watchSelection);
  EXPECT_EQ(s.autoSearch, 0);
  EXPECT_EQ(Run([&] { In<QRadioButton>("RadioButton2")->click(); }).autoSearch, 4);
}

}  // namespace
}  // namespace morva::testing
