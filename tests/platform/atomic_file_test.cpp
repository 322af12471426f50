// Clearing away the temporary files of killed writers, and nothing else.
#include "platform/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "tests/support/test_dirs.h"

namespace morva {
namespace {

TEST(AtomicFileTest, OnlyTemporaryFilesOfEndedProcessesAreRemoved) {
  // A process that has ended: a child, waited for.
  const pid_t ended = ::fork();
  if (ended == 0) ::_exit(0);
  ::waitpid(ended, nullptr, 0);
  const std::string dead = std::to_string(ended);
  const std::string alive = std::to_string(::getpid());
  const struct {
    std::string name;
    bool removed;
  } cases[] = {
      {"MORVA.INI.tmp" + dead + "-0", true},
      {"MORVA.INI.tmp" + alive + "-0", false},  // may be being written
      {"MORVA.INI", false},
      {"MORVA.INI.tmp" + dead, false},
      {"MORVA.INI.tmp" + dead + "-0x", false},
      {".tmp" + dead + "-0", false},
  };
  testing::TempDir dir;
  for (const auto& c : cases) testing::WriteFile(dir / c.name, "x");
  std::filesystem::create_directory(dir / ("sub.tmp" + dead + "-1"));
  RemoveStaleTemporaryFiles(dir.str());
  for (const auto& c : cases)
    EXPECT_EQ(std::filesystem::exists(dir / c.name), !c.removed) << c.name;
  EXPECT_TRUE(std::filesystem::exists(dir / ("sub.tmp" + dead + "-1")));
}

}  // namespace
}  // namespace morva
