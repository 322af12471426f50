// A temporary file of one run: a unique, empty file made with mkstemp in the
// system's temporary directory with the prefix "Mrv", removed when the object
// is destroyed. Without a usable temporary directory the path stays empty.
#pragma once

#include <string>

namespace morva {

class TempFile {
 public:
  TempFile();
  ~TempFile();
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace morva
