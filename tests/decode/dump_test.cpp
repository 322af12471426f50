// Hexadecimal page dumps, and damaged body text: whatever the bytes, formatting
// and dumps end, and the marked text stays well formed for the view.
#include "engine/decode/dump.h"

#include <random>

#include "engine/text/sjis.h"
#include "tests/support/book_test.h"

namespace morva {
namespace {

class DumpTest : public testing::ContentTest {
 protected:
  void LoadPagesOf(const std::string& pair, int pages) {
    std::string bytes;
    for (int i = 0; i < pages * kPageSize / 2; ++i) bytes += pair;
    LoadPages(bytes);
  }
};

TEST_F(DumpTest, DumpFromAnOffsetRunsIntoTheNextPage) {
  LoadPagesOf("\x30\x21", 6);  // 亜
  const auto lines = DumpPage(disk_, -1, 5, 0x0123);
  ASSERT_EQ(lines.size(), 1u + 128u + 1u + 9u);  // title, rows, page line, headers
  EXPECT_EQ(lines[0], "Position = 0x00000005:0123");
  EXPECT_EQ(lines[2],
            "0120 30 21 30 21 30 21 30 21 30 21 30 21 30 21 30 21 " + J("亜亜亜亜亜亜亜亜"));
  // Headers before 0x120 and at 0x200 .. 0x700; rows 0x120 .. 0x7F0 of page 5.
  EXPECT_EQ(lines[1 + 7 + 110 - 1].substr(0, 4), "07F0");
  EXPECT_EQ(lines[1 + 7 + 110], "Page = 00000006");
  EXPECT_EQ(lines.back().substr(0, 4), "0110");
}

TEST_F(DumpTest, CharacterColumnsAndZeroRows) {
  // 亜, an external character, a control pair, the full-width space, あ.
  LoadPages(std::string("\x30\x21\xA1\x21\x1F\x09\x21\x21\x24\x22\x01\x01\x01\x01\x01\x01", 16));
  EXPECT_EQ(DumpPage(disk_, -1, 1, 0).at(2),
            "0000 30 21 A1 21 1F 09 21 21 24 22 01 01 01 01 01 01 " + J("亜....　あ......"));

  disk_.decoderState().singleByteBook = true;
  LoadPages(std::string("Ab \x1F\x7E\x80\xFFzxxxxxxxx", 16));
  EXPECT_EQ(DumpPage(disk_, -1, 1, 0).at(2),
            "0000 41 62 20 1F 7E 80 FF 7A 78 78 78 78 78 78 78 78 Ab .~..zxxxxxxxx");
}

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
