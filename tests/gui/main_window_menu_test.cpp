// The main menu as the user meets it: every item's caption, access key and
// shortcut, and the items whose work is done elsewhere, which do nothing
// until their hook is filled and then call it with the right values.
#include "tests/gui/main_window_fixture.h"

#include <QMenuBar>

namespace morva::testing {
namespace {

TEST_F(MainWindowTest, MenuItemsHaveTheirCaptionsAndShortcuts) {
  Open();
  struct Item {
    const char* name;
    const char* caption;
    const char* shortcut;
  };
  const Item items[] = {
      {"OpenFolder", "辞書ﾌｫﾙﾀﾞを開く(&O)...", "Ctrl+O"},
      {"CDS1", "ﾄﾞﾗｲﾌﾞをｻｰﾁする(&S)...", ""},
      {"Exit1", "終了(&X)", ""},
      {"Copy1", "ｺﾋﾟｰ(&C)", "Ctrl+C"},
      {"Paste1", "貼り付け(&P)", "Ctrl+V"},
      {"MenuCopyContent", "項目内容をｺﾋﾟｰ(&A)", "Ctrl+A"},
      {"Editor", "ｴﾃﾞｨﾀ起動(&E)...", ""},
      {"SearchContent", "項目内容を検索(&F)...", "Ctrl+F"},
      {"FindNext1", "次を検索(&S)", "F3"},
      {"MenuCondAndContent", "条件・内容ｳｨﾝﾄﾞｳ(&W)", ""},
      {"MenuCondition", "条件ｳｨﾝﾄﾞｳ(&K)", ""},
      {"MenuContent", "内容ｳｨﾝﾄﾞｳ(&C)", ""},
      {"Dump", "ﾊﾞｲﾅﾘﾀﾞﾝﾌﾟ(&D)", ""},
      {"MenuSeq", "連続表示(&M)", ""},
      {"MenuDicBar", "辞書名ﾊﾞｰ(&N)", ""},
      {"MenuMode", "表示ﾓｰﾄﾞ切替ﾎﾞﾀﾝ(&B)", ""},
      {"MenuIndex", "索引検索(&I)", "Ctrl+I"},
      {"MenuMulti", "複合検索(&M)", "Ctrl+U"},
      {"MenuMenu", "ﾒﾆｭｰ検索(&N)", "Ctrl+N"},
      {"MenuGeneral", "総合検索(&G)", "Ctrl+G"},
      {"MenuBack", "後退(&B)", "Ctrl+B"},
      {"MenuEditDicInfo", "辞書個別指定(&E)...", ""},
      {"Option1", "ｵﾌﾟｼｮﾝ(&T)...", ""},
      {"E1", "辞書ｸﾞﾙｰﾌﾟを編集する(&E)...", ""},
      {"Contents1", "目次(&C)", "F1"},
      {"SearchforHelp", "ﾄﾋﾟｯｸの検索(&S)", ""},
      {"CDTitleHelp", "動作確認CD-ROMｶﾀﾛｸﾞ(&T)", ""},
      {"About1", "Morvaについて(&A)...", ""},
      {"N3", "画面語検索", ""},
      {"GamengoJoken", "画面語条件検索", ""},
      {"Copy2", "ｺﾋﾟｰ", ""},
      {"N11", "ﾄﾞﾗｲﾌﾞをｻｰﾁする...", ""},
      {"MenuByAddress", "格納順に並べ替え(&A)", ""},
      {"MenuByName", "項目名順に並べ替え(&N)", ""},
  };
  for (const Item& item : items) {
    QAction* action = Action(item.name);
    ASSERT_NE(action, nullptr) << item.name;
    EXPECT_EQ(action->text(), QString::fromUtf8(item.caption)) << item.name;
    EXPECT_EQ(action->shortcut(), QKeySequence(QString::fromUtf8(item.shortcut))) << item.name;
  }
  QStringList titles;
  for (QAction* menu : form_->menuBar()->actions()) titles << menu->text();
  EXPECT_EQ(titles, (QStringList{"ﾌｧｲﾙ(&F)", "編集(&E)", "表示(&V)", "ﾂｰﾙ(&T)", "辞書(&B)", "ｸﾞﾙｰﾌﾟ(&G)", "ﾍﾙﾌﾟ(&H)"}));
}

TEST_F(MainWindowTest, ItemsOfLaterPartsDoNothingUntilTheirSignalsAreConnected) {
  UseBooks({{"試験", MakeBook("a", "試験", Many("ねこ", 1))}}, "SearchDialog=no");
  TMorvaForm& form = Open();
  for (const char* name : {"CDS1", "N11", "Editor", "MenuEditDicInfo", "Option1", "Dump", "Contents1",
                           "SearchforHelp", "CDTitleHelp", "About1"})
    Action(name)->trigger();
  Find<QPushButton>("ButtonHint")->click();
  EXPECT_TRUE(reporter_.boxes().empty());
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);

  std::vector<std::string> calls;
  auto record = [&](const std::string& call) { return [&calls, call] { calls.push_back(call); }; };
  QObject::connect(&form, &TMorvaForm::driveSearchRequested, record("drives"));
  QObject::connect(&form, &TMorvaForm::editorRequested, record("editor"));
  QObject::connect(&form, &TMorvaForm::dumpRequested, record("dump"));
  QObject::connect(&form, &TMorvaForm::helpContentsRequested,
                   [&](const std::string& file) { calls.push_back("contents " + file); });
  QObject::connect(&form, &TMorvaForm::helpFinderRequested,
                   [&](const std::string& file) { calls.push_back("finder " + file); });
  QObject::connect(&form, &TMorvaForm::helpTopicRequested, [&](const std::string& file, const std::string& topic) {
    calls.push_back("topic " + file + " " + topic);
  });
  QObject::connect(&form, &TMorvaForm::optionsRequested, [&] {
    calls.push_back("options");
    form.settings().scroll = false;  // the dialog switched to item display
    form.SettingsChanged();
  });
  Action("CDS1")->trigger();
  Action("Editor")->trigger();
  Action("Dump")->trigger();
  Action("CDTitleHelp")->trigger();
  Action("SearchforHelp")->trigger();  // the file chosen last
  Action("Contents1")->trigger();
  Find<QPushButton>("ButtonHint")->click();
  Action("Option1")->trigger();
  const std::string dir = SettingsDir().string() + "/";
  EXPECT_EQ(calls, (std::vector<std::string>{"drives", "editor", "dump", "contents " + dir + "MORVATITLE.HLP",
                                             "finder " + dir + "MORVATITLE.HLP", "contents " + dir + "MORVA.HLP",
                                             "topic " + dir + "MORVA.HLP SakuinKensaku", "options"}));
  // Options changed the display mode: the window follows.
  EXPECT_FALSE(form.ContinuousDisplay());
  EXPECT_TRUE(Find<QPushButton>("ButtonAll")->isEnabled());
  EXPECT_EQ(Action("CDS1")->text(), QStringLiteral("ﾄﾞﾗｲﾌﾞをｻｰﾁする(&S)"));
}

TEST_F(MainWindowTest, SearchBoxTakesAtMost127BytesOfShiftJis) {
  UseBooks({{"試験", MakeBook("a", "試験", Many("ねこ", 1))}});
  Open();
  Type(QString(130, QLatin1Char('a')));
  EXPECT_EQ(Box()->currentText().size(), 127);
  Box()->lineEdit()->clear();
  Type(QString(70, QChar(0x3042)));  // あ: two bytes each
  EXPECT_EQ(Box()->currentText().size(), 63);
}

}  // namespace
}  // namespace morva::testing
