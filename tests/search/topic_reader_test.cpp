// The topic reader decodes plain text and the common escapes itself, and
// skims topics without their text; both must agree with the text decoder
// item by item (reference_topics.h), on random bytes and on a real book.
#include "engine/search/topic_reader.h"

#include <gtest/gtest.h>

#include <random>

#include "engine/search/fulltext_query.h"
#include "engine/search/topic_prefilter.h"
#include "tests/search/reference_topics.h"
#include "tests/support/book_test.h"

namespace morva {
namespace {

using testing::S;

// Random body text: mostly text pairs and the escapes books are full of,
// with broken pairs, external characters, control and zero bytes, and
// escapes the reader leaves to the decoder.
std::string RandomBody(std::mt19937& rng, size_t size) {
  auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  std::string out;
  auto bytes = [&out](std::initializer_list<int> list) {
    for (int b : list) out += static_cast<char>(b);
  };
  while (out.size() < size) {
    const int kind = pick(100);
    if (kind < 40) {
      // Text: kana, letters (both cases), the full-width space, kanji.
      static const int rows[] = {0x21, 0x23, 0x24, 0x25, 0x30, 0x45};
      const int row = rows[pick(6)];
      bytes({row, row == 0x21 ? (pick(2) ? 0x21 : 0x4A) : 0x21 + pick(94)});
    } else if (kind < 48) {
      bytes({0x1F, pick(2) ? 0x04 : 0x05});
    } else if (kind < 54) {
      bytes({0x1F, 0x0A});
    } else if (kind < 58) {
      bytes({0x1F, 0x09, pick(4) ? 0x00 : 0x1F, pick(3) ? 0x01 : 0x02});
      if (static_cast<uint8_t>(out[out.size() - 2]) == 0x1F) bytes({0x00, 0x01});
    } else if (kind < 62) {
      bytes({0x1F, 0x41, 0x01, 0x00});
    } else if (kind < 64) {
      bytes({0x1F, 0x61});
    } else if (kind < 67) {
      bytes({0x1F, 0x42});
      if (pick(3) == 0) bytes({0x01, 0x02});
    } else if (kind < 70) {
      bytes({0x1F, 0x62, 0x00, 0x00, 0x00, 0x12, 0x01, 0x00});
    } else if (kind < 74) {
      bytes({0x1F, pick(2) ? 0xE0 : 0x12, 0x00, 0x01});
      out.resize(out.size() - (static_cast<uint8_t>(out[out.size() - 3]) == 0x12 ? 2 : 0));
    } else if (kind < 76) {
      bytes({0x1F, pick(2) ? 0xE1 : 0x13});
    } else if (kind < 78) {
      bytes({0xA1, 0x21 + pick(4)});  // an external character
    } else if (kind < 80) {
      bytes({pick(2) ? 0x20 : 0x7F, 0x21 + pick(90)});  // a broken pair
    } else if (kind < 81) {
      bytes({0x21, pick(2) ? 0x05 : 0x21});  // a pair with a control byte in it
    } else if (kind < 82) {
      bytes({0x05});  // a stray control byte
    } else if (kind < 83) {
      if (pick(4) == 0) bytes({0x00});
    } else if (kind < 85) {
      bytes({0x1F, 0x03});
    } else if (kind < 86) {
      bytes({0x1F, 0x16});
    } else if (kind < 88) {
      bytes({0x1F, 0x14, 0x1E, 0x01, 0x1E, 0x02});  // read by the decoder
    } else if (kind < 89) {
      bytes({0x1F, 0x99});  // unknown
    } else {
      // A run of plain kanji.
      const int n = 1 + pick(12);
      for (int i = 0; i < n; ++i) bytes({0x30 + pick(20), 0x21 + pick(94)});
    }
  }
  return out;
}

class TopicReaderTest : public testing::BookTest {
 protected:
  void OpenBody(const std::string& body) {
    std::string pages = body;
    pages.resize((body.size() + kPageSize - 1) / kPageSize * kPageSize, '\0');
    LoadPages(pages);
    IndexKindRow& row = disk_.subbook().indexes.ByCode(0x00);
    row.start = 1;
    row.end = static_cast<int32_t>(pages.size() / kPageSize);
  }

  // Reads every topic three ways and compares; returns the number of topics.
  int Compare(bool fold, const std::vector<std::string>& words, const std::string& context) {
    const int32_t end = disk_.subbook().indexes.End(0x00);
    TopicBuffer buffer;
    EXPECT_TRUE(buffer.Obtain());
    TopicReader reader(disk_, buffer, fold);
    const TopicPrefilter prefilter(words, !fold);
    const bool skim = reader.CanSkim() && prefilter.usable();
    BookAddress at{disk_.subbook().indexes.Start(0x00), 0};
    int topics = 0;
    for (;;) {
      const uint8_t keyword = disk_.decoderState().headwordStart;
      const testing::ReferenceTopic expected = testing::ReadReferenceTopic(disk_, at, end, fold);
      disk_.decoderState().headwordStart = keyword;
      BookAddress read = at;
      const TopicReader::Result result = reader.Read(&read, end);
      EXPECT_EQ(result == TopicReader::Result::kTopic, expected.exists)
          << context << " at " << at.page << ":" << at.offset;
      if (!expected.exists) break;
      EXPECT_EQ(reader.text(), expected.text) << context << " at " << at.page << ":" << at.offset;
      EXPECT_EQ(read, expected.next) << context << " at " << at.page << ":" << at.offset;
      const uint8_t keywordAfter = disk_.decoderState().headwordStart;
      if (skim) {
        disk_.decoderState().headwordStart = keyword;
        BookAddress skimmed = at;
        SkimmedTopic topic;
        EXPECT_EQ(reader.Skim(&skimmed, end, prefilter, &topic), TopicReader::Result::kTopic)
            << context;
        EXPECT_EQ(skimmed, expected.next)
            << context << " skimming at " << at.page << ":" << at.offset;
        EXPECT_EQ(topic.keywordCode, keyword) << context;
        EXPECT_EQ(topic.keywordCodeAfter, keywordAfter) << context;
        disk_.decoderState().headwordStart = keywordAfter;
        // The prefilter may err towards "may match" only.
        for (const std::string& w : words) {
          if (ContainsAtCharacterBoundary(expected.text, w, false)) {
            EXPECT_TRUE(topic.mayMatch)
                << context << " word in topic at " << at.page << ":" << at.offset;
          }
        }
      }
      if (::testing::Test::HasFailure()) return topics;
      ++topics;
      at = expected.next;
    }
    return topics;
  }
};

TEST_F(TopicReaderTest, AgreesWithTheDecoderOnRandomText) {
  for (unsigned seed = 1; seed <= 60; ++seed) {
    std::mt19937 rng(seed);
    OpenBody(RandomBody(rng, 3 * kPageSize + rng() % kPageSize));
    disk_.info() = BookInfo{};
    disk_.decoderState().headwordStart = 0x41;
    if (seed % 4 == 1) disk_.info().nEnd = 0;
    if (seed % 5 == 2) disk_.info().nCol1 = 2;
    if (seed % 7 == 3) disk_.info().nTab1 = 2;
    const std::string context = "seed " + std::to_string(seed);
    // Prefilter words: one that comes from a letter in either width.
    for (const auto& filterWords :
         {std::vector<std::string>{"A"}, std::vector<std::string>{S("あい"), S("ｶ")}}) {
      Compare(true, filterWords, context + " folded");
      Compare(false, filterWords, context);
    }
    if (HasFailure()) return;
  }
}

TEST_F(TopicReaderTest, BooksTheDecoderReadsSpeciallyAreReadByItAlone) {
  std::mt19937 rng(7);
  OpenBody(RandomBody(rng, 2 * kPageSize));
  disk_.info().skipCodes = {{0x12, 2}};
  Compare(true, {"A"}, "skip codes");
  disk_.info().skipCodes.clear();
  disk_.decoderState().singleByteBook = true;
  Compare(true, {"A"}, "single-byte");
  disk_.decoderState().singleByteBook = false;
  disk_.subbook().specialTitle = true;
  Compare(true, {"A"}, "special title");
  EXPECT_FALSE(HasFailure());
}

TEST_F(TopicReaderTest, AgreesWithTheDecoderOnARealBook) {
  MORVA_REQUIRE_SHARED_BOOKS();
  ASSERT_TRUE(disk_.SelectSubbook(AddRow((testing::SharedBooks() / "edict-small").string())));
  const int topics = Compare(true, {"A", S("東")}, "edict-small");
  EXPECT_EQ(topics, 4539);  // one per entry
}

TEST(TopicPrefilterTest, CharactersAndTheirCodes) {
  auto codes = [](const TopicPrefilter& p, size_t g) { return p.groups().at(g).codes; };
  // "A" comes from Ａ or ａ in half-width text (folded); Ａ only from Ａ.
  EXPECT_EQ(codes(TopicPrefilter({"A"}, false), 0), (std::vector<uint16_t>{0x2341, 0x2361}));
  EXPECT_EQ(codes(TopicPrefilter({"A"}, true), 0), std::vector<uint16_t>{0x2341});
  EXPECT_EQ(codes(TopicPrefilter({S("Ａ")}, true), 0), std::vector<uint16_t>{0x2341});
  // ｶ is the half-width form of カ, か, ガ and が.
  EXPECT_EQ(codes(TopicPrefilter({S("ｶ")}, true), 0).size(), 4u);
  // Two characters of a word, those with fewer codes first; both are needed.
  const TopicPrefilter two({S("ｶ漢字")}, true);
  ASSERT_EQ(two.groups().size(), 2u);
  EXPECT_EQ(two.groups()[0].character, S("漢"));
  EXPECT_FALSE(two.MayMatch(1));
  EXPECT_TRUE(two.MayMatch(3));
  EXPECT_EQ(two.GroupsOf(S("字")), 2u);
  // Either word of two may match.
  const TopicPrefilter either({S("犬"), S("猫")}, true);
  EXPECT_TRUE(either.MayMatch(2));
  EXPECT_FALSE(either.MayMatch(0));
  // Empty words are everywhere and looked for nowhere.
  EXPECT_TRUE(TopicPrefilter({""}, true).usable());
  EXPECT_FALSE(TopicPrefilter({""}, true).MayMatch(0));
  EXPECT_FALSE(TopicPrefilter({S("□")}, true).usable());   // broken codes read as □
  EXPECT_TRUE(TopicPrefilter({S("□犬")}, true).usable());  // but 犬 will do
  EXPECT_FALSE(
      TopicPrefilter({"A", "B", "C", "D", "E"}, false).usable());    // five characters are too many
  EXPECT_FALSE(TopicPrefilter({"AB", "CD", "EF"}, false).usable());  // twelve codes are too many
}

}  // namespace
}  // namespace morva
