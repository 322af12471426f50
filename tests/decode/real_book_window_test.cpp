// The content formatter's windows over a real book. (Every entry's text is
// checked against the answer key by the command-line tests.)
#include <gtest/gtest.h>

#include <string>

#include "engine/book/book_list.h"
#include "engine/book/tdisk.h"
#include "engine/decode/content.h"
#include "tests/support/recording_reporter.h"
#include "tests/support/test_dirs.h"

namespace morva {
namespace {

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
