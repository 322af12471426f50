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

class SearchKeyTest : public testing::BookTest {
 protected:
  void Have(std::initializer_list<uint8_t> codes) {
    for (uint8_t c : codes) disk_.subbook().indexes.ByCode(c).start = 10;
  }
  ConvertedKey Convert(std::string_view utf8) { return ConvertKey(disk_, S(utf8)); }
  PreparedKey Prepare(std::string_view utf8) { return PrepareKey(disk_, S(utf8)); }
  uint8_t Chosen(std::string_view utf8) { return Convert(utf8).keyId; }
};

// ---- Conversion and the choice of index -------------------------------------

TEST_F(SearchKeyTest, LettersMeetInTheAlphabetIndex) {
  Have({0x92, 0x91});
  disk_.subbook().volumeKind = 1;  // a "catalog" volume upper-cases ａ-ｚ while converting
  for (const char* typed : {"ＡＢＣ", "abc", "ａｂｃ"}) {
    EXPECT_EQ(Convert(typed).exact, J("ＡＢＣ")) << typed;
    EXPECT_EQ(Chosen(typed), 0x92) << typed;
  }
  disk_.subbook().volumeKind = 0;  // elsewhere the index's option byte decides
  EXPECT_EQ(Convert("abc").exact, J("ａｂｃ"));
  EXPECT_EQ(Prepare("abc").canonical, J("ＡＢＣ"));
  disk_.subbook().indexes.ByCode(0x92).options[0] = 0x10;
  EXPECT_EQ(Prepare("abc").canonical, J("ａｂｃ"));
}

TEST_F(SearchKeyTest, StarsChooseDirectionAndPrefixMatching) {
  Have({0x90, 0x70, 0x91, 0x71});
  disk_.info().zenpo = false;
  const PreparedKey back = Prepare("*ねこ");
  EXPECT_EQ(back.converted.keyId, 0x70);
  EXPECT_EQ(back.converted.flags, kLeadStar | kKana);
  EXPECT_EQ(back.canonical, J("こね"));
  EXPECT_EQ(back.exact, J("こね"));
  EXPECT_EQ(back.mode, MatchMode::kPrefix);
  const PreparedKey forward = Prepare("ねこ*");
  EXPECT_EQ(forward.converted.keyId, 0x90);
  EXPECT_EQ(forward.canonical, J("ねこ"));
  EXPECT_EQ(forward.mode, MatchMode::kPrefix);
  EXPECT_EQ(Prepare("ねこ").mode, MatchMode::kExact);
  // Inside a word a star is an ordinary character.
  EXPECT_EQ(Convert("ね＊こ").exact, J("ね＊こ"));
  EXPECT_EQ(Chosen("ね＊こ"), 0x91);
  // Kana prefer the forward kana index over the backward notation index.
  disk_.subbook().indexes.ByCode(0x70).start = 0;
  EXPECT_EQ(Chosen("*ねこ"), 0x90);
  disk_.subbook().indexes.ByCode(0x90).start = 0;
  EXPECT_EQ(Chosen("*ねこ"), 0x71);
}

TEST_F(SearchKeyTest, KanaIndexesFoldKanaButTheExactKeyKeepsThem) {
  Have({0x90});
  const PreparedKey k = Prepare("がっこう");
  EXPECT_EQ(k.canonical, J("かつこう"));
  EXPECT_EQ(k.exact, J("がっこう"));
  EXPECT_EQ(Prepare("ガッコウ").canonical, J("かつこう"));
  EXPECT_EQ(Prepare("コーヒー").canonical, J("こおひい"));
  EXPECT_EQ(Prepare("ハーー").canonical, J("はああ"));
  disk_.subbook().indexes.ByCode(0x90).options[0] = 0x02;  // long-vowel marks dropped
  EXPECT_EQ(Prepare("コーヒー").canonical, J("こひ"));
  disk_.subbook().specialTitle = true;  // ... except in the special title
  EXPECT_EQ(Prepare("コーヒー").canonical, J("こおひい"));
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
      IndexKindRow row;
      row.code = code;
      row.options = {static_cast<uint8_t>(option), 0, 0};
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

TEST_F(SearchKeyTest, HalfWidthKanaCombineWithTheirVoicingMarks) {
  EXPECT_EQ(Convert("ﾊﾟﾝ").exact, J("パン"));
  EXPECT_EQ(Convert("ｶﾞｺｳ").exact, J("ガコウ"));
  EXPECT_EQ(Convert("ｳﾞ").exact, J("ウ゛"));  // ｳ is not in the combining ranges
  // 0xA1..0xAF and the next byte are a typed external-character code.
  EXPECT_EQ(Convert("ｯｺ").exact, "\xAF\xBA");
  EXPECT_EQ(Convert("ｯｺ").flags, kKanji);
  EXPECT_EQ(Convert("ｯ").exact, J("ッ"));
  // Bytes without a JIS form are dropped.
  EXPECT_EQ(ConvertKey(disk_, "\x01" + S("漢") + "\x81").exact, J("漢"));
}

TEST_F(SearchKeyTest, MarkersAndClassesChooseTheIndex) {
  Have({0x80, 0x91, 0xA0, 0x50});
  EXPECT_EQ(Convert("+ねこ").flags, kLeadPlus | kKana);
  EXPECT_EQ(Chosen("+ねこ"), 0x80);
  EXPECT_EQ(Convert("ね+こ").exact, J("ね＋こ"));
  EXPECT_EQ(Convert("@@ねこ").flags, kDoubleAt | kKana);
  EXPECT_EQ(Chosen("@@ねこ"), 0x81);  // chosen even when absent
  EXPECT_FALSE(Prepare("@@ねこ").indexPresent);
  EXPECT_EQ(Convert("@ねこ").flags, kSingleAt | kKana);
  EXPECT_EQ(Chosen("@ねこ"), 0x91);  // no compound slot loaded
  EXPECT_EQ(Chosen("123"), 0xA0);
  EXPECT_EQ(Chosen("12A*"), 0xA0);
  EXPECT_EQ(Chosen("漢字"), 0x50);
  EXPECT_EQ(Chosen("漢字かな"), 0x91);
  EXPECT_EQ(Chosen("*漢字"), 0x91);  // no backward index
  Have({0xFF, 0x71});
  EXPECT_EQ(Chosen("@ねこ"), 0xFF);
  EXPECT_EQ(Chosen("*漢字"), 0x71);
  disk_.subbook().indexes.ByCode(0x50).start = 0;
  disk_.subbook().specialTitle = true;
  EXPECT_EQ(Chosen("漢字"), 0x91);
}

TEST_F(SearchKeyTest, PunctuationAndTheMinusSign) {
  Have({0x91, 0x80});
  EXPECT_EQ(Prepare("+漢・字").canonical, J("漢・字"));
  EXPECT_EQ(Convert("Ａ−Ｂ").exact, J("Ａ‐Ｂ"));  // alphabet, stored as a hyphen
  EXPECT_EQ(Convert("Ａ−Ｂ").flags, kAlpha);
  // Middle dots, apostrophes and hyphens of any width are dropped.
  for (const auto& [typed, canonical] :
       std::vector<std::pair<const char*, const char*>>{{"漢・字'", "漢字"},
                                                        {"one-to-many", "ＯＮＥＴＯＭＡＮＹ"},
                                                        {"J-POP", "ＪＰＯＰ"},
                                                        {"Ｊ－ＰＯＰ", "ＪＰＯＰ"},
                                                        {"Ｊ‐ＰＯＰ", "ＪＰＯＰ"},
                                                        {"Ｊ−ＰＯＰ", "ＪＰＯＰ"}}) {
    EXPECT_EQ(Prepare(typed).canonical, J(canonical)) << typed;
  }
}

TEST_F(SearchKeyTest, DollarPrefixNamesTheIndex) {
  Have({0x90, 0x91, 0x50});
  disk_.info().zenpo = false;
  const PreparedKey k = Prepare("$91ねこ");
  EXPECT_EQ(k.converted.keyId, 0x91);
  EXPECT_EQ(k.mode, MatchMode::kPrefix);
  EXPECT_EQ(k.exact, J("ねこ"));
  EXPECT_EQ(Prepare("$50ねこ").mode, MatchMode::kExact);
  EXPECT_EQ(Chosen("$00ねこ"), 0x90);                 // 0 is no code
  EXPECT_EQ(Convert("$xねこ").exact, J("＄ｘねこ"));  // no hexadecimal digits: a character
  EXPECT_FALSE(Prepare("$33ねこ").indexPresent);      // a code the table does not know
}

TEST_F(SearchKeyTest, KeysAreCutAtTheirCapacity) {
  std::string fifty, expected;
  for (int i = 0; i < 50; ++i) fifty += "漢";
  for (int i = 0; i < 39; ++i) expected += J("漢");
  EXPECT_EQ(Convert(fifty).exact, expected);
  disk_.decoderState().singleByteBook = true;
  EXPECT_EQ(ConvertKey(disk_, std::string(100, 'q')).exact, std::string(79, 'Q'));
}

TEST_F(SearchKeyTest, SingleByteBooksUseBytesUpperCased) {
  disk_.decoderState().singleByteBook = true;
  Have({0x92, 0x72});
  EXPECT_EQ(ConvertKey(disk_, "ab\xE9\xF7z").exact, "AB\xC9\xF7Z");
  const PreparedKey back = PrepareKey(disk_, "*abc");
  EXPECT_EQ(back.converted.keyId, 0x72);
  EXPECT_EQ(back.canonical, "CBA");
  EXPECT_EQ(ConvertKey(disk_, "12").flags, kDigit);
}

// ---- Query text -------------------------------------------------------------

std::vector<QueryToken::Kind> Kinds(std::string_view text, std::vector<std::string>* words) {
  std::vector<QueryToken::Kind> kinds;
  for (;;) {
    const QueryToken t = ReadToken(text);
    kinds.push_back(t.kind);
    if (t.kind == QueryToken::kWord) words->push_back(t.text);
    if (t.kind == QueryToken::kEnd) return kinds;
  }
}

TEST(QueryTokenTest, OperatorsParenthesesAndQuotedWords) {
  using K = QueryToken::Kind;
  std::vector<std::string> words;
  EXPECT_EQ(
      Kinds("cat and (dog or not)", &words),
      (std::vector<K>{K::kWord, K::kAnd, K::kOpen, K::kWord, K::kOr, K::kNot, K::kClose, K::kEnd}));
  EXPECT_EQ(Kinds("\"and\" AnD \"two words\"(x \"y)", &words),
            (std::vector<K>{K::kWord, K::kAnd, K::kWord, K::kOpen, K::kWord, K::kWord, K::kClose,
                            K::kEnd}));
  EXPECT_EQ(words, (std::vector<std::string>{"cat", "dog", "and", "two words", "x", "y"}));
}

TEST(QueryTokenTest, WordsKeepWholeCharactersWithinCapacity) {
  const std::string text = std::string(78, 'a') + S("漢") + "bc";
  std::string_view cursor = text;
  EXPECT_EQ(ReadToken(cursor).text, std::string(78, 'a') + "b");  // 漢 did not fit
  const std::string kanji = S("漢字");
  cursor = kanji;
  EXPECT_EQ(ReadToken(cursor, 4).text, S("漢"));
}

TEST(QueryPrePassTest, QuotesAreDroppedAndFullWidthMarkersBecomeAscii) {
  EXPECT_EQ(QueryPrePass(S("ねこ　＊＋＠（）")), S("ねこ") + " *+@()");
  EXPECT_EQ(QueryPrePass(S("\"ね　こ'\"x'＊\"'")), S("ね　こ'x＊\""));
  EXPECT_EQ(QueryPrePass(S("ソ\"x\"")), S("ソ") + "x");
}

TEST_F(SearchKeyTest, OperandReaderTurnsAtSignsIntoCrossForms) {
  const std::string text = "  @" + S("ねこ") + " @@x @";
  std::string_view cursor = text;
  EXPECT_EQ(ReadOperand(disk_, cursor).text, "@@" + S("ねこ"));
  EXPECT_EQ(ReadOperand(disk_, cursor).text, "@@@x");
  EXPECT_EQ(ReadOperand(disk_, cursor).kind, QueryToken::kEnd);
  const std::string longWord = "@" + std::string(100, 'z');
  cursor = longWord;
  EXPECT_EQ(ReadOperand(disk_, cursor).text.size(), 79u);  // "@@" counts
}

}  // namespace
}  // namespace morva
