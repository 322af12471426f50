// The wired main window as one program: the commands that act on the entry
// on screen when it comes from another book than the open one, the clipboard
// watch with the program's own copies and the copied search result, a
// start-up request handed over, boxes that keep what is typed, adding books
// from a folder at the first start, and the primary selection on a real X
// server (run by x_primary_selection_test.sh; skipped where the platform has
// no selection).
#include <QClipboard>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QUrl>

#include "app/clipboard/clipboard_watch.h"
#include "app/dialogs/teditor_dlg.h"
#include "app/search_windows/tgeneral_search.h"
#include "app/settings/settings_store.h"
#include "engine/book/group_file.h"
#include "tests/gui/main_window_fixture.h"
#include "view/dump_window/tdump_form.h"
#include "view/tmyscrollbox.h"

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

  Action("Dump")->trigger();
  TDumpForm* dump = main_->dumpForm();
  EXPECT_EQ(dump->subbook(), 2);
  EXPECT_TRUE(dump->memo()->toPlainText().contains(QStringLiteral("ぜ")));

  // The editor's file and the copy carry the shown book's source line; all
  // hits carry the source of each book they came from.
  form.settings().editFile = (dir_.path() / "out.txt").string();
  EditorContent content = EditorContent::kShown;
  answerDialog_ = [&](QDialog& dialog) {
    qobject_cast<TEditorDlg*>(&dialog)->SetContent(content);
    return static_cast<int>(QDialog::Accepted);
  };
  Action("Editor")->trigger();
  EXPECT_TRUE(ReadFile(dir_.path() / "out.txt").ends_with("\n出典二\n"));
  content = EditorContent::kAllItems;
  Action("Editor")->trigger();
  const std::string all = ReadFile(dir_.path() / "out.txt");
  EXPECT_NE(all.find("\n出典一\n"), std::string::npos) << all;
  EXPECT_NE(all.find("\n出典二\n"), std::string::npos) << all;
  EXPECT_EQ(editorStarts, 2);
  Action("MenuCopyContent")->trigger();
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
  Activate(form);
  for (const auto& [autoSearch, how] :
       std::vector<std::pair<int, char>>{{5, 'm'}, {5, 'C'}, {6, 'm'}, {6, 'C'}, {5, 'X'}}) {
    SCOPED_TRACE(std::to_string(autoSearch) + how);
    main_->clipboardWatch().SetAutoSearch(autoSearch);
    SearchWired("いぬ");
    Box()->setFocus();
    Box()->lineEdit()->setText(QStringLiteral("ねこ"));
    Box()->lineEdit()->selectAll();
    if (how == 'm') Action("Copy1")->trigger();
    else
      QTest::keyClick(Box()->lineEdit(), how == 'C' ? Qt::Key_C : Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(Clip(), QStringLiteral("ねこ"));
    EXPECT_EQ(form.wordlist().Count(), 0);
    // Nothing selected: nothing copied, and the next copy elsewhere counts.
    Box()->lineEdit()->deselect();
    Action("Copy1")->trigger();
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
  EXPECT_EQ(Status(1), "二の本");
  EXPECT_EQ(form.wordlist().Count(), 0);
  // A group with a word: the group opens first and its book is searched.
  ASSERT_TRUE(form.store().WriteParm(Sjis(",2,G,1,ねこ")));
  form.StartupCommand();
  EXPECT_EQ(Status(1), "一の本");
  EXPECT_EQ(form.wordlist().Count(), 1);
  ASSERT_TRUE(form.store().WriteParm(",2,H"));
  form.StartupCommand();
  // What is saved names the group the window shows, with its book.
  Close();
  const std::string saved = SjisToUtf8(ReadFile(IniPath()));
  EXPECT_NE(saved.find("Group=H"), std::string::npos) << saved;
  EXPECT_NE(saved.find("Book=1"), std::string::npos) << saved;
}

// Every editable box keeps what is typed, whatever its list holds: the
// search box, the general search window's word box and the option boxes.
TEST_F(WiringTest, NoBoxCompletesWhatIsTyped) {
  UseOneBook(1);
  OpenWired();
  // The main window's words reach the general window's history.
  SearchWired("dogs");
  Action("MenuGeneral")->trigger();
  QComboBox* keyword = main_->generalSearch()->findChild<QComboBox*>(QStringLiteral("Keyword"));
  Action("MenuIndex")->trigger();
  SearchWired("cats");
  EXPECT_EQ(keyword->itemText(0), QStringLiteral("cats"));
  EXPECT_EQ(keyword->itemText(1), QStringLiteral("dogs"));
  Action("MenuGeneral")->trigger();
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
  Action("Option1")->trigger();
  EXPECT_GE(boxes, 4);
}

namespace fs = std::filesystem;

class FirstStartTest : public WiringTest {
 protected:
  // A folder "dicts" holding one volume at its top (a volume folder itself),
  // one two levels down and one three levels down (beyond the search); the
  // wired window whose folder dialog answers with it.
  std::string OpenWithTree(bool groupOpen) {
    MakeBook("dicts", "上の本", Many("ねこ", 1));
    MakeBook("dicts/sub/deep", "下の本", Many("いぬ", 1));
    MakeBook("dicts/sub/deep/er/est", "遠い本", Many("とり", 1));
    UseBooks({{"別の本", MakeBook("other", "別の本", Many("うま", 1))}});
    if (!groupOpen) WriteIni("[Options]\nBook=-1\n");
    MorvaWindowOptions wired;
    wired.chooseFolder = [this](const QString&) { return std::optional<QString>(chosen_); };
    OpenWired(std::move(wired));
    return (dir_.path() / "dicts").string();
  }
  bool HintShown() { return Find<QLabel>("FirstStartHint")->isVisible(); }
  std::string Grp() { return ReadFile(SettingsDir() / kGroupFileName); }
  std::string BarTitles() {
    std::string titles;
    for (const BookBarEntry& e : form_->Bar())
      if (!e.IsSeparator()) titles += SjisToUtf8(e.title) + ",";
    return titles;
  }
  void Drop(const std::string& path, bool accepted) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
    const QPoint at = form_->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form_, &enter);
    ASSERT_EQ(enter.isAccepted(), accepted);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    if (accepted) QApplication::sendEvent(form_, &drop);
  }
  QString chosen_;
};

// With no book the pane tells how to add books while searching and 後退 stay
// usable; the folder's two volumes within reach join a new group named after
// the folder, saved with a backup of the file as it was, and the hint goes;
// the same folder again adds nothing.
TEST_F(FirstStartTest, HintUntilFolderAddsBooksToANewGroup) {
  const std::string tree = OpenWithTree(false);
  chosen_ = QString::fromStdString(tree);
  const std::string before = Grp();
  ASSERT_TRUE(HintShown());
  SearchWired("ねこ");
  EXPECT_TRUE(Find<QPushButton>("ButtonBack")->isVisible());
  Action("OpenFolder")->trigger();
  EXPECT_TRUE(reporter_.boxes().empty()) << reporter_.Last(RecordedBox::kWarning);
  EXPECT_EQ(BarTitles(), "下の本,上の本,");
  EXPECT_EQ(Status(1), "下の本");
  EXPECT_FALSE(HintShown());
  const std::string grp = SjisToUtf8(Grp());
  EXPECT_TRUE(grp.starts_with(SjisToUtf8(before) + "[dicts]")) << grp;
  EXPECT_NE(grp.find(tree + "/sub/deep,1,"), std::string::npos) << grp;
  EXPECT_EQ(Find<QMenu>("MenuGroup")->actions().size(), 4);  // 編集, separator, G, dicts
  SearchWired("いぬ");
  EXPECT_EQ(form_->wordlist().Count(), 1);
  const std::string saved = Grp();
  Action("OpenFolder")->trigger();
  EXPECT_EQ(Grp(), saved);
}

// A folder without a volume warns and changes nothing; a folder dropped on
// the window adds its books after the open group's own (a file is not
// taken).
TEST_F(FirstStartTest, EmptyFolderChangesNothingAndADroppedOneJoinsTheOpenGroup) {
  const std::string tree = OpenWithTree(true);
  EXPECT_FALSE(HintShown());
  fs::create_directories(dir_.path() / "empty" / "a" / "b");
  chosen_ = QString::fromStdString((dir_.path() / "empty").string());
  const std::string before = Grp();
  Action("OpenFolder")->trigger();
  EXPECT_NE(reporter_.Last(RecordedBox::kWarning).find(chosen_.toStdString()), std::string::npos);
  EXPECT_EQ(Grp(), before);
  EXPECT_EQ(BarTitles(), "別の本,");
  WriteFile(dir_.path() / "note.txt", "x");
  Drop((dir_.path() / "note.txt").string(), false);
  Drop(tree, true);
  EXPECT_EQ(SjisToUtf8(form_->settings().group), "G");
  EXPECT_EQ(BarTitles(), "別の本,下の本,上の本,");
  EXPECT_EQ(Status(1), "下の本");
  EXPECT_EQ(ReadFile(SettingsDir() / kGroupBackupName), before);
}

class PrimarySelectionTest : public WiringTest {
 protected:
  void SetUp() override {
    if (!QGuiApplication::clipboard()->supportsSelection())
      GTEST_SKIP() << "no primary selection here";
  }
  void TearDown() override {
    if (other_.state() != QProcess::NotRunning) {
      other_.closeWriteChannel();
      other_.waitForFinished(5000);
    }
  }
  static QString Selection() { return QGuiApplication::clipboard()->text(QClipboard::Selection); }
  // Another program selects text; returns once this program has been told.
  void OtherProgramSelects(const QString& text) {
    TearDown();
    QSignalSpy changes(QGuiApplication::clipboard(), &QClipboard::selectionChanged);
    other_.start(QStringLiteral(MORVA_SELECTION_OWNER), {text});
    ASSERT_TRUE(other_.waitForReadyRead(10000)) << other_.readAllStandardError().toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return changes.count() > 0 && Selection() == text; }, 5000));
    QTest::qWait(100);
  }
  QProcess other_;
};

TEST_F(PrimarySelectionTest, PaneOffersItsSelectionWithLfLineEndsAndNeverSearchesIt) {
  UseBooks({{"試験", MakeBook("a", "試験", Many("ねこ", 3))}}, "AutoSearch=5\nWatchSelection=yes");
  TMorvaForm& form = OpenWired();
  SearchWired("ねこ");
  form.ShowItem(0);
  form.SetSearchText(QString());
  QWidget* pane = Find<TMyScrollBox>("MyScrollBox1")->viewport();
  const int line = form.view()->LineHeight();

  // Dragging over the heading and into the text below it.
  QTest::mousePress(pane, Qt::LeftButton, {}, QPoint(1, line / 2));
  QTest::mouseMove(pane, QPoint(pane->width() / 2, line * 3 / 2));
  QTest::mouseRelease(pane, Qt::LeftButton, {}, QPoint(pane->width() / 2, line * 3 / 2));
  QTest::qWait(200);  // a notice of the change would have come by now
  const QString dragged = Selection();
  EXPECT_TRUE(dragged.startsWith(QStringLiteral("ねこ１\n"))) << dragged.toStdString();
  EXPECT_FALSE(dragged.contains(QLatin1Char('\r')));
  EXPECT_TRUE(Box()->currentText().isEmpty());

  // A double click selects the word under it (in the heading), and the
  // selection follows.
  QTest::mouseDClick(pane, Qt::LeftButton, {}, QPoint(2, line / 2));
  QTest::qWait(200);
  const QString word = Selection();
  EXPECT_FALSE(word.isEmpty());
  EXPECT_TRUE(QStringLiteral("ねこ１").startsWith(word)) << word.toStdString();
  EXPECT_TRUE(Box()->currentText().isEmpty());

  // The window's own selections leave nothing behind that would swallow
  // the next selection of another program.
  OtherProgramSelects(QStringLiteral("ねこ"));
  EXPECT_EQ(Box()->currentText().toStdString(), "ねこ");
}

// Another program selects a word: searched by the AutoSearch rules with the
// option on, left alone with it off.
TEST_F(PrimarySelectionTest, AnotherProgramsSelectionIsSearchedOnlyWithTheOption) {
  for (const bool watch : {false, true}) {
    SCOPED_TRACE(watch);
    UseBooks({{"試験", MakeBook("a", "試験", Many("ねこ", 3))}},
             std::string("AutoSearch=5\nWatchSelection=") + (watch ? "yes" : "no"));
    TMorvaForm& form = OpenWired();
    OtherProgramSelects(QStringLiteral(" ねこ "));
    EXPECT_EQ(Box()->currentText().toStdString(), watch ? "ねこ" : "");
    EXPECT_EQ(form.wordlist().Count(), watch ? 3 : 0);
    main_.reset();
  }
}

}  // namespace
}  // namespace morva::testing
