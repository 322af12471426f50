#include <gtest/gtest.h>

#include <climits>
#include <tuple>
#include <vector>

#include "engine/book/tdisk.h"
#include "tests/support/recording_reporter.h"
#include "tests/support/test_dirs.h"

namespace morva {
namespace {

using testing::RecordedBox;
using testing::RecordingReporter;
using testing::TempDir;
using testing::WriteFile;

// n pages whose every byte tells its file, page and position: byte i of page p
// is (tag + p + i) & 0xFF, never 0 so the reader does not stop early.
std::string Pages(int tag, int n) {
  std::string s;
  for (int p = 1; p <= n; ++p)
    for (int i = 0; i < kPageSize; ++i) {
      int v = (tag + p + i) & 0xFF;
      s += static_cast<char>(v == 0 ? 1 : v);
    }
  return s;
}
uint8_t Expected(int tag, int localPage, int i) {
  int v = (tag + localPage + i) & 0xFF;
  return static_cast<uint8_t>(v == 0 ? 1 : v);
}

// Keeps every failed read as the engine describes it, and shows its box as
// the window would.
class FailureLog : public RecordingReporter {
 public:
  void ReadFailed(const ReadFailure& failure) override {
    failures.push_back(failure);
    RecordingReporter::ReadFailed(failure);
  }
  std::vector<ReadFailure> failures;
};

// A page space of a 3-page body file and a 2-page second file from page 4.
class PageSpaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(dir_ / "SUB/DATA/HONMON", Pages(10, 3));
    WriteFile(dir_ / "sub/extra", Pages(50, 2));
    disk_.SetVolumeRoot(dir_.str() + "/");
    auto& t = disk_.BodyFiles();
    t.Add(dir_.str() + "/sub/data/honmon", 1);
    t.Add(dir_.str() + "/sub/extra", 4);
    disk_.SetMultiFile(true);
  }
  TempDir dir_;
  FailureLog reporter_;
  TDisk disk_{reporter_};
};

TEST_F(PageSpaceTest, ByteReaderCrossesPagesAndFiles) {
  ASSERT_EQ(disk_.Seek(3, 2046), 0);
  EXPECT_EQ(disk_.ReadByte(), Expected(10, 3, 2046));
  EXPECT_EQ(disk_.ReadByte(), Expected(10, 3, 2047));
  // Offset 2048 is reported as offset 0 of the next page.
  EXPECT_EQ(disk_.Tell(), (BookAddress{4, 0}));
  EXPECT_EQ(disk_.ReadByte(), Expected(50, 1, 0));
  EXPECT_EQ(disk_.Tell(), (BookAddress{4, 1}));

  // A seek drops a pushed-back byte; four bytes back from the start of a page
  // lands on the previous page.
  disk_.PushBack(0x41);
  ASSERT_EQ(disk_.Seek(3, 2), 0);
  EXPECT_EQ(disk_.TellMinusFour(), (BookAddress{2, 2046}));
  EXPECT_EQ(disk_.ReadByte(), Expected(10, 3, 2));
  EXPECT_TRUE(reporter_.boxes().empty());
}

TEST_F(PageSpaceTest, TheEndOfDataWarnsOnceAndBadPagesFailWithoutReading) {
  // The byte reader gives 0 once the data ends, warning once, and stays at
  // the end of what could be read until a new seek.
  ASSERT_EQ(disk_.Seek(5, 2047), 0);
  EXPECT_NE(disk_.ReadByte(), 0);
  EXPECT_EQ(disk_.ReadByte(), 0);
  EXPECT_EQ(disk_.ReadByte(), 0);
  EXPECT_EQ(reporter_.Count(RecordedBox::kWarning), 1);
  EXPECT_EQ(reporter_.Last(RecordedBox::kWarning), "辞書ﾌｧｲﾙの入力ｴﾗｰが発生しました.");
  EXPECT_EQ(disk_.Tell(), (BookAddress{6, 0}));
  EXPECT_EQ(disk_.Seek(1, 0), 0);
  EXPECT_EQ(disk_.ReadByte(), Expected(10, 1, 0));

  // A row whose first page lies far below page 1 (a damaged index entry or
  // information file): its local page numbers do not fit.
  reporter_.Clear();
  disk_.BodyFiles().Add(dir_.str() + "/sub/extra", INT32_MIN);
  disk_.BodyFiles().Sort();
  disk_.subbook().volumeKind = 0;
  for (int32_t page : {-5, 0, INT32_MIN, -1, 3}) {
    EXPECT_EQ(disk_.Seek(page, 0), -1) << page;
    EXPECT_EQ(disk_.subbook().volumeKind, 0) << page;
  }
  EXPECT_TRUE(reporter_.boxes().empty());
}

// A file cut inside its last page holds data up to the cut only: seeking
// into the zero fill or reading on into it is a failure naming the file and
// the address, in the box of its kind.
TEST_F(PageSpaceTest, TruncatedLastPageEndsWhereTheFileEndsAndMissingFilesFail) {
  WriteFile(dir_ / "sub/extra", Pages(50, 2).substr(0, kPageSize + 100));
  const std::string extra = dir_.str() + "/sub/extra";
  ASSERT_EQ(disk_.Seek(5, 99), 0);
  EXPECT_NE(disk_.ReadByte(), 0);
  EXPECT_EQ(disk_.ReadByte(), 0);
  EXPECT_EQ(disk_.ReadByte(), 0);
  EXPECT_EQ(disk_.Seek(5, 100), -1);
  EXPECT_EQ(disk_.ReadByte(), 0);
  EXPECT_EQ(disk_.Seek(5, 2047), -1);
  EXPECT_EQ(disk_.Seek(6, 0), -1);
  disk_.BodyFiles().Add(dir_.str() + "/sub/missing", 20);
  disk_.BodyFiles().Sort();
  EXPECT_EQ(disk_.Seek(21, 3), -1);
  EXPECT_EQ(reporter_.Last(RecordedBox::kRetry),
            "ﾌｧｲﾙ：" + dir_.str() + "/sub/missing を開けない．");
  EXPECT_EQ(disk_.subbook().volumeKind, -1);
  using Kind = ReadFailure::Kind;
  const std::vector<std::tuple<Kind, std::string, BookAddress>> want{
      {Kind::kReadingOn, extra, {5, 100}},
      {Kind::kPastEnd, extra, {5, 100}},
      {Kind::kPastEnd, extra, {5, 2047}},
      {Kind::kPastEnd, extra, {6, 0}},
      {Kind::kOpen, dir_.str() + "/sub/missing", {21, 0}},
  };
  std::vector<std::tuple<Kind, std::string, BookAddress>> got;
  for (const ReadFailure& f : reporter_.failures) got.emplace_back(f.kind, f.path, f.at);
  EXPECT_EQ(got, want);
}

}  // namespace
}  // namespace morva
