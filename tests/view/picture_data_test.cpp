// The image window's Qt-free part: picture titles, its history and hot spots.
#include "view/graph_window/picture_data.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/book/text_utils.h"
#include "view/graph_window/picture_history.h"

namespace morva {
namespace {

TEST(PictureData, TitleIsTheLinkTextWithoutExternalCharacters) {
  EXPECT_EQ(PictureTitle("abc\x01" + Sjis("地図") + "\x0B\x31\xA1\x21" + Sjis("Ａ")),
            Sjis("地図Ａ"));
  // A title made only of external characters.
  EXPECT_EQ(PictureTitle("\x01\x0B\x31\xA1\x21\x0B\x30\xA1\x22"), Sjis("画像"));
  // A marker before the text is passed over whole, not read as text.
  EXPECT_EQ(PictureTitle("\x02\x2ER000004D20005" + Sjis("図")), Sjis("図"));
  // At most 99 bytes, never half a character.
  std::string longText = "\x01" + std::string(60, 'a');
  for (int i = 0; i < 30; ++i) longText += Sjis("あ");
  const std::string t = PictureTitle(longText);
  EXPECT_LE(t.size(), 99u);
  EXPECT_EQ(t.size() % 2, 0u);
}

// History titles are cut to 20 bytes and ten entries kept; a hot spot
// answers inside its box, the box's edges excluded.
TEST(PictureData, HistoryKeepsTenEntriesAndHotSpotBoxesAreExclusive) {
  PictureHistory h;
  h.Push(1, {2, 3}, Sjis("とても長い画像の題名です"));
  EXPECT_EQ(h.Pop()->title, Sjis("とても長い画像の題名"));
  for (int i = 0; i < 12; ++i) h.Push(1, {i + 1, 0}, std::to_string(i));
  EXPECT_EQ(h.Count(), 10);
  EXPECT_EQ(h.Pop()->title, "11");
  EXPECT_EQ(h.Pop()->at.page, 11);

  PictureRegions r;
  r.entries[2] = {{5, 0}, 30, 40, 0};
  r.count = 3;
  // The spot (30, 40) answers inside (10..34) x (31..49), exclusive.
  const int points[][3] = {{11, 40, 2}, {33, 48, 2}, {10, 40, 0},
                           {34, 40, 0}, {20, 31, 0}, {20, 49, 0}};
  for (const auto& p : points) EXPECT_EQ(r.HotSpotAt(p[0], p[1]), p[2]) << p[0] << "," << p[1];
}

}  // namespace
}  // namespace morva
