// Books for the drive-search tests: volumes at depths 0 to 3 below a root,
// one with a sound-only sub-book and some in and under directories whose
// names hold a ".".
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "app/drive_search/drive_walk.h"
#include "engine/book/tdisk.h"
#include "engine/text/unicode.h"
#include "tests/support/recording_reporter.h"
#include "tests/support/test_dirs.h"
#include "tools/mkbook/body_text.h"
#include "tools/mkbook/index_page.h"
#include "tools/mkbook/jis_text.h"
#include "tools/mkbook/subbook_pages.h"
#include "tools/mkbook/volume.h"

namespace morva::testing {

namespace fs = std::filesystem;

inline mkbook::Subbook MakeSubbook(const std::string& titleUtf8, const std::string& directory) {
  mkbook::SubbookPages pages;
  mkbook::BodyText body({pages.NextFreePage(), 0});
  body.Indent(1).Headword("あ").Text("本文").Newline();
  pages.AddSection(mkbook::index_code::kBody, body.Bytes());
  mkbook::Subbook s;
  s.record.title = mkbook::JisFromUtf8(titleUtf8);
  s.record.directory = directory;
  s.body = pages.Build();
  return s;
}

inline void WriteVolume(const fs::path& at,
                        const std::vector<std::pair<std::string, std::string>>& books) {
  mkbook::Volume v(mkbook::CatalogLayout::kCatalogs);
  for (const auto& [title, directory] : books) v.AddSubbook(MakeSubbook(title, directory));
  v.WriteTo(at);
}

class DriveWalkTest : public ::testing::Test {
 protected:
  DriveWalkTest() {
    const fs::path r = Root();
    WriteVolume(r, {{"深さ零の辞書", "zero"}});
    WriteVolume(r / "a", {{"深さ一", "one"}});
    WriteVolume(r / "b" / "c", {{"深さ二", "two"}});
    WriteVolume(r / "d" / "e" / "f", {{"深さ三", "three"}});
    WriteVolume(r / "s", {{"本体", "main"}, {"音声", "snd"}});
    fs::create_directories(r / "s" / "snd" / "stream");
    WriteVolume(r / "x.d", {{"点", "dot"}});
    WriteVolume(r / "y.d" / "z", {{"点の下", "under"}});
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
