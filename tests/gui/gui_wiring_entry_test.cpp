// The wired main window as one program: the commands that act on the entry
// on screen when it comes from another book than the open one, the clipboard
// watch with the program's own copies and the copied search result, a
// start-up request handed over with a group and no word, and boxes that
// keep what is typed.
#include <QClipboard>
#include <QPlainTextEdit>

#include "app/clipboard/clipboard_watch.h"
#include "app/dialogs/teditor_dlg.h"
#include "app/search_windows/tgeneral_search.h"
#include "app/settings/settings_store.h"
#include "tests/gui/main_window_fixture.h"
#include "view/dump_window/tdump_form.h"
#include "view/ttextview.h"

namespace morva::testing {
namespace {

QString Clip() { return QGuiApplication::clipboard()->text(); }

TEST_F(WiringTest, CommandsOnTheShownEntryUseItsBookNotTheOpenOne) {
  // The same address holds ねこ in the first book and ねこぜ in the second.
  const std::string a = MakeBook("a", "一の本", Many("ねこ", 2));
  UseBooks({{"一の本", a}, {"二の本", MakeBook("b", "二の本", Many("ねこぜ", 2))}});
  WriteDat("[一の本]\nSOURCE=出典一\n[二の本]\nSOURCE=出典二\n");
  MorvaWindowOptions options;
  int editorStarts = 0;
  options.editorRun.starter = [&](const QString&, const QStringList&) {
    return ++editorStarts, 33;
  };
  options.confirm = [](const QString&, const QString&) { return true; };  // overwrite the file
  TMorvaForm& form = OpenWired(std::move(options));
  Search("ねこ", Qt::ControlModifier);
  ASSERT_EQ(BooksOfHits(), (std::vector<int>{1, 1, 2, 2}));
  form.ShowItem(2);  // a hit of 二の本
  form.repaint();    // drawing the list reads the other book's headings meanwhile
  ASSERT_EQ(form.CurrentBook(), 1);

  Act("Dump")->trigger();
  TDumpForm* dump = window_->dumpForm();
  EXPECT_EQ(dump->subbook(), 2);
  EXPECT_EQ(dump->page(), Body(2).page);
  EXPECT_TRUE(dump->memo()->toPlainText().contains(QStringLiteral("ぜ")));
  EXPECT_TRUE(reporter_.boxes().empty());

  // The editor's file and the copy carry the shown book's source line; all
  // hits carry the source of each book they came from.
  form.settings().editFile = (dir_.path() / "out.txt").string();
  EditorContent content = EditorContent::kShown;
  answerDialog_ = [&](QDialog& dialog) {
    qobject_cast<TEditorDlg*>(&dialog)->SetContent(content);
    return static_cast<int>(QDialog::Accepted);
  };
  Act("Editor")->trigger();
  EXPECT_TRUE(ReadFile(dir_.path() / "out.txt").ends_with("\n出典二\n"));
  content = EditorContent::kAllItems;
  Act("Editor")->trigger();
  const std::string all = ReadFile(dir_.path() / "out.txt");
  EXPECT_NE(all.find("\n出典一\n"), std::string::npos) << all;
  EXPECT_NE(all.find("\n出典二\n"), std::string::npos) << all;
  EXPECT_EQ(editorStarts, 2);
  Act("MenuCopyContent")->trigger();
  EXPECT_TRUE(Clip().startsWith(QStringLiteral("ねこぜ１\n")));
  EXPECT_TRUE(Clip().endsWith(QStringLiteral("\n出典二\n"))) << Clip().toStdString();
}

// AutoSearch 3 and 6 copy the entry their search found, alone also in
// continuous display; nothing found leaves the copied word alone.
TEST_F(WiringTest, CopiedResultIsTheEntryTheSearchFound) {
  for (const char* options :
       {"AutoSearch=6\nScroll=yes", "AutoSearch=3\nScroll=yes", "AutoSearch=6\nScroll=no"}) {
    SCOPED_TRACE(options);
    const bool onActivation = std::string(options).starts_with("AutoSearch=3");
    UseOneBook(3, options);
    WriteDat("[試験]\nSOURCE=出典\n");
    QGuiApplication::clipboard()->clear();
    TMorvaForm& form = OpenWired();
    for (const bool found : {true, false}) {
      Activate(other_);
      QGuiApplication::clipboard()->setText(found ? QStringLiteral("ねこ")
                                                  : QStringLiteral("いぬ"));
      if (onActivation) Activate(form);
      EXPECT_EQ(form.wordlist().Count(), found ? 3 : 0);
      if (!found) {
        EXPECT_EQ(Clip(), QStringLiteral("いぬ"));
        continue;
      }
      EXPECT_EQ(Clip(), QStringLiteral("ねこ１\n説明の本文\n\n出典\n")) << Clip().toStdString();
      EXPECT_EQ(Shown(), Body(0));
      EXPECT_EQ(BoxText(), "ねこ");  // the copy was not taken as a word of its own
    }
    Close();
  }
}

// Copies and cuts from the search box, by menu and by keys, are the
// program's own: neither searched (5) nor overwritten by a result (6).
TEST_F(WiringTest, CopiesFromTheSearchBoxAreNotSearched) {
  UseOneBook(3);
  TMorvaForm& form = OpenWired();
  form.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  const struct {
    int autoSearch;
    const char* how;
  } cases[] = {{5, "menu"}, {5, "C"}, {6, "menu"}, {6, "C"}, {5, "X"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.autoSearch) + c.how);
    window_->clipboardWatch().SetAutoSearch(c.autoSearch);
    SearchWired("いぬ");
    Box()->setFocus();
    Box()->lineEdit()->setText(QStringLiteral("ねこ"));
    Box()->lineEdit()->selectAll();
    if (c.how[0] == 'm') Act("Copy1")->trigger();
    else
      QTest::keyClick(Box()->lineEdit(), c.how[0] == 'C' ? Qt::Key_C : Qt::Key_X,
                      Qt::ControlModifier);
    EXPECT_EQ(Clip(), QStringLiteral("ねこ"));
    EXPECT_EQ(form.wordlist().Count(), 0);
    // Nothing selected: nothing copied, and the next copy elsewhere counts.
    Box()->lineEdit()->deselect();
    Act("Copy1")->trigger();
    QGuiApplication::clipboard()->setText(QStringLiteral("ねこ"));
    EXPECT_EQ(form.wordlist().Count(), 3);
  }
}

TEST_F(WiringTest, HandOverWithAGroupOpensTheGroup) {
  const std::string a = MakeBook("a", "一の本", Many("ねこ", 1));
  const std::string b = MakeBook("b", "二の本", Many("いぬ", 1));
  WriteFile(
      SettingsDir() / "MORVA.GRP",
      Sjis("[G]\n一の本,,," + a + ",1,,0000FF,一,yes\n[H]\n二の本,,," + b + ",1,,0000FF,二,yes\n"));
  WriteIni("[Options]\nGroup=G\nBook=1\n");
  QGuiApplication::clipboard()->clear();
  TMorvaForm& form = OpenWired();
  ASSERT_TRUE(form.store().WriteParm(",2,H"));
  form.StartupCommand();
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Morva - H"));
  EXPECT_EQ(StatusOf(1), "二の本");
  EXPECT_EQ(form.wordlist().Count(), 0);
  // A group with a word: the group opens first and its book is searched.
  ASSERT_TRUE(form.store().WriteParm(Sjis(",2,G,1,ねこ")));
  form.StartupCommand();
  EXPECT_EQ(StatusOf(1), "一の本");
  EXPECT_EQ(form.wordlist().Count(), 1);
  ASSERT_TRUE(form.store().WriteParm(",2,H"));
  form.StartupCommand();
  // What is saved names the group the window shows, with its book.
  Close();
  const std::string saved = ReadFile(IniPath());
  EXPECT_NE(saved.find("Group=H"), std::string::npos) << saved;
  EXPECT_NE(saved.find("Book=1"), std::string::npos) << saved;
}

// Every editable box keeps what is typed, whatever its list holds: the
// search box, the general search window's word box and the option boxes.
TEST_F(WiringTest, NoBoxCompletesWhatIsTyped) {
  UseOneBook(1);
  TMorvaForm& form = OpenWired();
  // The main window's words reach the general window's history.
  SearchWired("dogs");
  Act("MenuGeneral")->trigger();
  QComboBox* keyword = window_->generalSearch()->findChild<QComboBox*>(QStringLiteral("Keyword"));
  Act("MenuIndex")->trigger();
  SearchWired("cats");
  EXPECT_EQ(keyword->itemText(0), QStringLiteral("cats"));
  EXPECT_EQ(keyword->itemText(1), QStringLiteral("dogs"));
  Act("MenuGeneral")->trigger();
  int boxes = 0;
  auto typeAPrefix = [&](QComboBox* box) {
    box->window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(box->window()));
    for (int i = 0; i < box->count(); ++i) {
      const QString item = box->itemText(i);
      if (item.size() < 2 || item.toLatin1() != item.toUtf8() || item.contains(' ')) continue;
      SCOPED_TRACE(box->objectName().toStdString() + " " + item.toStdString());
      box->lineEdit()->clear();
      box->setFocus();
      QTest::keyClicks(box, item.left(item.size() - 1));
      EXPECT_EQ(box->currentText(), item.left(item.size() - 1));
      return;
    }
  };
  typeAPrefix(Box());
  typeAPrefix(keyword);
  answerDialog_ = [&](QDialog& dialog) {
    dialog.show();
    for (QComboBox* box : dialog.findChildren<QComboBox*>())
      if (box->isEditable()) ++boxes, typeAPrefix(box);
    return static_cast<int>(QDialog::Rejected);
  };
  Act("Option1")->trigger();
  EXPECT_GE(boxes, 4);
  EXPECT_EQ(form.ActiveTab(), kGeneralTab);
}

}  // namespace
}  // namespace morva::testing
