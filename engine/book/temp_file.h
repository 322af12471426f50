// A temporary file of one run: a unique, empty file made with mkstemp in the
// system's temporary directory with the prefix "Mrv", removed when the object
// is destroyed. Without a usable temporary directory the path stays empty.
//
// Every live temporary file is also kept in a fixed table, so that a program
// ended by a signal can remove them from its handler.
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
  int slot_ = -1;  // the row of the table, -1 when not kept there
};

// Removes every live temporary file of the process. It only calls unlink(),
// so it may be called from a signal handler that then ends the process.
// The table is kept by the one thread that makes temporary files.
void RemoveTempFilesNow();

}  // namespace morva
