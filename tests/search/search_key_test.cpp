#include "engine/search/search_key.h"

#include <gtest/gtest.h>

#include <random>

#include "engine/search/query.h"
#include "tests/support/book_test.h"
#include "tools/mkbook/index_keys.h"

namespace morva {
namespace {

using testing::J;
using testing::S;
using namespace search_flags;
using Typed = std::vector<std::pair<const char*, const char*>>;  // UTF-8 typed, UTF-8 result

class SearchKeyTest : public testing::BookTest {
 protected:
  void Have(std::initializer_list<uint8_t> codes) {
    for (uint8_t c : codes) disk_.subbook().indexes.ByCode(c).start = 10;
  }
  ConvertedKey Convert(std::string_view utf8) { return ConvertKey(disk_, S(utf8)); }
  PreparedKey Prepare(std::string_view utf8) { return PrepareKey(disk_, S(utf8)); }
  uint8_t Chosen(std::string_view utf8) { return Convert(utf8).keyId; }
  void ExpectChosen(const std::vector<std::pair<const char*, int>>& cases) {
    for (const auto& [typed, code] : cases) EXPECT_EQ(Chosen(typed), code) << typed;
  }
  void ExpectCanonical(const Typed& cases) {
    for (const auto& [typed, canonical] : cases)
      EXPECT_EQ(Prepare(typed).canonical, J(canonical)) << typed;
  }
  void ExpectExact(const Typed& cases) {
    for (const auto& [typed, exact] : cases) EXPECT_EQ(Convert(typed).exact, J(exact)) << typed;
  }
};

TEST_F(SearchKeyTest, LettersMeetInTheAlphabetIndex) {
  Have({0x92, 0x91});
  disk_.subbook().volumeKind = 1;  // a "catalog" volume upper-cases ａ-ｚ while converting
  ExpectExact({{"ＡＢＣ", "ＡＢＣ"}, {"abc", "ＡＢＣ"}, {"ａｂｃ", "ＡＢＣ"}});
  ExpectChosen({{"ＡＢＣ", 0x92}, {"abc", 0x92}, {"ａｂｃ", 0x92}});
  disk_.subbook().volumeKind = 0;  // elsewhere the index's option byte decides
  ExpectExact({{"abc", "ａｂｃ"}});
  ExpectCanonical({{"abc", "ＡＢＣ"}});
  disk_.subbook().indexes.ByCode(0x92).options[0] = 0x10;
  ExpectCanonical({{"abc", "ａｂｃ"}});
}

TEST_F(SearchKeyTest, StarsAndDollarsChooseDirectionIndexAndPrefixMatching) {
  Have({0x90, 0x70, 0x91, 0x71, 0x50});
  disk_.info().zenpo = false;
  EXPECT_EQ(Convert("*ねこ").flags, kLeadStar | kKana);
  EXPECT_EQ(Prepare("*ねこ").exact, J("こね"));
  const std::tuple<const char*, int, const char*, MatchMode> cases[] = {
      {"*ねこ", 0x70, "こね", MatchMode::kPrefix},   {"ねこ*", 0x90, "ねこ", MatchMode::kPrefix},
      {"ねこ", 0x90, "ねこ", MatchMode::kExact},     {"ね＊こ", 0x91, "ね＊こ", MatchMode::kExact},
      {"$91ねこ", 0x91, "ねこ", MatchMode::kPrefix}, {"$50ねこ", 0x50, "ねこ", MatchMode::kExact},
      {"$00ねこ", 0x90, "ねこ", MatchMode::kExact},  // 0 is no code
  };
  for (const auto& [typed, code, canonical, mode] : cases) {
    const PreparedKey k = Prepare(typed);
    EXPECT_EQ(k.converted.keyId, code) << typed;
    EXPECT_EQ(k.canonical, J(canonical)) << typed;
    EXPECT_EQ(k.mode, mode) << typed;
  }
  ExpectExact({{"$xねこ", "＄ｘねこ"}});          // no hexadecimal digits: a character
  EXPECT_FALSE(Prepare("$33ねこ").indexPresent);  // a code the table does not know
  // Kana fold in the canonical key only, and not in the special title (the
  // writer's model below checks the folding).
  EXPECT_EQ(Prepare("がっこう").exact, J("がっこう"));
  disk_.subbook().indexes.ByCode(0x90).options[0] = 0x02;  // long-vowel marks dropped
  disk_.subbook().specialTitle = true;
  ExpectCanonical({{"コーヒー", "こおひい"}});
  disk_.subbook().specialTitle = false;
  // Kana prefer the forward kana index over the backward notation index.
  disk_.subbook().indexes.ByCode(0x70).start = 0;
  ExpectChosen({{"*ねこ", 0x90}});
  disk_.subbook().indexes.ByCode(0x90).start = 0;
  ExpectChosen({{"*ねこ", 0x71}});
}

// The book writer prepares stored keys the same way (tools/mkbook).
TEST_F(SearchKeyTest, CanonicalKeysEqualTheWritersKeys) {
  std::vector<uint16_t> alphabet = {0x213C, 0x2126, 0x2147, 0x2341, 0x2361,
                                    0x237A, 0x2330, 0x3021, 0x2121};
  for (uint16_t row : {0x2400, 0x2500})
    for (uint16_t cell = 0x21; cell <= 0x76; cell += 3)
      alphabet.push_back(static_cast<uint16_t>(row | cell));
  std::mt19937 random(5);
  for (const uint8_t code : {0x90, 0x70, 0x91, 0x80, 0xFF}) {
    for (int option = 0; option < 0x40; ++option) {
      const IndexKindRow row{.code = code, .options = {static_cast<uint8_t>(option), 0, 0}};
      for (int i = 0; i < 20; ++i) {
        std::string key;
        for (int n = 1 + static_cast<int>(random() % 6); n > 0; --n) {
          const uint16_t c = alphabet[random() % alphabet.size()];
          key += {static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)};
        }
        ASSERT_EQ(Canonicalise(key, row, disk_),
                  mkbook::CanonicalIndexKey(key, code, static_cast<uint8_t>(option)))
            << "code " << int(code) << " option " << option;
      }
    }
  }
}

TEST_F(SearchKeyTest, MarkersAndClassesChooseTheIndex) {
  Have({0x80, 0x91, 0xA0, 0x50});
  EXPECT_EQ(Convert("+ねこ").flags, kLeadPlus | kKana);
  EXPECT_EQ(Convert("@@ねこ").flags, kDoubleAt | kKana);
  EXPECT_EQ(Convert("@ねこ").flags, kSingleAt | kKana);
  ExpectExact({{"ね+こ", "ね＋こ"}});
  EXPECT_FALSE(Prepare("@@ねこ").indexPresent);
  // @@ is chosen even when absent; @ has no compound slot loaded; no backward index.
  ExpectChosen({{"+ねこ", 0x80}, {"@@ねこ", 0x81}, {"@ねこ", 0x91}, {"123", 0xA0}});
  ExpectChosen({{"12A*", 0xA0}, {"漢字", 0x50}, {"漢字かな", 0x91}, {"*漢字", 0x91}});
  Have({0xFF, 0x71});
  ExpectChosen({{"@ねこ", 0xFF}, {"*漢字", 0x71}});
  disk_.subbook().indexes.ByCode(0x50).start = 0;
  disk_.subbook().specialTitle = true;
  ExpectChosen({{"漢字", 0x91}});
}

TEST_F(SearchKeyTest, PunctuationAndTheMinusSign) {
  Have({0x91, 0x80});
  ExpectCanonical({{"+漢・字", "漢・字"}});
  ExpectExact({{"Ａ−Ｂ", "Ａ‐Ｂ"}});  // alphabet, stored as a hyphen
  EXPECT_EQ(Convert("Ａ−Ｂ").flags, kAlpha);
  // Middle dots, apostrophes and hyphens of any width are dropped.
  ExpectCanonical(
      {{"漢・字'", "漢字"}, {"one-to-many", "ＯＮＥＴＯＭＡＮＹ"}, {"J-POP", "ＪＰＯＰ"}});
  ExpectCanonical(
      {{"Ｊ－ＰＯＰ", "ＪＰＯＰ"}, {"Ｊ‐ＰＯＰ", "ＪＰＯＰ"}, {"Ｊ−ＰＯＰ", "ＪＰＯＰ"}});
}

TEST_F(SearchKeyTest, HalfWidthKanaCombineKeysAreCutAndSingleByteBooksUseBytesUpperCased) {
  // ｳ is not in the combining ranges.
  ExpectExact({{"ﾊﾟﾝ", "パン"}, {"ｶﾞｺｳ", "ガコウ"}, {"ｳﾞ", "ウ゛"}, {"ｯ", "ッ"}});
  // 0xA1..0xAF and the next byte are a typed external-character code.
  EXPECT_EQ(Convert("ｯｺ").exact, "\xAF\xBA");
  EXPECT_EQ(Convert("ｯｺ").flags, kKanji);
  // Bytes without a JIS form are dropped.
  EXPECT_EQ(ConvertKey(disk_, "\x01" + S("漢") + "\x81").exact, J("漢"));
  std::string fifty, expected;
  for (int i = 0; i < 50; ++i) fifty += "漢";
  for (int i = 0; i < 39; ++i) expected += J("漢");
  EXPECT_EQ(Convert(fifty).exact, expected);
  disk_.decoderState().singleByteBook = true;
  EXPECT_EQ(ConvertKey(disk_, std::string(100, 'q')).exact, std::string(79, 'Q'));
  Have({0x92, 0x72});
  EXPECT_EQ(ConvertKey(disk_, "ab\xE9\xF7z").exact, "AB\xC9\xF7Z");
  const PreparedKey back = PrepareKey(disk_, "*abc");
  EXPECT_EQ(back.converted.keyId, 0x72);
  EXPECT_EQ(back.canonical, "CBA");
  EXPECT_EQ(ConvertKey(disk_, "12").flags, kDigit);
}

// ---- Query text -------------------------------------------------------------

TEST_F(SearchKeyTest, QueryTextQuotesWordsAndOperands) {
  EXPECT_EQ(QueryPrePass(S("ねこ　＊＋＠（）")), S("ねこ") + " *+@()");
  EXPECT_EQ(QueryPrePass(S("\"ね　こ'\"x'＊\"'")), S("ね　こ'x＊\""));
  EXPECT_EQ(QueryPrePass(S("ソ\"x\"")), S("ソ") + "x");
  // Words keep whole characters within their capacity.
  const std::string text = std::string(78, 'a') + S("漢") + "bc";
  std::string_view cursor = text;
  EXPECT_EQ(ReadToken(cursor).text, std::string(78, 'a') + "b");  // 漢 did not fit
  // The operand reader turns at signs into cross forms.
  const std::string operands = "  @" + S("ねこ") + " @@x @";
  cursor = operands;
  EXPECT_EQ(ReadOperand(disk_, cursor).text, "@@" + S("ねこ"));
  EXPECT_EQ(ReadOperand(disk_, cursor).text, "@@@x");
  EXPECT_EQ(ReadOperand(disk_, cursor).kind, QueryToken::kEnd);
  const std::string longWord = "@" + std::string(100, 'z');
  cursor = longWord;
  EXPECT_EQ(ReadOperand(disk_, cursor).text.size(), 79u);  // "@@" counts
}

}  // namespace
}  // namespace morva
