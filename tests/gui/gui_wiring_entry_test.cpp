// The wired main window as one program: the commands that act on the entry
// on screen when it comes from another book than the open one, the clipboard
// watch with the program's own copies and the copied search result, a
// start-up request handed over with a group and no word, and boxes that
// keep what is typed.
#include <QClipboard>
#include <QComboBox>
#include <QPlainTextEdit>
#include <fstream>
#include <sstream>

#include "app/clipboard/clipboard_watch.h"
#include "app/dialogs/teditor_dlg.h"
#include "app/search_windows/tgeneral_search.h"
#include "app/settings/settings_store.h"
#include "tests/gui/gui_wiring_fixture.h"
#include "view/dump_window/tdump_form.h"
#include "view/ttextview.h"

namespace morva::testing {
namespace {

QString Clip() { return QGuiApplication::clipboard()->text(); }
std::string FileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

class EntryTest : public WiringTest {
 protected:
  // Two books of the same layout in group G, each with its own source line:
  // the same address holds ねこ in the first and ねこぜ in the second.
  void TwoBooks(const std::string& moreOptions = "") {
    const std::string a = MakeBook("a", "一の本", Many("ねこ", 2));
    const std::string b = MakeBook("b", "二の本", Many("ねこぜ", 2));
    WriteDat("[一の本]\nSOURCE=出典一\n[二の本]\nSOURCE=出典二\n");
    UseBooks({{"一の本", a}, {"二の本", b}}, moreOptions);
  }
  int FirstRowOfBook(int book) {
    for (int row = 0; row < Form().wordlist().Count(); ++row)
      if (Form().wordlist().Item(row).book == book) return row;
    return -1;
  }
  // Makes the form the active window, with the focus in the search box.
  void FocusSearchBox() {
    Form().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&Form()));
    Box()->setFocus();
  }
};

TEST_F(EntryTest, CommandsOnTheShownEntryUseItsBookNotTheOpenOne) {
  TwoBooks();
  MorvaWindowOptions options;
  int editorStarts = 0;
  options.editorRun.starter = [&](const QString&, const QStringList&) {
    return ++editorStarts, 33;
  };
  options.confirm = [](const QString&, const QString&) { return true; };  // overwrite the file
  TMorvaForm& form = OpenWired(std::move(options));
  ASSERT_EQ(form.CurrentBook(), 1);
  Form().SetSearchText(QStringLiteral("ねこ"));
  QTest::mouseClick(Child<QPushButton>("IndexSearchButton"), Qt::LeftButton, Qt::ControlModifier);
  const int second = FirstRowOfBook(2);  // a hit of 二の本
  ASSERT_GE(second, 0);
  const WordlistItem item = form.wordlist().Item(second);
  form.ShowItem(second);
  // Drawing the list reads the other book's headings meanwhile.
  form.repaint();
  ASSERT_EQ(form.CurrentBook(), 1);

  Act("Dump")->trigger();
  TDumpForm* dump = window_->dumpForm();
  ASSERT_NE(dump, nullptr);
  EXPECT_EQ(dump->subbook(), item.book);
  EXPECT_EQ(dump->page(), item.body.page);
  EXPECT_EQ(dump->offset(), item.body.offset);
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
  EXPECT_TRUE(FileText(dir_.path() / "out.txt").ends_with("\n出典二\n"));
  content = EditorContent::kAllItems;
  Act("Editor")->trigger();
  const std::string all = FileText(dir_.path() / "out.txt");
  EXPECT_NE(all.find("\n出典一\n"), std::string::npos) << all;
  EXPECT_NE(all.find("\n出典二\n"), std::string::npos) << all;
  EXPECT_EQ(editorStarts, 2);

  Act("MenuCopyContent")->trigger();
  EXPECT_TRUE(Clip().startsWith(QStringLiteral("ねこぜ１\n")));
  EXPECT_TRUE(Clip().endsWith(QStringLiteral("\n出典二\n"))) << Clip().toStdString();
}

// AutoSearch 3 and 6 copy the entry their search found, alone also in
// continuous display; nothing found leaves the copied word alone.
TEST_F(EntryTest, CopiedResultIsTheEntryTheSearchFound) {
  struct Case {
    int autoSearch;
    const char* display;
  };
  for (const Case c : {Case{6, "Scroll=yes"}, Case{3, "Scroll=yes"}, Case{6, "Scroll=no"}}) {
    const int autoSearch = c.autoSearch;
    SCOPED_TRACE(std::to_string(autoSearch) + c.display);
    UseBooks({{"試験", MakeBook("a", "試験", Many("ねこ", 3))}},
             "AutoSearch=" + std::to_string(autoSearch) + "\n" + c.display);
    WriteDat("[試験]\nSOURCE=出典\n");
    QGuiApplication::clipboard()->clear();
    TMorvaForm& form = OpenWired();
    QWidget other;
    auto activate = [&](QWidget& window) {
      window.show();
      window.activateWindow();
      ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    };
    activate(other);
    QGuiApplication::clipboard()->setText(QStringLiteral("ねこ"));
    if (autoSearch == 3) activate(form);
    EXPECT_EQ(form.wordlist().Count(), 3);
    EXPECT_EQ(Clip(), QStringLiteral("ねこ１\n説明の本文\n\n出典\n")) << Clip().toStdString();
    EXPECT_EQ(form.view()->ShownAddress(), form.wordlist().Item(0).body);
    // The copy was not taken as a word of its own.
    EXPECT_EQ(Box()->currentText(), QStringLiteral("ねこ"));

    activate(other);
    QGuiApplication::clipboard()->setText(QStringLiteral("いぬ"));
    if (autoSearch == 3) activate(form);
    EXPECT_EQ(form.wordlist().Count(), 0);
    EXPECT_EQ(Clip(), QStringLiteral("いぬ"));
    window_.reset();
  }
}

// Copies from the search box, by menu and by keys, are the program's own:
// neither searched (5) nor overwritten by a result (6).
TEST_F(EntryTest, CopiesFromTheSearchBoxAreNotSearched) {
  UseBooks({{"試験", MakeBook("a", "試験", Many("ねこ", 3))}});
  TMorvaForm& form = OpenWired();
  struct Case {
    int autoSearch;
    bool keys;
  };
  for (const Case c : {Case{5, false}, Case{5, true}, Case{6, false}, Case{6, true}}) {
    SCOPED_TRACE(c.autoSearch * 10 + c.keys);
    window_->clipboardWatch().SetAutoSearch(c.autoSearch);
    SearchWired("いぬ");
    ASSERT_EQ(form.wordlist().Count(), 0);
    FocusSearchBox();
    Box()->lineEdit()->setText(QStringLiteral("ねこ"));
    Box()->lineEdit()->selectAll();
    if (c.keys) QTest::keyClick(Box()->lineEdit(), Qt::Key_C, Qt::ControlModifier);
    else Act("Copy1")->trigger();
    EXPECT_EQ(Clip(), QStringLiteral("ねこ"));
    EXPECT_EQ(form.wordlist().Count(), 0);
    // Nothing selected: nothing copied, and the next copy elsewhere counts.
    Box()->lineEdit()->deselect();
    Act("Copy1")->trigger();
    QGuiApplication::clipboard()->setText(QStringLiteral("ねこ"));
    EXPECT_EQ(form.wordlist().Count(), 3);
  }
  // Cutting is the program's own change too.
  SearchWired("いぬ");
  FocusSearchBox();
  Box()->lineEdit()->setText(QStringLiteral("ねこ"));
  Box()->lineEdit()->selectAll();
  QTest::keyClick(Box()->lineEdit(), Qt::Key_X, Qt::ControlModifier);
  EXPECT_EQ(Clip(), QStringLiteral("ねこ"));
  EXPECT_EQ(form.wordlist().Count(), 0);
}

TEST_F(EntryTest, HandOverWithAGroupAndNoWordOpensTheGroup) {
  const std::string a = MakeBook("a", "一の本", Many("ねこ", 1));
  const std::string b = MakeBook("b", "二の本", Many("いぬ", 1));
  WriteFile(
      SettingsDir() / "MORVA.GRP",
      Sjis("[G]\n一の本,,," + a + ",1,,0000FF,一,yes\n[H]\n二の本,,," + b + ",1,,0000FF,二,yes\n"));
  WriteIni("[Options]\nGroup=G\nBook=1\n");
  QGuiApplication::clipboard()->clear();
  TMorvaForm& form = OpenWired();
  ASSERT_EQ(form.windowTitle(), QStringLiteral("Morva - G"));
  ASSERT_TRUE(form.store().WriteParm(",2,H"));
  form.StartupCommand();
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Morva - H"));
  EXPECT_EQ(form.settings().group, "H");
  EXPECT_EQ(StatusOf(1), "二の本");
  EXPECT_EQ(form.wordlist().Count(), 0);
  // What is saved names the group the window shows, with its book.
  window_.reset();
  const std::string saved = SjisToUtf8(FileText(IniPath()));
  EXPECT_NE(saved.find("Group=H"), std::string::npos) << saved;
  EXPECT_NE(saved.find("Book=1"), std::string::npos) << saved;
}

// Every editable box keeps what is typed, whatever its list holds: the
// search box, the general search window's word box and the option boxes.
TEST_F(EntryTest, NoBoxCompletesWhatIsTyped) {
  UseBooks({{"試験", MakeBook("a", "試験", Many("ねこ", 1))}});
  TMorvaForm& form = OpenWired();
  SearchWired("dogs");
  std::vector<QComboBox*> boxes{Box()};
  Act("MenuGeneral")->trigger();
  ASSERT_NE(window_->generalSearch(), nullptr);
  boxes.push_back(window_->generalSearch()->findChild<QComboBox*>(QStringLiteral("Keyword")));
  auto typeAPrefix = [](QComboBox* box) {
    QString item;
    for (int i = 0; i < box->count() && item.isEmpty(); ++i) {
      const QString text = box->itemText(i);
      bool ascii = text.size() >= 2;
      for (const QChar c : text) ascii = ascii && c.unicode() > 0x20 && c.unicode() < 0x7F;
      if (ascii) item = text;
    }
    if (item.isEmpty()) return;  // nothing that could be completed
    SCOPED_TRACE(box->objectName().toStdString() + " " + item.toStdString());
    box->lineEdit()->clear();
    box->setFocus();
    QApplication::processEvents();
    QTest::keyClicks(box, item.left(item.size() - 1));
    EXPECT_EQ(box->currentText(), item.left(item.size() - 1));
  };
  for (QComboBox* box : boxes) {
    ASSERT_NE(box, nullptr);
    box->window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(box->window()));
    typeAPrefix(box);
  }
  int optionBoxes = 0;
  answerDialog_ = [&](QDialog& dialog) {
    dialog.show();
    dialog.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
    for (QComboBox* box : dialog.findChildren<QComboBox*>()) {
      if (!box->isEditable()) continue;
      ++optionBoxes;
      typeAPrefix(box);
    }
    return static_cast<int>(QDialog::Rejected);
  };
  Act("Option1")->trigger();
  EXPECT_GE(optionBoxes, 4);
  EXPECT_EQ(form.ActiveTab(), kGeneralTab);
}

}  // namespace
}  // namespace morva::testing
