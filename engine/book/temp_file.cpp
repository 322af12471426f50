#include "engine/book/temp_file.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace morva {

namespace {
std::string TempDirectory() {
  const char* dir = std::getenv("TMPDIR");
  std::string d = dir && *dir ? dir : "/tmp";
  if (d.back() != '/') d += '/';
  return d;
}
}  // namespace

TempFile::TempFile() {
  std::string dir = TempDirectory();
  if (dir.size() > 260) return;  // no usable temporary directory: the name stays empty
  std::string pattern = dir + "MrvXXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  int fd = mkstemp(name.data());
  if (fd < 0) return;
  close(fd);
  path_ = name.data();
}

TempFile::~TempFile() {
  if (!path_.empty()) std::remove(path_.c_str());
}

}  // namespace morva
