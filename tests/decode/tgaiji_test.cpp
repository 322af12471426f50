#include <gtest/gtest.h>

#include <string>

#include "engine/book/tdisk.h"
#include "engine/book/text_utils.h"
#include "engine/decode/gaiji.h"
#include "tests/support/recording_reporter.h"

namespace morva {
namespace {

using testing::RecordedBox;

class TGaijiTest : public ::testing::Test {
 protected:
  // The text for a code and width, or "(none)".
  std::string Text(uint32_t code, bool fullWidth) const {
    const int position = table_.Lookup(code, fullWidth);
    return position < 0 ? "(none)" : table_.TextAt(position);
  }
  bool Add(std::string_view line) { return table_.AddLine(disk_, line); }

  testing::RecordingReporter reporter_;
  TDisk disk_{reporter_};
  TGaiji& table_ = disk_.decoderState().conversion;
};

TEST_F(TGaijiTest, TheThreeLineFormsAndLaterReplacements) {
  EXPECT_TRUE(Add("A121=(1)"));
  EXPECT_TRUE(Add("hA122=x"));
  EXPECT_TRUE(Add("A122z=X"));
  EXPECT_TRUE(Add(Sjis("Zb0a1=→参照")));
  EXPECT_TRUE(Add("b0a1H=\r\n"));
  EXPECT_TRUE(Add("21=short code"));
  EXPECT_EQ(Text(0xA121, false), "(1)");
  EXPECT_EQ(Text(0xA121, true), "(1)");
  EXPECT_EQ(Text(0xA122, false), "x");
  EXPECT_EQ(Text(0xA122, true), "X");
  EXPECT_EQ(Text(0xB0A1, true), Sjis("→参照"));
  EXPECT_EQ(Text(0xB0A1, false), "");
  EXPECT_EQ(Text(0x21, true), "short code");
  EXPECT_EQ(Text(0xA123, true), "(none)");
  // A later line replaces the text of its width only.
  EXPECT_TRUE(Add("hA121=half"));
  EXPECT_EQ(Text(0xA121, false), "half");
  EXPECT_EQ(Text(0xA121, true), "(1)");
  EXPECT_EQ(table_.Count(), 4);
}

TEST_F(TGaijiTest, LinesThatDoNotParseAreSkipped) {
  for (const char* line : {"", "\r\n", "A121", "A121 =x", "=x", "h=x", "HXYZ=x", "G121=x", "A1G1=x",
                           "A12z=x", "ZZZZ=x", "12345=x", "A121h x"}) {
    SCOPED_TRACE(line);
    EXPECT_TRUE(Add(line));
  }
  EXPECT_EQ(table_.Count(), 0);
  EXPECT_TRUE(reporter_.boxes().empty());
  EXPECT_TRUE(Add("A121=ok"));
  EXPECT_EQ(Text(0xA121, true), "ok");
}

TEST_F(TGaijiTest, TheTwoThousandAndFirstCodeIsRefused) {
  for (uint32_t code = 0; code < TGaiji::kMaxEntries; ++code)
    ASSERT_TRUE(Add(Format("%04X=x", 0xA121 + code)));
  EXPECT_TRUE(reporter_.boxes().empty());
  EXPECT_FALSE(Add("0021=y"));  // the pool still has room
  EXPECT_EQ(reporter_.Count(RecordedBox::kWarning), 1);
  EXPECT_EQ(reporter_.Last(RecordedBox::kWarning),
            "外字変換指定が2,000を越えました\n超過分を無視します");
  EXPECT_EQ(Text(0x21, true), "(none)");
  // A code already in the table needs no new entry.
  EXPECT_TRUE(Add("hA121=z"));
  EXPECT_EQ(Text(0xA121, false), "z");
}

TEST_F(TGaijiTest, PoolOverflowIsRefused) {
  const std::string hundred(100, 'a');
  for (int i = 0; i < 79; ++i)
    ASSERT_TRUE(Add(Format("%04X=", 0xA121 + i) + hundred));  // 7979 bytes
  ASSERT_TRUE(Add("B021=" + std::string(20, 'b')));           // 7979 + 21 = 8000 bytes exactly
  EXPECT_TRUE(reporter_.boxes().empty());
  EXPECT_FALSE(Add("B022="));
  EXPECT_EQ(reporter_.Last(RecordedBox::kWarning),
            "外字変換の置き換え文字の合計が8,000文字を越えました\n超過分を無視します");
  EXPECT_EQ(Text(0xB022, true), "(none)");
  EXPECT_EQ(Text(0xB021, true), std::string(20, 'b'));
  EXPECT_EQ(table_.Count(), 80);

  table_.Clear();
  EXPECT_EQ(table_.Count(), 0);
  EXPECT_EQ(Text(0xB021, true), "(none)");
  EXPECT_FALSE(Add("B021=" + std::string(8000, 'c')));
  EXPECT_TRUE(Add("B021=c"));
}

}  // namespace
}  // namespace morva
