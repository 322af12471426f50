#include "engine/text/jis.h"

#include <gtest/gtest.h>

namespace morva {
namespace {

TEST(JisTest, EveryJisCodeRoundTripsThroughShiftJis) {
  for (unsigned hi = 0x21; hi <= 0x7E; ++hi) {
    for (unsigned lo = 0x21; lo <= 0x7E; ++lo) {
      const auto jis = static_cast<uint16_t>(hi << 8 | lo);
      const uint16_t sjis = JisToSjis(jis);
      const unsigned lead = sjis >> 8;
      const unsigned trail = sjis & 0xFF;
      const bool leadOk = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xEF);
      ASSERT_TRUE(leadOk) << std::hex << jis;
      ASSERT_TRUE(trail >= 0x40 && trail <= 0xFC && trail != 0x7F) << std::hex << jis;
      ASSERT_EQ(SjisToJis(sjis), jis) << std::hex << jis;
    }
  }
}

TEST(JisTest, EveryShiftJisPairOfTheJisAreaRoundTrips) {
  for (unsigned lead = 0x81; lead <= 0xEF; ++lead) {
    if (lead > 0x9F && lead < 0xE0) continue;
    for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
      if (trail == 0x7F) continue;
      const auto sjis = static_cast<uint16_t>(lead << 8 | trail);
      ASSERT_EQ(JisToSjis(SjisToJis(sjis)), sjis) << std::hex << sjis;
    }
  }
}

TEST(JisTest, KnownCodesAtRowAndCellEdges) {
  EXPECT_EQ(JisToSjis(0x3021), 0x889F);  // 亜
  EXPECT_EQ(JisToSjis(0x2121), 0x8140);  // full-width space
  EXPECT_EQ(JisToSjis(0x2160), 0x8180);  // odd row: trail skips 0x7F
  EXPECT_EQ(JisToSjis(0x215F), 0x817E);
  EXPECT_EQ(JisToSjis(0x2221), 0x819F);  // even row starts at trail 0x9F
  EXPECT_EQ(JisToSjis(0x5E7E), 0x9FFC);
  EXPECT_EQ(JisToSjis(0x5F21), 0xE040);  // leads jump from 0x9F to 0xE0
  EXPECT_EQ(JisToSjis(0x7E7E), 0xEFFC);
  EXPECT_EQ(SjisToJis(0x82A0), 0x2422);  // あ
}

TEST(JisTest, InvalidCodesGiveZero) {
  for (uint16_t jis : {0x0000, 0x2020, 0x2120, 0x217F, 0x7F21, 0xA221, 0xFFFF}) {
    EXPECT_FALSE(IsValidJis(jis)) << std::hex << jis;
    EXPECT_EQ(JisToSjis(jis), 0) << std::hex << jis;
  }
  // Bad lead (single bytes, half-width katakana, beyond 0xEF) or bad trail.
  for (uint16_t sjis :
       {0x0041, 0x8041, 0xA040, 0xDF40, 0xF040, 0xFA40, 0x813F, 0x817F, 0x81FD, 0x8100}) {
    EXPECT_EQ(SjisToJis(sjis), 0) << std::hex << sjis;
  }
}

}  // namespace
}  // namespace morva
