// Damaged body text: whatever the bytes, formatting and dumps end, and the
// marked text stays well formed for the view.
#include <random>

#include "engine/decode/dump.h"
#include "engine/text/sjis.h"
#include "tests/support/book_test.h"

namespace morva {
namespace {

// The first structural fault of marked text, empty when there is none.
// Double-byte pairs are checked in JIS books only.
std::string MarkedTextFault(const std::string& m, bool pairs) {
  auto at = [&](size_t i) { return i < m.size() ? static_cast<uint8_t>(m[i]) : 0; };
  for (size_t i = 0; i < m.size(); ++i) {
    const uint8_t b = at(i);
    if (b == 0) return "0 byte";
    if (b == 0x02) {
      const uint8_t length = at(i + 1);
      if (length != 0x22 && length != 0x2E && length != 0x30 && length != 0x37) return "bad marker";
      if (i + length - 0x20 >= m.size()) return "cut marker";
      i += length - 0x20;
    } else if (b == 0x09) {
      if (at(i + 1) < 0x20 || at(i + 1) > 0x20 + 98) return "bad indent";
      ++i;
    } else if (b == 0x0B) {
      if ((at(i + 1) != '0' && at(i + 1) != '1') || at(i + 2) < 0x20 || at(i + 3) < 0x20)
        return "bad gaiji";
      i += 3;
    } else if (pairs && IsSjisLead(b)) {
      if (at(i + 1) < 0x40) return "cut character";
      ++i;
    }
  }
  return "";
}

class DamageTest : public testing::ContentTest {};

TEST_F(DamageTest, RandomBodiesGiveWellFormedItemsWindowsAndDumps) {
  disk_.settings().bufferSize = 3000;
  for (unsigned seed = 1; seed <= 6; ++seed) {
    std::mt19937 rng(seed);
    std::string bytes(6 * kPageSize, '\0');
    for (char& c : bytes) {
      const auto b = static_cast<uint8_t>(rng() % 5 == 0 ? 0x1F : rng());
      c = static_cast<char>(b == 0 ? 0x21 : b);  // a 0 byte would end the text at once
    }
    LoadPages(bytes);
    disk_.decoderState().gaijiMode = seed % 2 ? GaijiMode::kBitmap : GaijiMode::kText;
    disk_.decoderState().singleByteBook = seed % 3 == 0;
    for (int32_t offset : {0, 1, 777, 2047}) {
      const std::string item = Item({2, offset});
      EXPECT_EQ(MarkedTextFault(item, !disk_.decoderState().singleByteBook), "")
          << "seed " << seed << " offset " << offset;
    }
    BookAddress start{3, 100};
    BookAddress next;
    int64_t length = 0;
    for (int direction : {0, 1, -1, -1, 1}) {
      content_.FormatWindow(-1, direction, &start, &next, &length);
      EXPECT_LE(length, static_cast<int64_t>(MarkedFile().size())) << "seed " << seed;
      EXPECT_LT(MarkedFile().size(), 20u * 3000u);
    }
    EXPECT_LE(DumpPage(disk_, -1, 6, 0x7F3).size(), 139u);
  }
}

TEST_F(DamageTest, EscapeCutByTheEndOfTheBookEndsTheItem) {
  LoadPages(std::string(kPageSize - 4, '\x21') + "\x1F\x62\x12\x34");
  EXPECT_EQ(MarkedTextFault(Item(), true), "");
  EXPECT_TRUE(content_.EndOfData());
}

}  // namespace
}  // namespace morva
