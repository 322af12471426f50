#include "tests/support/test_dirs.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace morva::testing {

std::filesystem::path SharedBooks() { return std::filesystem::path(MORVA_SHARED_BOOKS); }

bool HaveSharedBooks() {
  std::error_code ec;
  return std::filesystem::is_directory(SharedBooks() / "edict-small", ec);
}

TempDir::TempDir() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "morva-test-XXXXXX").string();
  if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  path_ = tmpl;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(path_, ec);
}

std::string ReadFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

void WriteFile(const std::filesystem::path& p, const std::string& bytes) {
  std::filesystem::create_directories(p.parent_path());
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << bytes;
}

}  // namespace morva::testing
