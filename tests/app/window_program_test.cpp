// The window program (the real morva binary, on the offscreen platform with a
// settings folder of its own) ended by a signal, as at logout or shutdown: it
// quits the normal way and saves its settings; at start it clears away what
// killed saves left beside them. A folder as its one argument is opened.
// morva-shots builds the same window for automation: it searches a real book
// and reports, never writing the settings.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "app/startup/platform_choice.h"
#include "tests/cli/cli_runner.h"
#include "tests/support/book_test.h"

namespace morva {
namespace {

// Whether the process has a handler for the signal (its SigCgt mask).
bool Catches(pid_t pid, int signal) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("SigCgt:", 0) == 0)
      return (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1)) & 1;
  return false;
}

// Each signal ends a run of `morva vol` in the folder above the volume: the
// volume has joined a new group named after it, with its absolute path, and
// is the book open when the program ends.
TEST(WindowProgramTest, EndedBySignalItSavesItsSettingsAndAFolderArgumentOpensTheVolume) {
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
    testing::TempDir dir;
    const std::filesystem::path settings = dir / "config" / "morva";
    std::filesystem::create_directories(settings);
    std::filesystem::create_directories(dir / "run");
    ::chmod((dir / "run").c_str(), 0700);
    testing::WriteFile(settings / "MORVA.INI", "[Options]\r\nBook=-1\r\n");
    testing::WriteVolume(dir / "vol", {testing::SimpleSubbook("試験", "book")});
    // What a save killed by a process that has ended left behind.
    const pid_t ended = ::fork();
    if (ended == 0) ::_exit(0);
    ::waitpid(ended, nullptr, 0);
    const std::filesystem::path stale = settings / ("MORVA.INI.tmp" + std::to_string(ended) + "-0");
    testing::WriteFile(stale, "[Options]\r\n");

    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      ::setenv("XDG_CONFIG_HOME", (dir / "config").c_str(), 1);
      ::setenv("XDG_RUNTIME_DIR", (dir / "run").c_str(), 1);
      ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
      if (::chdir(dir.path().c_str()) != 0) ::_exit(126);
      ::execl(MORVA_BINARY, "morva", "vol", static_cast<char*>(nullptr));
      ::_exit(127);
    }
    // The group file is written before the window waits for events.
    for (int i = 0;
         i < 600 && !(Catches(pid, signal) && std::filesystem::exists(settings / "MORVA.GRP")); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    ::kill(pid, signal);
    ::alarm(60);  // a program that does not end ends the test run instead of hanging it
    int status = 0;
    ::waitpid(pid, &status, 0);
    ::alarm(0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << signal << ", status " << status;
    EXPECT_FALSE(std::filesystem::exists(stale)) << "signal " << signal;
    const std::string ini = testing::ReadFile(settings / "MORVA.INI");
    EXPECT_NE(ini.find("Group=vol\r\n"), std::string::npos) << signal << ":\n" << ini;
    EXPECT_NE(ini.find("Book=1\r\n"), std::string::npos) << ini;
    EXPECT_EQ(ini.find("Parm=vol"), std::string::npos) << ini;
    const std::string grp = testing::ReadFile(settings / "MORVA.GRP");
    EXPECT_NE(grp.find("[vol]"), std::string::npos) << grp;
    EXPECT_NE(grp.find("," + (dir / "vol").string() + ",1,"), std::string::npos) << grp;
  }
}

// The desktop entry's --prefer-x11 moves a Wayland session with an X server
// to X11, and nothing else: the user's own QT_QPA_PLATFORM stands.
TEST(WindowProgramTest, PreferX11OnlyOnWaylandWithAnXServerAndNoChosenPlatform) {
  struct Case {
    bool prefer;
    const char* qtPlatform;
    const char* sessionType;
    const char* waylandDisplay;
    const char* display;
    bool x11;
  };
  const Case cases[] = {
      {true, nullptr, "wayland", "wayland-0", ":0", true},
      {true, "", nullptr, "wayland-0", ":0", true},  // an empty choice is no choice
      {true, nullptr, "wayland", nullptr, ":1", true},
      {false, nullptr, "wayland", "wayland-0", ":0", false},
      {true, "wayland", "wayland", "wayland-0", ":0", false},
      {true, "offscreen", "wayland", "wayland-0", ":0", false},
      {true, nullptr, "wayland", "wayland-0", nullptr, false},  // no XWayland
      {true, nullptr, "wayland", "wayland-0", "", false},
      {true, nullptr, "x11", nullptr, ":0", false},  // already X11
      {true, nullptr, nullptr, nullptr, ":0", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(StartOnX11(c.prefer, c.qtPlatform, c.sessionType, c.waylandDisplay, c.display), c.x11)
        << "row " << &c - cases;
}

TEST(WindowProgramTest, ShotsSearchTheRealWindowAndLeaveTheSettingsAlone) {
  MORVA_REQUIRE_SHARED_BOOKS();
  const std::filesystem::path book = testing::SharedBooks() / "edict-small";
  testing::TempDir dir;
  const std::string env =
      "env XDG_CONFIG_HOME=" + (dir / "config").string() + " QT_QPA_PLATFORM=offscreen ";
  const std::string shot = (dir / "shot.png").string();
  const cli::CliRun shots =
      cli::RunCommand(env + MORVA_SHOTS_BINARY " window --book " + book.string() +
                      " --search いぬ --size 800x600 --report --screenshot " + shot);
  EXPECT_EQ(shots.status, 0) << shots.err;
  EXPECT_TRUE(cli::Has(shots.out, "platform offscreen\n") && cli::Has(shots.out, "vmrss-kb "))
      << shots.out;
  EXPECT_GT(std::filesystem::file_size(shot), 1000u);
  EXPECT_FALSE(std::filesystem::exists(dir / "config" / "morva" / "MORVA.INI"));
  // The first paint comes while the window is set up: the program still ends.
  const cli::CliRun painted = cli::RunCommand(env + MORVA_SHOTS_BINARY " window --first-paint", 60);
  EXPECT_EQ(painted.status, 0) << painted.err;
  EXPECT_TRUE(cli::Has(painted.out, "first-paint ")) << painted.out;
  // A mistyped option is a usage error, not a window that stays open.
  EXPECT_EQ(cli::RunCommand(env + MORVA_SHOTS_BINARY " window --serch x").status, 2);
}

}  // namespace
}  // namespace morva
