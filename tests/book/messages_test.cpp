#include <gtest/gtest.h>

#include "engine/book/messages.h"
#include "engine/book/temp_file.h"
#include "engine/book/tdisk.h"
#include "engine/text/unicode.h"
#include "tests/support/recording_reporter.h"

#include <filesystem>

namespace morva {
namespace {

std::string Utf8(std::string_view sjis) { return SjisToUtf8(sjis); }

TEST(MessagesTest, PairsChooseTheLanguageHalf) {
  EXPECT_EQ(Utf8(Message(19, false)), "１項目の出力が%ldバイトを超えた");
  EXPECT_EQ(Utf8(Message(19, true)), "Exceeds %ldbytes");
  EXPECT_EQ(Utf8(Message(21, false)), "外字ファイル指定が2個を超えた。\n超過分を無視します。");
  EXPECT_EQ(Utf8(Message(35, false)), "タイトル情報ﾌｧｲﾙに Neglect 文が２つ以上あります。");
  EXPECT_EQ(Message(999, false), "");
  EXPECT_EQ(Message(1, true), "");
}

TEST(MessagesTest, IndexCaptionsFollowTheIndexKindRows) {
  EXPECT_EQ(Utf8(IndexCaption(0, false)), "本文");
  EXPECT_EQ(Utf8(IndexCaption(0, true)), "Text");
  EXPECT_EQ(Utf8(IndexCaption(19, false)), "見出し･ｸﾛｽ");
  EXPECT_EQ(Utf8(IndexCaption(30, false)), "複合");
  EXPECT_EQ(Utf8(IndexCaption(30, true)), "Multi-Search");
}

TEST(TempFileTest, IsCreatedEmptyWithPrefixAndRemoved) {
  std::string path;
  {
    TempFile f;
    path = f.Path();
    ASSERT_FALSE(path.empty());
    EXPECT_EQ(std::filesystem::path(path).filename().string().rfind("Mrv", 0), 0u);
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(std::filesystem::file_size(path), 0u);
  }
  EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(TempFileTest, TDiskOwnsTwoDistinctFiles) {
  testing::RecordingReporter reporter;
  std::string a, b;
  {
    TDisk disk(reporter);
    a = disk.MarkedTextPath();
    b = disk.GaijiCachePath();
    EXPECT_NE(a, b);
    EXPECT_TRUE(std::filesystem::exists(a));
    EXPECT_TRUE(std::filesystem::exists(b));
  }
  EXPECT_FALSE(std::filesystem::exists(a));
  EXPECT_FALSE(std::filesystem::exists(b));
}

}  // namespace
}  // namespace morva
