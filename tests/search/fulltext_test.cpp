// The full-text search: query evaluation, topics, progress, cancelling and
// resuming, the buffer's failure.
#include "engine/search/fulltext.h"

#include <gtest/gtest.h>

#include "engine/search/fulltext_query.h"
#include "engine/text/sjis.h"
#include "tests/support/book_test.h"

namespace morva {
namespace {

using testing::Bodies;
using testing::S;
using V = std::vector<BookAddress>;

// ---- Query evaluation ---------------------------------------------------------

TEST(FullTextQueryTest, OperatorsStrayPiecesCharacterBoundariesAndIndexConditions) {
  const std::tuple<const char*, const char*, bool> cases[] = {
      // query, text (folded as the topic reader stores it), whether it matches
      {"cat dog", "a cat and a dog", true},
      {"cat dog", "a cat alone", false},  // a b is a and b
      {"cat or dog not bird", "a dog", true},
      {"cat or dog not bird", "a dog and a bird", false},  // (a or b) and not c
      {"bird not cat or dog", "a bird and a dog and a cat", true},
      {"bird not (cat or dog)", "a bird and a dog", false},
      {"cat or (dog bird", "dog bird", true},  // an unclosed parenthesis runs to the end
      {"   ", "", true},                       // empty parts are true
      {"() cat", "cat", true},
      {"cat ) dog", "cat", true},  // a closing parenthesis ends the query
      {"cat and", "cat", true},    // an operator without operand is ignored
      {"not", "not here", true},   // an operator in the first place is a word
      {"\"and\"", "cat", false},   // a quoted operator is a word
      {"\"and\"", "this and that", true},
      {"\"a cat\"", "a dog cat", false},  // quoted blanks belong to the word
      {"\"\"", "x", true},                // an empty word is everywhere
      {"abc", "xABCx", true},             // the book test below checks widths, case and lines
      {"ねこ", "ネコ", false},            // nor kana folding
      {"xア", "Xア", true},               // letters compare folded, double-byte characters exactly
  };
  for (const auto& [query, text, matches] : cases) {
    EXPECT_EQ(FullTextQuery(S(query), false, false).Matches(SjisAsciiUpper(S(text))), matches)
        << query << " in " << text;
  }
  const FullTextQuery singleByte("\x83\x41", false, true);  // bytes, in a single-byte book
  EXPECT_TRUE(singleByte.Matches("x\x83\x83\x41"));
  // The value without any word: "not" first is the word "not".
  const std::pair<const char*, bool> empty[] = {
      {"cat", false}, {"not cat", false}, {"() not cat", true}, {"x or \"\"", true}, {"", true}};
  for (const auto& [query, value] : empty)
    EXPECT_EQ(FullTextQuery(S(query), false, false).MatchesWithoutWords(), value) << query;
  // Index conditions mark the words and stay below 128 bytes.
  EXPECT_EQ(BuildIndexConditionQuery(S("cat AND (dog or \"not\")"), false),
            "+cat and ( +dog or +not ) ");
  EXPECT_EQ(BuildIndexConditionQuery(S("\"\" 犬"), true), S("@犬 "));
  std::string typed;
  for (int i = 0; i < 30; ++i) typed += "word" + std::to_string(i % 10) + " ";
  const std::string query = BuildIndexConditionQuery(typed, false);
  EXPECT_EQ(query.size(), 18 * 7u);  // the 19th piece of 7 bytes would reach 133
  EXPECT_EQ(query.rfind("+word0 +word1 ", 0), 0u);
  // A word keeps at most 77 bytes, never half a character: "+", 40 + 18 * 2 bytes, " ".
  EXPECT_EQ(BuildIndexConditionQuery(
                S(std::string(40, 'x') + "あいうえおかきくけこさしすせそたちつてと"), false)
                .size(),
            78u);
}

// ---- Searching a book -------------------------------------------------------------

class FullTextSearchTest : public testing::BookTest {
 protected:
  // Writes the body; `info` is the book's section of the information file.
  void Write(const std::function<void(mkbook::BodyText&)>& write, const std::string& info = "") {
    mkbook::SubbookPages pages;
    mkbook::BodyText body({pages.NextFreePage(), 0});
    write(body);
    pages.AddSection(0x00, body.Bytes());
    testing::WriteVolume(Root(), {testing::Subbook("全文", "book", pages.Build())});
    if (!info.empty()) WriteInfo(S("[全文]\n" + info));
    books_ = {BookBarEntry{}, BookBarEntry{"F", Root(), "", 0, false}};
    disk_.ForgetCurrentSubbook();
    ASSERT_TRUE(disk_.SelectSubbook(1));
  }
  // Entries as the real books write them: indent, headword line, then lines
  // one step in. A topic begins at the entry's headword escape (the indent
  // before it still belongs to the topic before), the first at the body.
  void Entry(mkbook::BodyText& body, std::string_view headword,
             const std::vector<std::string>& lines) {
    const BookAddress at = body.Here();
    topics_.push_back(topics_.empty() ? at : BookAddress{at.page, at.offset + 4}.Normalised());
    body.Indent(1).Headword(headword).Newline();
    for (const std::string& line : lines) body.Indent(2).Text(line).Newline();
  }
  V Run(std::string_view query, bool matchCase = false) {
    FullTextSearch search(disk_, hits_);
    EXPECT_TRUE(search.Search(S(query), matchCase, "", progress_));
    return Bodies(hits_);
  }

  testing::RecordingProgress progress_;
  V topics_;
};

TEST_F(FullTextSearchTest, EveryTopicIsAnEntryAndTextIsComparedAsShown) {
  Write([this](mkbook::BodyText& b) {
    Entry(b, "あひる", {"水鳥の一種"});
    Entry(b, "いぬ", {"犬のこと"});
    Entry(b, "うし", {"牛のこと", "ｘｙ", "ｚｗ"});
    b.Indent(2).Narrow("Cow and Bull").Newline().Text("ＡＢＣ").Newline();
    Entry(b, "アヒル", {"cd"});
    b.EndText();
  });
  EXPECT_EQ(Run(""), topics_);
  EXPECT_EQ(hits_.Item(1).heading, topics_[1]);
  EXPECT_EQ(hits_.Item(1).book, 1);
  EXPECT_EQ(progress_.steps(), 4);
  const std::pair<const char*, V> cases[] = {
      {"のこと", {topics_[1], topics_[2]}},
      {"犬 or 水鳥 not 一種", {topics_[1]}},
      {"cow bull", {topics_[2]}},  // narrow text reads as ASCII
      {"ＡＢＣ", {topics_[2]}},
      {"abc", {}},  // no width folding
      {"ｘｙ", {topics_[2]}},
      {"ｙｚ", {}},  // not across a line break
      {"ｃｄ", {topics_[3]}},
      {"A", {topics_[2]}},  // "and", not the second byte of ア
  };
  for (const auto& [query, found] : cases) EXPECT_EQ(Run(query), found) << query;
  EXPECT_EQ(Run("cow", true), V{});  // case matters when asked
  EXPECT_EQ(Run("Cow", true), V{topics_[2]});
  // A resume before any search starts at the beginning; at the end it finds
  // nothing more. (The window's tests cancel and resume.)
  hits_.Empty();
  FullTextSearch search(disk_, hits_);
  ASSERT_TRUE(search.Resume(S("のこと"), false, progress_));
  EXPECT_EQ(Bodies(hits_), (V{topics_[1], topics_[2]}));
  ASSERT_TRUE(search.Resume(S("のこと"), false, progress_));
  EXPECT_EQ(search.HitCount(), 2);
  EXPECT_TRUE(reporter_.boxes().empty());
  // Without a body index there are no topics.
  IndexKindRow& body = disk_.subbook().indexes.ByCode(0x00);
  body.start = body.end = 0;
  EXPECT_EQ(Run(""), V{});
}

TEST_F(FullTextSearchTest, TopicsEndAsTheBookSays) {
  const std::pair<const char*, std::vector<std::pair<const char*, size_t>>> books[] = {
      // The end of text ends a topic; the next begins after it.
      {"", {{"二 甲 乙", 1}, {"丙 三", 1}, {"", 2}}},
      // The second headword line begins a topic.
      {"nEnd=0\n", {{"乙 丙", 1}, {"丙 三", 0}, {"", 2}}},
      {"nCol1=2\nnEnd=0\n", {{"", 4}}},  // each line begun with text begins a topic
      {"nTab1=2\nnEnd=0\n", {{"", 4}}},  // so does each level-0 indent
  };
  for (const auto& [info, cases] : books) {
    Write(
        [](mkbook::BodyText& b) {
          // Two headwords on one line count once; all lines at level 0.
          b.Indent(1).Headword("一").Headword("二").Newline();
          b.Indent(1).Text("甲").Newline();
          b.Indent(1).Text("乙").EndText().Text("丙").Newline();
          b.Indent(1).Headword("三").Newline();
        },
        info);
    for (const auto& [query, topics] : cases) EXPECT_EQ(Run(query).size(), topics) << info << query;
  }
  EXPECT_TRUE(reporter_.boxes().empty());
}

TEST_F(FullTextSearchTest, BufferFailuresAreWarnings) {
  Write([this](mkbook::BodyText& b) {
    Entry(b, "あ", {"短い"});
    std::string longLine;
    for (int i = 0; i < 12000; ++i) longLine += "長";
    Entry(b, "い", {longLine});
    Entry(b, "う", {"短い"});
    b.EndText();
  });
  FullTextSearch search(disk_, hits_);
  search.LimitBufferCapacity(1000);
  EXPECT_FALSE(search.Search(S("短い"), false, "", progress_));
  EXPECT_EQ(progress_.steps(), 0);
  EXPECT_EQ(reporter_.Last(testing::RecordedBox::kWarning),
            "全文検索用のバッファを確保できません。");
  reporter_.Clear();
  search.LimitBufferCapacity(20000);  // the long topic needs 24,000 bytes
  EXPECT_TRUE(search.Search(S("短い or 長い"), false, "", progress_));
  EXPECT_EQ(Bodies(hits_), V{topics_[0]});  // the scan ended at the long topic
  EXPECT_EQ(reporter_.Count(testing::RecordedBox::kWarning), 1);
  search.LimitBufferCapacity(0);
  EXPECT_TRUE(search.Search(S("短い or 長い"), false, "", progress_));
  EXPECT_EQ(hits_.Count(), 2);
}

}  // namespace
}  // namespace morva
