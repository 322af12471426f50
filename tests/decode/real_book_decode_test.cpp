// The decoder and the content formatter over a real book. (Every entry's text
// is checked against the answer key by the command-line tests.)
#include <gtest/gtest.h>

#include <string>

#include "engine/book/book_list.h"
#include "engine/book/tdisk.h"
#include "engine/decode/content.h"
#include "engine/decode/decoder.h"
#include "tests/support/recording_reporter.h"
#include "tests/support/test_dirs.h"

namespace morva {
namespace {

class RealBookDecodeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MORVA_REQUIRE_SHARED_BOOKS();
    body_ = (testing::SharedBooks() / "edict-small/edsmall/data/honmon").string();
    disk_.BodyFiles().Add(body_, 1);
    disk_.SetMultiFile(true);
  }

  std::string body_;
  testing::RecordingReporter reporter_;
  TDisk disk_{reporter_};
};

TEST_F(RealBookDecodeTest, DecodingTheWholeFileTerminatesAndTheBodyIsText) {
  const int64_t size = TDisk::FileSize(body_);
  ASSERT_GT(size, 0);
  ASSERT_EQ(disk_.Seek(1, 0), 0);
  // Each call takes at least one byte or hands out a held one.
  const int64_t limit = 2 * size + 16;
  int64_t calls = 0, text = 0, escapes = 0, unknown = 0;
  const int32_t bodyEnd = 410;  // the body text of this book ends on page 410
  EscapeItem item;
  for (; calls < limit; ++calls) {
    const int value = DecodeNext(disk_, item, true);
    if (value == kDecodeEnd) {
      // A 0 byte of an index page: go on until the file is used up.
      if (disk_.Tell().Position() >= size) break;
      continue;
    }
    if (disk_.Tell().page > bodyEnd) continue;
    if (value == kDecodeUnknown) {
      ++unknown;
    } else if (item.code != 0) {
      ++escapes;
    } else {
      ++text;
    }
  }
  EXPECT_LT(calls, limit);
  EXPECT_GT(text, 3 * escapes);
  EXPECT_LT(unknown * 1000, text);
  EXPECT_TRUE(reporter_.boxes().empty());
}

// The next window of marked text begins with the part of the first that lies
// beyond the length it reported.
TEST(RealBookContentTest, NextWindowBeginsWithTheTextAtTheOffsetGiven) {
  MORVA_REQUIRE_SHARED_BOOKS();
  testing::RecordingReporter reporter;
  TDisk disk{reporter};
  TContent content{disk};
  BookBar books{{"edict", (testing::SharedBooks() / "edict-small").string(), "", 0}};
  disk.SetBookList(&books);
  BookAddress start{2, 2};
  BookAddress next;
  int64_t length = 0;
  ASSERT_TRUE(content.FormatWindow(0, 0, &start, &next, &length));
  const std::string first = testing::ReadFile(disk.MarkedTextPath());
  ASSERT_GE(length, 4000);
  ASSERT_LT(static_cast<size_t>(length), first.size());
  const std::string overlap = first.substr(static_cast<size_t>(length));
  EXPECT_EQ(overlap[0], '\x09');
  ASSERT_TRUE(content.FormatWindow(0, 1, &start, &next, &length));
  EXPECT_EQ(testing::ReadFile(disk.MarkedTextPath()).substr(0, overlap.size()), overlap);
  EXPECT_TRUE(reporter.boxes().empty());
}

}  // namespace
}  // namespace morva
