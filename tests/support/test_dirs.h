// Where tests find things: the real books beside the repository, and
// temporary directories that remove themselves.
#pragma once

#include <filesystem>
#include <string>

namespace morva::testing {

// ../shared/books as seen from the repository root.
std::filesystem::path SharedBooks();
// True when the shared books are present; tests that need them skip otherwise
// (use MORVA_REQUIRE_SHARED_BOOKS()).
bool HaveSharedBooks();

#define MORVA_REQUIRE_SHARED_BOOKS()                                             \
  do {                                                                           \
    if (!::morva::testing::HaveSharedBooks())                                    \
      GTEST_SKIP() << "../shared/books is absent; skipping tests on real books"; \
  } while (0)

// A fresh directory under the system's temporary directory, removed with
// everything in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::string str() const { return path_.string(); }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// Whole-file helpers.
std::string ReadFile(const std::filesystem::path& p);
void WriteFile(const std::filesystem::path& p, const std::string& bytes);

}  // namespace morva::testing
