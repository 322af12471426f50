// Start-up: the hand-over to a running window and reading the request
// again; the ｸﾞﾙｰﾌﾟ menu the window lists the groups in.
#include <gtest/gtest.h>

#include <QAction>
#include <QDialogButtonBox>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTranslator>
#include <filesystem>
#include <string>
#include <vector>

#include "app/groups/group_menu.h"
#include "app/settings/settings.h"
#include "app/settings/settings_store.h"
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

// The instance rule decides whether a running window gets the request
// (command 111): 2 with any window, 1 with one showing the same group, 0 or
// no argument never. The request is stored for the window to read.
TEST_F(HandOverTest, TheInstanceRuleDecidesWhetherTheRunningWindowGetsTheRequest) {
  QSignalSpy commands(server_.get(), &InstanceServer::commandReceived);
  SettingsStore store(SettingsFile());
  const struct {
    const char* parm;
    bool handedOver;
  } cases[] = {{",2,,,apple", true},
               {",1,国語,,x", false},
               {",1,,,x", false},
               {",1,英和,,x", true},
               {",0,英和,3,apple", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.parm);
    EXPECT_EQ(RunEntry(store, S(c.parm), channel()).handedOver, c.handedOver);
    EXPECT_EQ(store.ReadParm(), S(c.parm));
  }
  EXPECT_FALSE(RunEntry(store, std::nullopt, channel()).handedOver);
  EXPECT_EQ(store.ReadParm(), "");
  // QTRY_COMPARE would only return from the test on failure: wait, then assert.
  EXPECT_TRUE(QTest::qWaitFor([&] { return commands.count() >= 2; }));
  QTest::qWait(20);
  ASSERT_EQ(commands.count(), 2);
  EXPECT_EQ(commands.at(0).at(0).toInt(), 111);
}

// The window says what it is and refuses other commands; without it (or
// with a socket left by a process that no longer runs) nothing is handed.
TEST_F(HandOverTest, TheWindowSaysWhatItIsAndAStaleSocketIsClearedAway) {
  const std::vector<RunningWindow> windows = InstanceClient(channel()).RunningWindows();
  ASSERT_EQ(windows.size(), 1u);
  EXPECT_EQ(windows[0].windowClass, "TMorvaForm");
  EXPECT_EQ(windows[0].title, title_);
  EXPECT_FALSE(InstanceClient::SendCommand(server_->SocketPath(), 112, 2000));
  server_.reset();
  SettingsStore store(SettingsFile());
  EXPECT_FALSE(RunEntry(store, S(",2,,,apple"), channel()).handedOver);
  EXPECT_FALSE(InstanceClient(QString()).HandOver(2, QString()));
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

// The fields reach the settings (an empty group field keeps the group); a
// missing word is taken from the clipboard only where asked for.
TEST(ReadRequestTest, FieldsReachTheSettingsAndTheClipboardFillsAMissingWord) {
  TempDir dir;
  SettingsStore store((dir / "MORVA.INI").string());
  Settings settings;
  auto clipboard = [] { return std::optional<std::string>(std::string(200, 'c')); };
  const struct {
    const char* parm;
    bool askClipboard;
    std::string word;
    bool due;
  } cases[] = {{"other.ini,1,英和,G2,apple", false, "apple", true},
               {",2", true, std::string(127, 'c'), true},
               {"", false, "", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.parm);
    store.WriteParm(S(c.parm));
    const StartupState state =
        ApplyRequest(ReadRequestFromParm(store), settings, c.askClipboard, clipboard);
    EXPECT_EQ(settings.group, S("英和"));
    EXPECT_EQ(state.word, c.word);
    EXPECT_EQ(state.searchDue, c.due);
  }
  store.WriteParm(S("other.ini,1,英和,G2,apple"));
  EXPECT_EQ(ReadRequestFromParm(store).settingsFile, (dir / "other.ini").string());
}

TEST(QtTranslationsTest, StandardButtonsSpeakJapanese) {
  QTranslator* japanese = InstallJapaneseQtTranslations(*QCoreApplication::instance());
  ASSERT_NE(japanese, nullptr) << "Qt's Japanese translations (qt6-translations-l10n) are missing";
  QDialogButtonBox buttons(QDialogButtonBox::Cancel | QDialogButtonBox::Open);
  EXPECT_EQ(buttons.button(QDialogButtonBox::Cancel)->text(), QStringLiteral("キャンセル"));
  QCoreApplication::removeTranslator(japanese);
  delete japanese;
}

// The tenth item uses digit 0, the eleventh two blanks; an item is checked
// by its place, not its name; rebuilding keeps the editor item only.
TEST(GroupMenuTest, CaptionsCheckingAndRebuilding) {
  QMenu menu;
  QAction edit(QStringLiteral("辞書ｸﾞﾙｰﾌﾟを編集する(&E)..."));
  menu.addAction(&edit);
  std::vector<std::string> names;
  for (int k = 0; k < 11; ++k) names.push_back("g" + std::to_string(k));
  names[5] = "g0";  // a second group with the same name
  std::vector<std::string> chosen;
  BuildGroupMenu(menu, &edit, names, [&](const std::string& n) { chosen.push_back(n); });
  QList<QAction*> actions = menu.actions();
  ASSERT_EQ(actions.size(), 13);
  EXPECT_EQ(actions[2]->text(), QStringLiteral("&1 g0"));
  EXPECT_EQ(actions[11]->text(), QStringLiteral("&0 g9"));
  EXPECT_EQ(actions[12]->text(), QStringLiteral("  g10"));
  actions[12]->trigger();
  EXPECT_EQ(chosen, std::vector<std::string>{"g10"});
  CheckGroupMenuItem(menu, 5);
  EXPECT_TRUE(actions[7]->isChecked());
  EXPECT_FALSE(actions[2]->isChecked());  // same name, other index
  BuildGroupMenu(menu, &edit, {}, {});
  ASSERT_EQ(menu.actions().size(), 2);
  EXPECT_EQ(menu.actions()[0], &edit);
}

}  // namespace
}  // namespace morva
