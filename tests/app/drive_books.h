// Books for the drive-search tests: volumes at depths 0 to 3 below a root,
// one with a sound-only sub-book and some in and under directories whose
// names hold a ".".
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/drive_search/drive_walk.h"
#include "engine/book/tdisk.h"
#include "engine/text/unicode.h"
#include "tests/support/book_test.h"

namespace morva::testing {

namespace fs = std::filesystem;

class DriveWalkTest : public ::testing::Test {
 protected:
  DriveWalkTest() {
    const fs::path r = Root();
    WriteVolume(r, {SimpleSubbook("深さ零の辞書", "zero")});
    WriteVolume(r / "a", {SimpleSubbook("深さ一", "one")});
    WriteVolume(r / "b" / "c", {SimpleSubbook("深さ二", "two")});
    WriteVolume(r / "d" / "e" / "f", {SimpleSubbook("深さ三", "three")});
    WriteVolume(r / "s", {SimpleSubbook("本体", "main"), SimpleSubbook("音声", "snd")});
    fs::create_directories(r / "s" / "snd" / "stream");
    WriteVolume(r / "x.d", {SimpleSubbook("点", "dot")});
    WriteVolume(r / "y.d" / "z", {SimpleSubbook("点の下", "under")});
    disk_.SetBookList(&bar_);
  }

  fs::path Root() const { return dir_ / "root"; }

  std::vector<std::string> Titles(const DriveSearchResult& r) const {
    std::vector<std::string> out;
    for (const BookBarEntry& e : r.bar)
      out.push_back(e.IsSeparator() ? "|" : SjisToUtf8(e.shortName));
    return out;
  }

  TempDir dir_;
  RecordingReporter reporter_;
  BookBar bar_;
  TDisk disk_{reporter_};
};

}  // namespace morva::testing
