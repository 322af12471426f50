// Compressed volumes read exactly as the plain ones: every real book,
// compressed at levels 0, 2 and 5, gives the same text, search and dump
// output through morva-cli.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>

#include "tests/cli/cli_runner.h"
#include "tests/support/test_dirs.h"
#include "tools/mkbook/ebzip_writer.h"

namespace morva::cli {
namespace {

std::string Output(const std::string& args) { return RunCli(args).out; }

// A copy of a shared book, compressed at a level.
std::string CompressedCopy(const testing::TempDir& dir, const std::string& book, int level) {
  const auto target = dir.path() / (book + "-" + std::to_string(level));
  std::filesystem::copy(testing::SharedBooks() / book, target,
                        std::filesystem::copy_options::recursive);
  for (auto& e : std::filesystem::recursive_directory_iterator(target))
    std::filesystem::permissions(e.path(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
  EXPECT_TRUE(mkbook::CompressVolume(target.string(), level));
  return target.string();
}

struct Probe {
  const char* book;
  const char* subbook;                // ":N" or ""
  bool wholeText;                     // compare the whole body (small books only)
  std::vector<std::string> commands;  // arguments after the volume
};

TEST(CompressedBooksTest, ReadLikeThePlainBooks) {
  MORVA_REQUIRE_SHARED_BOOKS();
  const Probe probes[] = {
      {"ebstudio-sample", ":1", true, {"dump 1", "dump 2:0x10", "search This"}},
      {"ebstudio-sample", ":2", true, {"dump 2"}},
      {"edict-small",
       "",
       true,
       {"dump 2", "dump 420", "dump 472:0x123", "show 2:102", "search ねこ", "search *ねこ",
        "search +ＣＡＴ", "menu", "copyright"}},
      {"edict-full",
       "",
       false,
       {"dump 3", "dump 20000:0x7F0", "show 2:102", "search ねこ", "search *ねこ",
        "search コンピュータ", "search +ＣＡＴ"}},
  };
  testing::TempDir dir;
  for (int level : {0, 2, 5}) {
    for (const Probe& p : probes) {
      const std::string plain = (testing::SharedBooks() / p.book).string();
      const std::string packed =
          std::filesystem::exists(dir.path() / (std::string(p.book) + "-" + std::to_string(level)))
              ? (dir.path() / (std::string(p.book) + "-" + std::to_string(level))).string()
              : CompressedCopy(dir, p.book, level);
      std::vector<std::string> commands = p.commands;
      if (p.wholeText) commands.push_back("text");
      for (const std::string& c : commands) {
        const size_t space = c.find(' ');
        const std::string verb = c.substr(0, space);
        const std::string rest = space == std::string::npos ? "" : c.substr(space);
        const std::string want = Output(verb + " " + plain + p.subbook + rest);
        const std::string got = Output(verb + " " + packed + p.subbook + rest);
        EXPECT_FALSE(want.empty()) << c;
        EXPECT_EQ(got, want) << p.book << p.subbook << " level " << level << ": " << c;
      }
      if (level == 0) {
        EXPECT_NE(Output("books " + packed).find("compressed"), std::string::npos) << p.book;
      }
    }
  }
}

}  // namespace
}  // namespace morva::cli
