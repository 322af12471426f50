// Start-up: the hand-over to a running window, reading the request again,
// the start-up search and the about box.
#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTranslator>
#include <filesystem>

#include "app/settings/settings.h"
#include "app/settings/settings_store.h"
#include "app/startup/about_box.h"
#include "app/startup/instance_channel.h"
#include "app/startup/qt_translations.h"
#include "app/startup/startup_flow.h"
#include "engine/book/text_utils.h"
#include "tests/support/test_dirs.h"

namespace morva {
namespace {

using testing::TempDir;

std::string S(std::string_view utf8) { return Sjis(utf8); }

// A "running window" in this process, listening on a private channel.
class HandOverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    server_ = std::make_unique<InstanceServer>(channel(), [this] { return title_; });
    ASSERT_TRUE(server_->Listen());
  }
  QString channel() const { return QString::fromStdString(dir_.str()); }
  std::string SettingsFile() const { return (dir_ / "MORVA.INI").string(); }

  TempDir dir_;
  QString title_ = QStringLiteral("Morva - 英和");
  std::unique_ptr<InstanceServer> server_;
};

TEST_F(HandOverTest, RuleTwoWithAWordHandsOverAndTheRunningWindowGetsCommand111) {
  QSignalSpy commands(server_.get(), &InstanceServer::commandReceived);
  SettingsStore store(SettingsFile());
  const EntryResult result = RunEntry(store, S(",2,,,apple"), channel());
  EXPECT_TRUE(result.handedOver);
  EXPECT_EQ(store.ReadParm(), ",2,,,apple");
  // QTRY_COMPARE would only return from the test on failure: wait, then assert.
  EXPECT_TRUE(QTest::qWaitFor([&] { return commands.count() >= 1; }));
  ASSERT_EQ(commands.count(), 1);
  EXPECT_EQ(commands.at(0).at(0).toInt(), 111);
}

TEST_F(HandOverTest, RuleOneNeedsTheSameGroupInTheTitle) {
  QSignalSpy commands(server_.get(), &InstanceServer::commandReceived);
  SettingsStore store(SettingsFile());
  EXPECT_FALSE(RunEntry(store, S(",1,国語,,x"), channel()).handedOver);
  EXPECT_FALSE(RunEntry(store, S(",1,,,x"), channel()).handedOver);
  EXPECT_TRUE(RunEntry(store, S(",1,英和,,x"), channel()).handedOver);
  EXPECT_TRUE(QTest::qWaitFor([&] { return commands.count() >= 1; }));
  EXPECT_EQ(commands.count(), 1);
}

TEST_F(HandOverTest, RuleZeroAndNoArgumentNeverHandOver) {
  QSignalSpy commands(server_.get(), &InstanceServer::commandReceived);
  SettingsStore store(SettingsFile());
  EXPECT_FALSE(RunEntry(store, S(",0,英和,3,apple"), channel()).handedOver);
  EXPECT_EQ(store.ReadParm(), S(",0,英和,3,apple"));
  const EntryResult none = RunEntry(store, std::nullopt, channel());
  EXPECT_FALSE(none.handedOver);
  EXPECT_EQ(store.ReadParm(), "");
  QTest::qWait(20);
  EXPECT_EQ(commands.count(), 0);
}

TEST_F(HandOverTest, TheWindowSaysWhatItIsAndRefusesOtherLines) {
  const std::vector<RunningWindow> windows = InstanceClient(channel()).RunningWindows();
  ASSERT_EQ(windows.size(), 1u);
  EXPECT_EQ(windows[0].windowClass, "TMorvaForm");
  EXPECT_EQ(windows[0].title, title_);
  EXPECT_EQ(windows[0].socketPath, server_->SocketPath());
  EXPECT_FALSE(InstanceClient::SendCommand(server_->SocketPath(), 112, 2000));
}

TEST_F(HandOverTest, NoWindowWhenTheServerIsGoneOrTheSocketIsStale) {
  server_.reset();
  SettingsStore store(SettingsFile());
  EXPECT_FALSE(RunEntry(store, S(",2,,,apple"), channel()).handedOver);
  EXPECT_TRUE(InstanceClient(channel()).RunningWindows().empty());
  EXPECT_FALSE(InstanceClient(QString()).HandOver(2, QString()));
  // A socket file left by a process that no longer runs is cleared away.
  const std::string stale = (dir_ / "window-999999999").string();
  testing::WriteFile(stale, "");
  InstanceServer next(channel(), [] { return QString(); });
  EXPECT_TRUE(next.Listen());
  EXPECT_FALSE(std::filesystem::exists(stale));
}

TEST(ChannelDirectoryTest, BelongsToTheUserAlone) {
  TempDir runtime;
  const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
  const bool wasSet = qEnvironmentVariableIsSet("XDG_RUNTIME_DIR");
  qputenv("XDG_RUNTIME_DIR", QByteArray::fromStdString(runtime.str()));
  const QString dir = DefaultChannelDirectory();
  if (wasSet) qputenv("XDG_RUNTIME_DIR", saved);
  else qunsetenv("XDG_RUNTIME_DIR");
  ASSERT_FALSE(dir.isEmpty());
  EXPECT_TRUE(dir.startsWith(QString::fromStdString(runtime.str())));
  EXPECT_TRUE(dir.endsWith(QString::number(::getuid())));
  const auto perms = std::filesystem::status(dir.toStdString()).permissions();
  EXPECT_EQ(perms & std::filesystem::perms::all, std::filesystem::perms::owner_all);
}

TEST(ReadRequestTest, FieldsReachTheSettingsAndTheClipboardFillsAMissingWord) {
  TempDir dir;
  SettingsStore store((dir / "MORVA.INI").string());
  store.WriteParm(S("other.ini,1,英和,G2,apple"));
  ParmRequest parm = ReadRequestFromParm(store);
  EXPECT_TRUE(parm.hadArgument);
  EXPECT_EQ(parm.settingsFile, (dir / "other.ini").string());
  Settings settings;
  settings.group = "old";
  int clipboardAsked = 0;
  auto clipboard = [&]() -> std::optional<std::string> {
    ++clipboardAsked;
    return std::string(200, 'c');
  };
  StartupState state = ApplyRequest(parm, settings, false, clipboard);
  EXPECT_EQ(settings.group, S("英和"));
  EXPECT_EQ(state.bookRequest, "G2");
  EXPECT_EQ(state.word, "apple");
  EXPECT_TRUE(state.searchDue);
  EXPECT_EQ(clipboardAsked, 0);

  // Rule 2 with no further fields: the clipboard text is searched.
  store.WriteParm(",2");
  parm = ReadRequestFromParm(store);
  EXPECT_EQ(parm.settingsFile, "");
  state = ApplyRequest(parm, settings, true, clipboard);
  EXPECT_EQ(settings.group, S("英和"));  // an empty field keeps the group
  EXPECT_EQ(state.word, std::string(127, 'c'));
  EXPECT_TRUE(state.searchDue);

  // No argument at creation: no clipboard word, no start-up search.
  store.WriteParm("");
  parm = ReadRequestFromParm(store);
  EXPECT_FALSE(parm.hadArgument);
  state = ApplyRequest(parm, settings, false, clipboard);
  EXPECT_FALSE(state.searchDue);
  EXPECT_EQ(clipboardAsked, 1);
  // Nothing on the clipboard.
  state = ApplyRequest(parm, settings, true, [] { return std::optional<std::string>(); });
  EXPECT_FALSE(state.searchDue);
}

struct FakeStartupHost : StartupSearchHost {
  BookBar bar;
  BookBar otherGroupBar;
  std::string titleGroup = "shown";
  std::string requested = "shown";
  int current = 1;
  std::vector<std::string> openedGroups;
  std::vector<int> openedBooks, searches;
  int redraws = 0, raised = 0;
  const BookBar& Bar() const override { return bar; }
  std::string TitleGroup() const override { return titleGroup; }
  std::string RequestedGroup() const override { return requested; }
  void OpenGroup(const std::string& name) override {
    openedGroups.push_back(name);
    bar = otherGroupBar;
    titleGroup = name;
  }
  int CurrentBook() const override { return current; }
  void OpenBookOnIndexTab(int entry) override { openedBooks.push_back(entry); }
  void RunSearch(int position) override { searches.push_back(position); }
  void RedrawBookBar() override { ++redraws; }
  void BringToFront() override { ++raised; }
};

BookBar Bar(std::initializer_list<int> shape) {  // 0 separator, 1 book
  BookBar bar;
  for (int kind : shape) {
    BookBarEntry e;
    if (kind) e.shortName = "b";
    bar.push_back(e);
  }
  return bar;
}

TEST(StartupSearchTest, G2SearchesTheSecondHeadersBooks) {
  FakeStartupHost host;
  host.bar = Bar({0, 1, 1, 0, 1, 1});
  EXPECT_EQ(RunStartupSearch(host, {"G2", "apple", true}), 3);
  EXPECT_TRUE(host.openedBooks.empty());
  EXPECT_EQ(host.searches, std::vector<int>{3});
  EXPECT_EQ(host.redraws, 1);
  EXPECT_EQ(host.raised, 1);
}

TEST(StartupSearchTest, ARequestedGroupOpensFirstAndItsBookIsCounted) {
  FakeStartupHost host;
  host.bar = Bar({0, 1});
  host.otherGroupBar = Bar({0, 1, 0, 1, 1});
  host.requested = "other";
  EXPECT_EQ(RunStartupSearch(host, {"3", "apple", true}), 4);
  EXPECT_EQ(host.openedGroups, std::vector<std::string>{"other"});
  EXPECT_EQ(host.openedBooks, std::vector<int>{4});
  EXPECT_EQ(host.searches, std::vector<int>{4});
}

TEST(StartupSearchTest, NoMatchSearchesAllBooksAndNothingRunsWhenNotDue) {
  FakeStartupHost host;
  host.bar = Bar({0, 1, 1});
  EXPECT_EQ(RunStartupSearch(host, {"9", "apple", true}), -1);
  EXPECT_EQ(host.searches, std::vector<int>{-1});
  EXPECT_TRUE(host.openedGroups.empty());
  EXPECT_EQ(RunStartupSearch(host, {"1", "", false}), -1);
  EXPECT_EQ(host.searches.size(), 1u);
  // The open book is not opened again.
  EXPECT_EQ(RunStartupSearch(host, {"1", "x", true}), 1);
  EXPECT_TRUE(host.openedBooks.empty());
}

TEST(AboutBoxTest, ShowsTheIconProductLineThreeLinesAndOk) {
  TAboutBox box;
  EXPECT_EQ(box.windowTitle(), QStringLiteral("Morvaについて"));
  EXPECT_FALSE(MorvaIcon().isNull());
  auto* icon = box.findChild<QLabel*>(QStringLiteral("ProgramIcon"));
  ASSERT_NE(icon, nullptr);
  EXPECT_FALSE(icon->pixmap().isNull());
  EXPECT_NE(box.findChild<QLabel*>(QStringLiteral("ProductName")), nullptr);
  for (const char* name : {"AboutLine1", "AboutLine2", "AboutLine3"})
    EXPECT_NE(box.findChild<QLabel*>(QString::fromLatin1(name)), nullptr) << name;
  auto* ok = box.findChild<QPushButton*>(QStringLiteral("OKButton"));
  ASSERT_NE(ok, nullptr);
  QTest::mouseClick(ok, Qt::LeftButton);
  EXPECT_EQ(box.result(), QDialog::Accepted);
}

TEST(QtTranslationsTest, StandardButtonsSpeakJapanese) {
  QTranslator* japanese = InstallJapaneseQtTranslations(*QCoreApplication::instance());
  ASSERT_NE(japanese, nullptr) << "Qt's Japanese translations (qt6-translations-l10n) are missing";
  QDialogButtonBox buttons(QDialogButtonBox::Cancel | QDialogButtonBox::Open);
  EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));
  QCoreApplication::removeTranslator(japanese);
  delete japanese;
}

}  // namespace
}  // namespace morva
