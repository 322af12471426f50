#include "engine/book/temp_file.h"

#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace morva {

namespace {

constexpr size_t kMaxDirectory = 260;
constexpr const char kPattern[] = "MrvXXXXXX";

// The table of live temporary files. A row's name is complete before the row
// is marked used, and the row is freed only after its file is gone, so a
// signal handler that walks the table unlinks only names of our own files.
struct Slot {
  volatile sig_atomic_t used;
  char path[kMaxDirectory + sizeof kPattern + 1];
};
constexpr int kSlots = 16;
Slot g_slots[kSlots];

std::string TempDirectory() {
  const char* dir = std::getenv("TMPDIR");
  std::string d = dir && *dir ? dir : "/tmp";
  if (d.back() != '/') d += '/';
  return d;
}

}  // namespace

TempFile::TempFile() {
  std::string dir = TempDirectory();
  if (dir.size() > kMaxDirectory) return;  // no usable temporary directory: the name stays empty
  std::string name = dir + kPattern;
  const int fd = mkstemp(name.data());
  if (fd < 0) return;
  close(fd);
  path_ = name;
  for (int i = 0; i < kSlots; ++i) {
    if (g_slots[i].used) continue;
    std::memcpy(g_slots[i].path, name.c_str(), name.size() + 1);
    g_slots[i].used = 1;
    slot_ = i;
    break;
  }
  // With the table full the file is made all the same; only an ending by a
  // signal would leave it behind.
}

TempFile::~TempFile() {
  if (path_.empty()) return;
  std::remove(path_.c_str());
  if (slot_ >= 0) g_slots[slot_].used = 0;
}

void RemoveTempFilesNow() {
  for (Slot& slot : g_slots) {
    if (slot.used) unlink(slot.path);
  }
}

}  // namespace morva
