// morva-cli on damaged books and when it is stopped: a failed read ends in a
// message naming the file and the address and exit status 1, keeping what was
// printed before; a signal or a closed pipe leaves no temporary file behind.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>

#include <algorithm>
#include <memory>

#include "engine/book/ebzip_format.h"
#include "tests/cli/cli_runner.h"
#include "tools/mkbook/damage.h"
#include "tools/mkbook/ebzip_writer.h"

namespace morva::cli {
namespace {

namespace fs = std::filesystem;

std::string Small() { return (testing::SharedBooks() / "edict-small").string(); }

// Damaged copies of edict-small, made once: the body cut to 2049 bytes, the
// body missing, and a compressed copy with one flipped byte in the slice of
// page 201.
class DamagedBooks : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!testing::HaveSharedBooks()) return;
    dir_ = std::make_unique<testing::TempDir>();
    for (const char* name : {"cut", "nobody", "packed"})
      CopySharedBook("edict-small", *dir_ / name);
    mkbook::damage::Truncate(*dir_ / "cut/edsmall/data/honmon", 2049);
    mkbook::damage::Remove(*dir_ / "nobody/edsmall/data/honmon");
    ASSERT_TRUE(mkbook::CompressVolume((*dir_ / "packed").string(), 0));
    const fs::path packed = *dir_ / "packed/edsmall/data/honmon.ebz";
    const std::string bytes = testing::ReadFile(packed);
    const auto header =
        ebzip::DecodeHeader(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    ASSERT_TRUE(header);
    const int width = ebzip::OffsetWidth(header->originalSize);
    const uint64_t slice = ebzip::ReadBigEndian(
        reinterpret_cast<const uint8_t*>(bytes.data()) + ebzip::kHeaderSize + 200 * width, width);
    mkbook::damage::Overwrite(packed, slice + 20,
                              std::string(1, static_cast<char>(bytes[slice + 20] ^ 0xFF)));
  }
  void SetUp() override { MORVA_REQUIRE_SHARED_BOOKS(); }

  // Replaces {small}, {cut}, {nobody} and {packed} with the volumes' paths.
  static std::string Expand(std::string s) {
    for (const std::string name : {"small", "cut", "nobody", "packed"}) {
      const std::string path = name == "small" ? Small() : (*dir_ / name).string();
      for (size_t at; (at = s.find("{" + name + "}")) != std::string::npos;)
        s.replace(at, name.size() + 2, path);
    }
    return s;
  }
  static inline std::unique_ptr<testing::TempDir> dir_;
};

TEST_F(DamagedBooks, EveryCommandEndsInStatusOneNamingFileAndAddress) {
  struct Case {
    const char* args;
    int status;
    const char* message;  // expected in stderr; "" for none at all
  };
  const Case cases[] = {
      {"show {small} 2:2", 0, ""},
      {"", 2, "usage"},
      {"frobnicate", 2, "usage"},
      {"--help", 0, ""},
      {"show {small}", 2, "usage"},
      {"show {small} 0:0", 2, "usage"},
      {"show {small} 1:2048", 2, "usage"},
      {"dump {small} 0", 2, "usage"},
      {"show {small}:9 2:2", 1, "not 9"},
      {"books /nonexistent/volume", 1, "/nonexistent/volume"},
      {"show {small} 99999:0", 1, "edsmall/data/honmon at 99999:0"},
      {"dump {small} 99999", 1, "edsmall/data/honmon at 99999:0"},
      // The cut body: page 2 holds one byte.
      {"show {cut}:1 2:2", 1, "edsmall/data/honmon at 2:2"},
      {"show {cut} 2:0", 1, "edsmall/data/honmon at 2:1"},
      {"text {cut}", 1, "edsmall/data/honmon at 2:1"},
      {"search {cut} cat", 1, "edsmall/data/honmon at 472:0"},
      {"menu {cut}", 1, "edsmall/data/honmon at 411:0"},
      {"copyright {cut}", 1, "edsmall/data/honmon at 420:0"},
      {"fulltext {cut} cat", 1, "edsmall/data/honmon at 2:1"},
      {"books {nobody}", 1, "sub-book 1 of"},
      {"show {nobody} 2:2", 1, "cannot be opened"},
      {"show {packed} 2:2", 0, ""},
      {"show {packed} 201:0", 1, "honmon.ebz at 201:0"},
      {"fulltext {packed} cat", 1, "honmon.ebz at 201:0"},
  };
  for (const Case& c : cases) {
    const CliRun r = RunCli(Expand(c.args));
    EXPECT_EQ(r.status, c.status) << c.args << "\n" << r.err;
    EXPECT_TRUE(*c.message ? Has(r.err, c.message) : r.err.empty()) << c.args << "\n" << r.err;
  }
  // Text stops at the damage, keeping what came before.
  const CliRun whole = RunCli("text " + Small());
  const CliRun damaged = RunCli(Expand("text {packed}"));
  // The pages before 201 come out as they are, and nothing after the damage.
  ASSERT_GT(damaged.out.size(), 100000u);
  EXPECT_LT(damaged.out.size(), whole.out.size() / 2);
  EXPECT_EQ(whole.out.compare(0, 100000, damaged.out, 0, 100000), 0);
  // One line for the one failure.
  EXPECT_EQ(std::count(damaged.err.begin(), damaged.err.end(), '\n'), 1) << damaged.err;
}

// A run writing into a pipe nobody reads is ended by a signal, or by the
// pipe being closed: with SIGPIPE at its default it dies of SIGPIPE, and
// when its caller ignores SIGPIPE (signal 0 here) the write fails with EPIPE.
TEST(StoppedCliTest, LeavesNoTemporaryFiles) {
  MORVA_REQUIRE_SHARED_BOOKS();
  for (const int sig : {SIGINT, SIGTERM, SIGHUP, SIGPIPE, 0}) {
    const testing::TempDir tmp;
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      dup2(pipeFds[1], STDOUT_FILENO);
      close(pipeFds[0]);
      close(pipeFds[1]);
      const int devNull = open("/dev/null", O_WRONLY);
      dup2(devNull, STDERR_FILENO);
      setenv("TMPDIR", tmp.str().c_str(), 1);
      signal(SIGPIPE, sig == 0 ? SIG_IGN : SIG_DFL);
      execl(MORVA_CLI_BINARY, "morva-cli", "text", Small().c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    close(pipeFds[1]);
    // Output arriving means the book is open (its temporary files exist) and
    // the run is writing more than the pipe holds.
    pollfd readable{pipeFds[0], POLLIN, 0};
    ASSERT_EQ(poll(&readable, 1, 20000), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(tmp.path()), fs::directory_iterator()), 2);
    if (sig != SIGPIPE && sig != 0) {
      kill(pid, sig);
    } else {
      char some[100];
      ASSERT_GT(read(pipeFds[0], some, sizeof some), 0);
    }
    close(pipeFds[0]);
    int raw = 0;
    ASSERT_EQ(waitpid(pid, &raw, 0), pid);
    if (sig != 0) {
      EXPECT_TRUE(WIFSIGNALED(raw) && WTERMSIG(raw) == sig) << "signal " << sig << " raw " << raw;
    } else {
      EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 1) << "raw " << raw;
    }
    EXPECT_TRUE(fs::is_empty(tmp.path())) << "signal " << sig;
  }
}

}  // namespace
}  // namespace morva::cli
