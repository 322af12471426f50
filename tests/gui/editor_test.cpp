// The windows the main window opens: the external editor as ﾂｰﾙ > ｴﾃﾞｨﾀ起動
// runs it (the three outputs, the overwrite question, the start of the
// editor, never a real one here, and its failures, the per-book information
// file, the command line), the image window's place, CD audio, the dump
// window, the help pages and the drive search with its dialog.

#include <QFile>
#include <QPlainTextEdit>

#include "app/clipboard/editor_output.h"
#include "app/clipboard/follow_link.h"
#include "app/dialogs/teditor_dlg.h"
#include "app/drive_search/drive_search_command.h"
#include "app/drive_search/tdrive_search.h"
#include "app/help/help_window.h"
#include "app/settings/settings.h"
#include "tests/app/drive_books.h"
#include "tests/gui/main_window_fixture.h"
#include "tests/gui/windows_book.h"
#include "view/dump_window/tdump_form.h"

namespace morva::testing {
namespace {

// The picture book's entry shown in item display, a word list of its two
// headings, and an editor that is never started.
class EditorTest : public MainWindowTest {
 protected:
  EditorTest() {
    book_ = WritePictureBook(dir_.path() / "pics");
    UseBooks({{"画像テスト", (dir_.path() / "pics").string()}},
             "Scroll=no\nEditor=my editor\nEditFile=out.txt");
    answerDialog_ = [this](QDialog& dialog) {
      if (auto* editor = qobject_cast<TEditorDlg*>(&dialog)) editor->SetContent(content_);
      return static_cast<int>(QDialog::Accepted);
    };
  }
  void OpenAndShow() {
    MorvaWindowOptions wired;
    wired.editorRun.starter = [this](const QString& program, const QStringList& arguments) {
      started_.push_back(program + " " + arguments.join(QLatin1Char(' ')));
      return result_;
    };
    wired.editorRun.warning = [this](const QString& caption, const QString& text) {
      warnings_ << caption + "|" + text;
    };
    wired.confirm = [this](const QString& caption, const QString& text) {
      questions_ << caption + "|" + text;
      return overwrite_;
    };
    Open(false, std::move(wired));
    form_->ShowAddress(1, book_.entry());
    form_->wordlist().Append(book_.heading1(), book_.entry(), 1);
    form_->wordlist().Append(book_.heading2(), book_.relatedText(), 1);
  }
  void Run(EditorContent content) {
    content_ = content;
    Action("Editor")->trigger();
  }
  std::filesystem::path OutPath() const { return SettingsDir() / "out.txt"; }
  std::string Output() const { return ReadFile(OutPath()); }

  PictureBook book_;
  EditorContent content_ = EditorContent::kShown;
  QStringList started_, warnings_, questions_;
  bool overwrite_ = true;
  int result_ = 42;
};

TEST_F(EditorTest, ShownContentIsWrittenAndTheEditorGetsTheFile) {
  OpenAndShow();
  Run(EditorContent::kShown);
  const std::string out = Output();
  for (const char* text : {"図入り\n", "地図", "本文"})
    EXPECT_NE(out.find(text), std::string::npos) << out;
  EXPECT_EQ(out.find_first_of("\r\x02"), std::string::npos);
  EXPECT_EQ(started_, QStringList{"my editor " + QString::fromStdString(OutPath().string())});
  EXPECT_FALSE(form_->view()->HasSelection());
  EXPECT_TRUE(questions_.isEmpty());
}

// Every item of the list, in order, with the progress box and the source
// line (cancelling stops writing items); the headings with external
// characters as text.
TEST_F(EditorTest, AllItemsWithProgressAndTheSourceLineAndHeadings) {
  WriteDat("[画像テスト]\r\nSOURCE=出典：テスト辞書\r\n");
  OpenAndShow();
  Run(EditorContent::kAllItems);
  std::string out = Output();
  const size_t second = out.find("関連する本文");
  ASSERT_NE(second, std::string::npos) << out;
  EXPECT_LT(out.find("図入り"), second);
  EXPECT_TRUE(out.ends_with("出典：テスト辞書\n")) << out;
  EXPECT_EQ(SjisToUtf8(progress_.caption()), "ﾌｧｲﾙへ出力中");
  EXPECT_EQ(progress_.steps(), 2);
  EXPECT_FALSE(progress_.open());
  // Formatting in text mode left the book's own mode in place.
  EXPECT_EQ(form_->disk().decoderState().gaijiMode, GaijiMode::kBitmap);
  progress_.cancelAfterSteps = 2;  // the second item cancels
  Run(EditorContent::kAllItems);
  out = Output();
  EXPECT_NE(out.find("図入り"), std::string::npos);
  EXPECT_EQ(out.find("関連する本文"), std::string::npos);
  Run(EditorContent::kHeadings);
  EXPECT_EQ(Output(), "見出し一\n見出し二[a121]\n");
}

// An existing file is asked about first and No stops the command; failed
// starts show their message with the caption.
TEST_F(EditorTest, ExistingFileAsksFirstAndFailedStartsAreShown) {
  OpenAndShow();
  WriteFile(OutPath(), "old");
  overwrite_ = false;
  Run(EditorContent::kShown);
  EXPECT_EQ(questions_, QStringList{QString::fromUtf8(
                            "Editor|同じ名前のファイルが存在します。構わず実行しますか。")});
  EXPECT_EQ(Output(), "old");
  EXPECT_TRUE(started_.empty());
  overwrite_ = true;
  for (const int code : {2, 0, 7}) {
    result_ = code;
    Run(EditorContent::kShown);
  }
  EXPECT_NE(Output(), "old");
  EXPECT_EQ(warnings_, (QStringList{QString::fromUtf8("ｴﾃﾞｨﾀ|プログラムが見つからない"),
                                    QString::fromUtf8("ｴﾃﾞｨﾀ|メモリ不足"),
                                    QString::fromUtf8("ｴﾃﾞｨﾀ|実行できません. エラーコード:7")}));
}

// 辞書個別指定 adds the open book's section to the information file once and
// gives the file to the editor.
TEST_F(EditorTest, DicInfoSectionIsAddedOnce) {
  const std::filesystem::path info = SettingsDir() / "MORVA.DAT";
  WriteFile(info, Sjis("[他の辞書]\r\nSOURCE=x"));
  OpenAndShow();
  const std::string expected = Sjis("[他の辞書]\r\nSOURCE=x\r\n[画像テスト]\r\n");
  Action("MenuEditDicInfo")->trigger();
  EXPECT_EQ(ReadFile(info), expected);
  EXPECT_EQ(form_->disk().CurrentSubbook(), -1);  // released: the edited file is read again
  EXPECT_EQ(started_, QStringList{"my editor " + QString::fromStdString(info.string())});
  Action("MenuEditDicInfo")->trigger();
  EXPECT_EQ(ReadFile(info), expected);
  // A new file is created with the section.
  const std::string fresh = (dir_.path() / "new.dat").string();
  EXPECT_TRUE(EnsureDicInfoSection(fresh, Sjis("題")));
  EXPECT_EQ(ReadFile(fresh), Sjis("[題]\r\n"));
}

TEST(RunEditor, CommandLineQuotesAProgramWithABlank) {
  EXPECT_EQ(EditorCommandLine(QStringLiteral("/opt/my editor/ed"), QStringLiteral("/tmp/a.txt")),
            QStringLiteral("\"/opt/my editor/ed\" /tmp/a.txt"));
  EXPECT_EQ(StartDetachedProcess(QStringLiteral("morva-no-such-editor-xyz"), {}), 2);
  // Without a caption a failure shows nothing.
  RunEditorOptions silent;
  silent.starter = [](const QString&, const QStringList&) { return 7; };
  silent.warning = [](const QString&, const QString&) { ADD_FAILURE() << "shown"; };
  EXPECT_EQ(RunEditor("x", "y", "", silent), 7);
}

// The image window opens at the stored offset from the main window, brought
// back onto the screen.
TEST(ImageWindowPlace, OffsetFromTheMainWindowStaysOnTheScreen) {
  const QRect main(100, 50, 500, 400);
  EXPECT_EQ(ImageWindowPlace(main, 30, -200), QPoint(130, 0));
  EXPECT_EQ(ImageWindowPlace(main, -150, 10), QPoint(0, 60));
}

TEST_F(MainWindowTest, DumpWindowShowsTheEntrysPageStepsAndKeepsItWithoutContent) {
  UseOneBook(2, "Scroll=no", "", true);
  Open();
  Search("ねこ");
  ClickRow(1);
  Action("Dump")->trigger();
  TDumpForm& dump = *main_->dumpForm();
  auto text = [&] { return dump.memo()->toPlainText(); };
  auto press = [&](const char* action) { dump.findChild<QAction*>(action)->trigger(); };
  const BookAddress at = Body(1);
  EXPECT_TRUE(dump.isVisible());
  EXPECT_TRUE(text().startsWith(QString::asprintf("Position = 0x%08X:%04X", at.page, at.offset)))
      << text().toStdString();
  press("Next");
  EXPECT_EQ(dump.page(), at.page + 1);
  // Stepping back stops at page zero.
  while (dump.page() > 0) press("Prior");
  const QString pageZero = text();
  EXPECT_TRUE(pageZero.startsWith(QStringLiteral("Page = 0x00000000")));
  press("Prior");
  press("Next");
  EXPECT_EQ(dump.page(), 0);
  EXPECT_EQ(text(), pageZero);

  // Another tab shows nothing in the pane: the window keeps what it showed
  // and its page buttons do nothing.
  Action("MenuMenu")->trigger();
  Action("MenuIndex")->trigger();
  ASSERT_EQ(form_->view()->ShownSubbook(), -1);
  Action("Dump")->trigger();
  press("Next");
  EXPECT_EQ(dump.page(), 0);
  EXPECT_EQ(text(), pageZero);
}

TEST(HelpWindow, EveryTopicHasItsAnchorInABuiltInPage) {
  for (const char* name : {"SakuinKensaku", "Group", "OptionKensaku", "OptionHyoji",
                           "OptionClipboard", "OptionNyushuturyoku"})
    EXPECT_FALSE(HelpWindow::TopicUrl(QLatin1String(name)).isEmpty()) << name;
  for (const HelpTopic& t : HelpWindow::Topics()) {
    QFile page(QStringLiteral(":/help/") + QLatin1String(t.page));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly)) << t.page;
    EXPECT_TRUE(
        QString::fromUtf8(page.readAll()).contains(QStringLiteral("name=\"%1\"").arg(t.name)))
        << t.name;
  }
  EXPECT_TRUE(HelpWindow::TopicUrl(QStringLiteral("NoSuchTopic")).isEmpty());
  EXPECT_EQ(HelpWindow::FileFromName("C:\\MORVA\\morvatitle.hlp"), HelpFile::kTitles);
  EXPECT_EQ(HelpWindow::FileFromName("/x/MORVA.HLP"), HelpFile::kMorva);
  // The finder filters the topics by every keyword.
  EXPECT_EQ(HelpWindow::FindTopics(HelpFile::kMorva, QString::fromUtf8("オプション 色")),
            QStringList{QStringLiteral("OptionHyoji")});
  EXPECT_TRUE(HelpWindow::FindTopics(HelpFile::kMorva, QStringLiteral("zzzz")).isEmpty());
}

// Without the dialog a search that finds nothing warns and then shows the
// dialog, whose choice is kept; cancelling it changes nothing.
TEST_F(DriveWalkTest, CommandWithoutDialogWarnsThenShowsTheDialogWhenNothingIsFound) {
  Settings settings;
  settings.searchDialog = false;
  settings.searchRoots = (dir_ / "empty").string();
  settings.searchDepth = 0;
  int dialogs = 0;
  std::vector<DicMenuItem> menu;
  auto refilled = [&](const std::vector<DicMenuItem>& items) { menu = items; };
  auto showDialog = [&](DriveSearchChoice* choice) {
    ++dialogs;
    EXPECT_EQ(choice->roots, (dir_ / "empty").string());
    *choice = {Root().string(), 1, true};
    return true;
  };
  EXPECT_TRUE(DriveSearchCommand(disk_, bar_, settings, nullptr, refilled, showDialog));
  EXPECT_EQ(dialogs, 1);
  EXPECT_EQ(
      reporter_.Last(testing::RecordedBox::kWarning),
      "辞書が見つかりません．辞書をﾊｰﾄﾞﾃﾞｨｽｸにｺﾋﾟｰしているときは，「深さ」を調節してください．");
  EXPECT_EQ(settings.searchRoots, Root().string());
  EXPECT_EQ(settings.searchDepth, 1);
  EXPECT_TRUE(settings.searchDialog);
  EXPECT_EQ(bar_.size(), 6u);
  EXPECT_EQ(menu.size(), 3u);
  EXPECT_FALSE(DriveSearchCommand(disk_, bar_, settings, nullptr, refilled,
                                  [](DriveSearchChoice*) { return false; }));
  EXPECT_EQ(bar_.size(), 6u);
}

}  // namespace
}  // namespace morva::testing
