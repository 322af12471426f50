// The external editor: the three outputs written to the file, the command
// with its overwrite question, the start of the editor (never a real one
// here), the per-book information file, links and CD audio.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWidget>

#include "app/clipboard/cd_audio.h"
#include "app/clipboard/editor_output.h"
#include "app/clipboard/follow_link.h"
#include "app/settings/settings.h"
#include "engine/decode/content.h"
#include "engine/search/wordlist.h"
#include "engine/text/unicode.h"
#include "tests/gui/windows_book.h"
#include "view/display_fonts.h"
#include "view/graph_window/tgraph_form.h"
#include "view/tmyscrollbox.h"
#include "view/ttextview.h"

namespace morva {
namespace {

using testing::PictureBookTest;

struct StartedProcess {
  QString program;
  QStringList arguments;
};

// A view showing the picture book's entry, a word list of two items, and an
// editor that is never started.
class EditorTest : public PictureBookTest {
 protected:
  EditorTest() {
    view_.SetClipboard(&clipboard_);
    clipboard_.onOwnChange = [this] { ++ownChanges_; };
    window_.resize(600, 400);
    window_.show();
    QApplication::processEvents();
    TContent(disk_).FormatItem(kRow, book_.entry());
    view_.Show(kRow, book_.entry().page, book_.entry().offset);
    list_.Append(book_.heading1(), book_.entry(), kRow);
    list_.Append(book_.heading2(), book_.relatedText(), kRow);
    settings_.editFile = (dir_ / "out.txt").string();
    settings_.editor = "my editor";
    hooks_.run.starter = [this](const QString& program, const QStringList& arguments) {
      started_.push_back({program, arguments});
      return result_;
    };
    hooks_.run.warning = [this](const QString& caption, const QString& text) { warnings_ << caption + "|" + text; };
    hooks_.confirm = [this](const QString& caption, const QString& text) {
      questions_ << caption + "|" + text;
      return overwrite_;
    };
  }

  bool Run(EditorContent content) {
    hooks_.showDialog = [content](QString*, EditorContent* c) {
      *c = content;
      return true;
    };
    EditorCommandContext c{disk_, list_, view_, settings_, &progress_};
    return EditorCommand(c, hooks_);
  }
  std::string Output() const { return testing::ReadFile(dir_ / "out.txt"); }
  void WriteInfo(const std::string& text) {
    testing::WriteFile(dir_ / "MORVA.DAT", Sjis(text));
    disk_.settings().dicInfoPath = (dir_ / "MORVA.DAT").string();
    disk_.CloseSubbook();
  }

  QWidget window_;
  TMyScrollBox* pane_ = [this] {
    auto* layout = new QVBoxLayout(&window_);
    auto* pane = new TMyScrollBox(&window_);
    layout->addWidget(pane);
    return pane;
  }();
  ViewSettings viewSettings_ = [] {
    ViewSettings s;
    s.scroll = false;
    return s;
  }();
  DisplayFonts fonts_{viewSettings_};
  TTextView view_{disk_, *pane_, fonts_, viewSettings_};
  QtClipboard clipboard_;
  int ownChanges_ = 0;
  Wordlist list_{reporter_};
  Settings settings_;
  EditorCommandHooks hooks_;
  testing::RecordingProgress progress_;
  std::vector<StartedProcess> started_;
  QStringList warnings_;
  QStringList questions_;
  bool overwrite_ = true;
  int result_ = 42;
};

TEST_F(EditorTest, ShownContentIsWrittenAndTheEditorGetsTheFile) {
  ASSERT_GT(view_.LineCount(), 0);
  EXPECT_TRUE(Run(EditorContent::kShown));
  const std::string out = Output();
  EXPECT_NE(out.find("図入り\n"), std::string::npos) << out;
  EXPECT_NE(out.find("地図"), std::string::npos);
  EXPECT_NE(out.find("本文"), std::string::npos);
  EXPECT_EQ(out.find('\r'), std::string::npos);
  EXPECT_EQ(out.find('\x02'), std::string::npos);
  ASSERT_EQ(started_.size(), 1u);
  EXPECT_EQ(started_[0].program, QStringLiteral("my editor"));
  EXPECT_EQ(started_[0].arguments, QStringList{QString::fromStdString(settings_.editFile)});
  EXPECT_FALSE(view_.HasSelection());
  EXPECT_TRUE(questions_.isEmpty());
}

TEST_F(EditorTest, AllItemsWithProgressAndTheSourceLine) {
  WriteInfo("[画像テスト]\r\nSOURCE=出典：テスト辞書\r\n");
  ASSERT_TRUE(Run(EditorContent::kAllItems));
  const std::string out = Output();
  const size_t first = out.find("図入り");
  const size_t second = out.find("関連する本文");
  ASSERT_NE(first, std::string::npos) << out;
  ASSERT_NE(second, std::string::npos) << out;
  EXPECT_LT(first, second);
  EXPECT_TRUE(out.ends_with("出典：テスト辞書\n")) << out;
  EXPECT_EQ(SjisToUtf8(progress_.caption()), "ﾌｧｲﾙへ出力中");
  EXPECT_EQ(progress_.steps(), 2);
  EXPECT_FALSE(progress_.open());
  // Formatting in text mode left the book's own mode in place.
  EXPECT_EQ(disk_.decoderState().gaijiMode, GaijiMode::kBitmap);
}

TEST_F(EditorTest, CancelStopsWritingItems) {
  progress_.cancelAfterSteps = 2;  // the second item cancels
  ASSERT_TRUE(Run(EditorContent::kAllItems));
  const std::string out = Output();
  EXPECT_NE(out.find("図入り"), std::string::npos);
  EXPECT_EQ(out.find("関連する本文"), std::string::npos);
}

TEST_F(EditorTest, HeadingsWithExternalCharactersAsText) {
  WriteInfo("[画像テスト]\r\nSOURCE=出典\r\n");
  ASSERT_TRUE(Run(EditorContent::kHeadings));
  EXPECT_EQ(Output(), "見出し一\n見出し二[a121]\n");
}

TEST_F(EditorTest, ExistingFileAsksFirstAndNoStopsTheCommand) {
  testing::WriteFile(dir_ / "out.txt", "old");
  overwrite_ = false;
  EXPECT_FALSE(Run(EditorContent::kShown));
  ASSERT_EQ(questions_.size(), 1);
  EXPECT_EQ(questions_[0], QString::fromUtf8("Editor|同じ名前のファイルが存在します。構わず実行しますか。"));
  EXPECT_EQ(Output(), "old");
  EXPECT_TRUE(started_.empty());
  settings_.english = true;
  overwrite_ = true;
  EXPECT_TRUE(Run(EditorContent::kShown));
  EXPECT_EQ(questions_[1], QStringLiteral("Editor|A file of the same name exists. Overwrite it?"));
  EXPECT_NE(Output(), "old");
}

TEST_F(EditorTest, FailedStartsShowTheirMessageWithTheCaption) {
  result_ = 2;
  EXPECT_FALSE(Run(EditorContent::kShown));
  result_ = 0;
  Run(EditorContent::kShown);
  result_ = 7;
  Run(EditorContent::kShown);
  ASSERT_EQ(warnings_.size(), 3);
  EXPECT_EQ(warnings_[0], QString::fromUtf8("ｴﾃﾞｨﾀ|プログラムが見つからない"));
  EXPECT_EQ(warnings_[1], QString::fromUtf8("ｴﾃﾞｨﾀ|メモリ不足"));
  EXPECT_EQ(warnings_[2], QString::fromUtf8("ｴﾃﾞｨﾀ|実行できません. エラーコード:7"));
  // Without a caption nothing is shown.
  RunEditorOptions silent = hooks_.run;
  EXPECT_EQ(RunEditor("x", "y", "", silent), 7);
  EXPECT_EQ(warnings_.size(), 3);
}

TEST(RunEditor, CommandLineQuotesAProgramWithABlank) {
  EXPECT_EQ(EditorCommandLine(QStringLiteral("/opt/my editor/ed"), QStringLiteral("/tmp/a.txt")),
            QStringLiteral("\"/opt/my editor/ed\" /tmp/a.txt"));
  EXPECT_EQ(EditorCommandLine(QStringLiteral("gedit"), QStringLiteral("/tmp/a.txt")), QStringLiteral("gedit /tmp/a.txt"));
  EXPECT_EQ(EditorCommandLine(QStringLiteral("gedit"), QString()), QStringLiteral("gedit"));
  EXPECT_EQ(StartDetachedProcess(QStringLiteral("morva-no-such-editor-xyz"), {}), 2);
  EXPECT_EQ(EditorFailureText(33, false), "");
  EXPECT_EQ(SjisToUtf8(EditorFailureText(2, true)), "Program not found");
}

TEST_F(EditorTest, DicInfoSectionIsAddedOnceAndTheBookReleased) {
  const std::string path = (dir_ / "MORVA.DAT").string();
  testing::WriteFile(path, Sjis("[他の辞書]\r\nSOURCE=x"));
  settings_.dicInfo = path;
  ASSERT_TRUE(EditDicInfoCommand(disk_, kRow, settings_, hooks_.run));
  EXPECT_EQ(testing::ReadFile(path), Sjis("[他の辞書]\r\nSOURCE=x\r\n[画像テスト]\r\n"));
  ASSERT_EQ(started_.size(), 1u);
  EXPECT_EQ(started_[0].arguments, QStringList{QString::fromStdString(path)});
  EXPECT_EQ(disk_.CurrentSubbook(), -1);
  EditDicInfoCommand(disk_, kRow, settings_, hooks_.run);
  EXPECT_EQ(testing::ReadFile(path), Sjis("[他の辞書]\r\nSOURCE=x\r\n[画像テスト]\r\n"));
  // A new file is created with the section.
  const std::string fresh = (dir_ / "new.dat").string();
  EXPECT_TRUE(EnsureDicInfoSection(fresh, Sjis("題")));
  EXPECT_EQ(testing::ReadFile(fresh), Sjis("[題]\r\n"));
  result_ = 2;
  EXPECT_FALSE(EditDicInfoCommand(disk_, kRow, settings_, hooks_.run));
  EXPECT_EQ(warnings_.back(), QString::fromUtf8("辞書個別情報の編集|プログラムが見つからない"));
}

TEST_F(EditorTest, PictureLinkOpensTheImageWindowWithTheLinkTitle) {
  // Find the picture link's marker in the shown lines and "click" it.
  int line = -1;
  std::string marker;
  for (int i = 0; i < view_.LineCount() && line < 0; ++i) {
    const std::string text(view_.brows().GetLine(i).text);
    const size_t at = text.find("\x02\x2EG");
    if (at == std::string::npos) continue;
    line = i;
    marker = text.substr(at, 15);
    view_.SetAnchor({i, static_cast<int>(at) - 1});
  }
  ASSERT_GE(line, 0);
  EXPECT_EQ(ImageLinkText(view_, marker).substr(ImageLinkText(view_, marker).rfind('\x01') + 1), Sjis("地図"));
  TGraphForm form(disk_);
  const QRect main(100, 50, 500, 400);
  FollowImageLink(form, view_, marker, main, 30, -200);
  EXPECT_EQ(form.pos(), QPoint(130, 0));
  EXPECT_EQ(form.windowTitle(), QString::fromUtf8("地図 100×100"));
  form.hide();
  EXPECT_EQ(ImageWindowPlace(main, -150, 10), QPoint(0, 60));
}

// ---- CD audio -----------------------------------------------------------------------

class FakeDrive : public CdAudioDevice {
 public:
  struct Log {
    int opens = 0;
    int closes = 0;
    std::vector<std::pair<int, int>> plays;
  };
  explicit FakeDrive(Log& log, bool present = true) : log_(log), present_(present) {}
  bool Open() override {
    ++log_.opens;
    return present_;
  }
  std::optional<int> TrackStart(int track) override { return 150 + (track - 1) * 10000; }
  bool Play(int start, int end) override {
    log_.plays.emplace_back(start, end);
    return true;
  }
  void Close() override { ++log_.closes; }

 private:
  Log& log_;
  bool present_;
};

TEST(CdAudio, CommandStringsForATrackPassage) {
  EXPECT_EQ(CdAudioCommands(1, 4653, 4653 + 75),
            (std::vector<std::string>{"open cdaudio", "set cdaudio time format tmsf",
                                      "play cdaudio from 1:1:2:3 to 1:1:3:3", "close cdaudio"}));
  EXPECT_EQ(TrackTime(12, 0), "12:0:0:0");
  EXPECT_EQ(TrackTime(2, 4499), "2:0:59:74");
}

TEST(CdAudio, InterpreterPlaysFromTheTrackStart) {
  FakeDrive::Log log;
  CdAudio audio(std::make_unique<FakeDrive>(log));
  // A sound marker: track 1, start 4653 (0x122D), end 4728 (0x1278).
  ASSERT_TRUE(PlaySoundMarker("\x02\x30S0100122D001278", audio));
  ASSERT_EQ(audio.sent().size(), 4u);
  EXPECT_EQ(audio.sent()[2], "play cdaudio from 1:1:2:3 to 1:1:3:3");
  ASSERT_EQ(log.plays.size(), 1u);
  EXPECT_EQ(log.plays[0], (std::pair<int, int>{150 + 4653, 150 + 4728}));
  EXPECT_EQ(log.opens, 1);
  EXPECT_EQ(log.closes, 1);
  EXPECT_FALSE(audio.Send("play cdaudio from 1:0:0:0 to 1:0:1:0"));  // closed again
  EXPECT_FALSE(audio.Send("eject cdaudio"));
  EXPECT_FALSE(PlaySoundMarker("\x02\x30S01", audio));
}

TEST(CdAudio, NoDriveDoesNothing) {
  FakeDrive::Log log;
  CdAudio audio(std::make_unique<FakeDrive>(log, false));
  audio.PlayPassage(1, 0, 75);
  EXPECT_TRUE(log.plays.empty());
  EXPECT_EQ(audio.sent().size(), 4u);
}

}  // namespace
}  // namespace morva
