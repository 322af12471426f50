// A TDisk whose page space is one hand-built file, and a TContent on it, for
// content markup and dump tests that need no catalog.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "engine/book/tdisk.h"
#include "engine/book/text_utils.h"
#include "engine/decode/content.h"
#include "tests/support/recording_reporter.h"
#include "tests/support/test_dirs.h"
#include "tools/mkbook/body_text.h"
#include "tools/mkbook/page_file.h"

namespace morva {

inline const std::string kIndent0 = "\x09\x20";
inline const std::string kIndent1 = "\x09\x21";

// Counts wait-cursor calls so runs can be checked to take it down again.
class CursorReporter : public testing::RecordingReporter {
 public:
  void SetWaitCursor(bool on) override { on ? ++shown : ++hidden; }
  int shown = 0;
  int hidden = 0;
};

class ContentTest : public ::testing::Test {
 protected:
  // Makes bytes the page space from page 1, offset 0 on (zero padded).
  void LoadBody(const std::string& bytes) {
    mkbook::PageFile file(1);
    file.Write({1, 0}, bytes);
    testing::WriteFile(dir_ / "honmon", file.Bytes());
    disk_.CloseBookFile();
    disk_.BodyFiles().Clear();
    disk_.BodyFiles().Add((dir_ / "honmon").string(), 1);
    disk_.SetMultiFile(true);
  }
  void LoadBody(const mkbook::BodyText& body) { LoadBody(body.Bytes()); }

  std::string Item(BookAddress at = {1, 0}) {
    std::string out;
    following_ = content_.FormatItemTo(-1, at, &out);
    return out;
  }
  std::string MarkedFile() const { return testing::ReadFile(disk_.MarkedTextPath()); }
  static std::string J(std::string_view utf8) { return Sjis(utf8); }

  testing::TempDir dir_;
  CursorReporter reporter_;
  TDisk disk_{reporter_};
  TContent content_{disk_};
  BookAddress following_;
};

}  // namespace morva
