// A TDisk over hand-built page files, for testing the decoders byte by byte:
// the bytes given become the sub-book's page space from page 1 on.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "engine/book/tdisk.h"
#include "tests/support/recording_reporter.h"
#include "tests/support/test_dirs.h"

namespace morva::testing {

// Bytes written as hexadecimal: HexBytes("1F09 0001") is 1F 09 00 01.
inline std::string HexBytes(std::string_view text) {
  std::string out;
  int high = -1;
  for (char c : text) {
    int v = -1;
    if (c >= '0' && c <= '9') v = c - '0';
    if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
    if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
    if (v < 0) continue;
    if (high < 0) {
      high = v;
    } else {
      out += static_cast<char>(high << 4 | v);
      high = -1;
    }
  }
  return out;
}

class RawPagesTest : public ::testing::Test {
 protected:
  // Writes the body file as given (a short last page reads as zero filled),
  // points the disk at it and seeks to page 1, offset 0.
  void Load(const std::string& bytes) {
    const std::string path = dir_.str() + "/honmon";
    WriteFile(path, bytes);
    disk_.BodyFiles().Clear();
    disk_.BodyFiles().Add(path, 1);
    disk_.SetMultiFile(true);
    disk_.CloseBookFile();
    ASSERT_EQ(disk_.Seek(1, 0), 0);
  }
  // Adds a further file of the page space from firstPage on.
  void AddFile(const std::string& name, const std::string& bytes, int32_t firstPage) {
    const std::string path = dir_.str() + "/" + name;
    WriteFile(path, bytes);
    disk_.BodyFiles().Add(path, firstPage);
  }

  TempDir dir_;
  RecordingReporter reporter_;
  TDisk disk_{reporter_};
};

}  // namespace morva::testing
