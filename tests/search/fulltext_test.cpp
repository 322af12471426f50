// The full-text search: query evaluation, topics, progress, cancelling and
// resuming, the start found through an index, the buffer's failure.
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

bool Matches(std::string_view query, std::string_view text, bool matchCase = false) {
  const FullTextQuery q(S(query), matchCase, false);
  std::string folded = S(text);
  if (!matchCase) folded = SjisAsciiUpper(folded);  // as the topic reader stores it
  return q.Matches(folded);
}

// ---- Query evaluation ---------------------------------------------------------

TEST(FullTextQueryTest, OperatorsGoLeftToRightWithParenthesesFirst) {
  EXPECT_TRUE(Matches("cat dog", "a cat and a dog"));
  EXPECT_FALSE(Matches("cat dog", "a cat alone"));  // a b is a and b
  EXPECT_TRUE(Matches("cat or dog not bird", "a dog"));
  EXPECT_FALSE(Matches("cat or dog not bird", "a dog and a bird"));  // (a or b) and not c
  EXPECT_TRUE(
      Matches("bird not cat or dog", "a bird and a dog and a cat"));  // ((bird not cat) or dog)
  EXPECT_FALSE(Matches("bird not (cat or dog)", "a bird and a dog"));
  EXPECT_TRUE(Matches("bird (cat or dog)", "bird dog"));
  EXPECT_TRUE(Matches("cat or (dog bird", "dog bird"));  // an unclosed parenthesis runs to the end
}

TEST(FullTextQueryTest, EmptyPartsAreTrueAndStrayPiecesAreHarmless) {
  EXPECT_TRUE(Matches("", "anything"));
  EXPECT_TRUE(Matches("   ", ""));
  EXPECT_TRUE(Matches("() cat", "cat"));
  EXPECT_TRUE(Matches("cat ) dog", "cat"));  // a closing parenthesis ends the query
  EXPECT_TRUE(Matches("cat and", "cat"));    // an operator without operand is ignored
  EXPECT_TRUE(Matches("not", "not here"));   // an operator in the first place is a word
  EXPECT_FALSE(Matches("\"and\"", "cat"));   // a quoted operator is a word
  EXPECT_TRUE(Matches("\"and\"", "this and that"));
  EXPECT_TRUE(Matches("\"\"", "x"));  // an empty word is everywhere
}

TEST(FullTextQueryTest, CaseFoldingAndCharacterBoundaries) {
  EXPECT_TRUE(Matches("abc", "xABCx"));
  EXPECT_FALSE(Matches("abc", "xABCx", true));
  EXPECT_TRUE(Matches("ABC", "xABCx", true));
  EXPECT_FALSE(Matches("abc", "ＡＢＣ"));  // no width folding
  EXPECT_FALSE(Matches("ねこ", "ネコ"));   // nor kana folding
  // ア is 0x83 0x41: its second byte is no "A".
  EXPECT_FALSE(Matches("A", "ア"));
  EXPECT_TRUE(Matches("A", "アA"));
  // A word's letters compare folded, its double-byte characters exactly.
  EXPECT_TRUE(Matches("xア", "Xア"));
  EXPECT_FALSE(Matches("ab", "a\nb"));
  const FullTextQuery singleByte(
      "\x83"
      "A",
      false, true);  // bytes, in a single-byte book
  EXPECT_TRUE(
      singleByte.Matches("\x83"
                         "A"));
  EXPECT_TRUE(
      singleByte.Matches("x\x83\x83"
                         "A"));
}

TEST(FullTextQueryTest, ValueWithoutAnyWord) {
  EXPECT_FALSE(FullTextQuery(S("cat"), false, false).MatchesWithoutWords());
  EXPECT_FALSE(
      FullTextQuery(S("not cat"), false, false).MatchesWithoutWords());  // the word "not", and cat
  EXPECT_TRUE(FullTextQuery(S("() not cat"), false, false).MatchesWithoutWords());
  EXPECT_TRUE(FullTextQuery(S("x or \"\""), false, false).MatchesWithoutWords());
  EXPECT_TRUE(FullTextQuery(S(""), false, false).MatchesWithoutWords());
}

// ---- Index condition queries ----------------------------------------------------

TEST(IndexConditionQueryTest, WordsGetTheIndexMarkAndOperatorsStay) {
  EXPECT_EQ(BuildIndexConditionQuery(S("cat dog"), false), "+cat +dog ");
  EXPECT_EQ(BuildIndexConditionQuery(S("cat dog"), true), "@cat @dog ");
  EXPECT_EQ(BuildIndexConditionQuery(S("cat AND (dog or \"not\")"), false),
            "+cat and ( +dog or +not ) ");
  EXPECT_EQ(BuildIndexConditionQuery(S("\"\" 犬"), true), S("@犬 "));
  EXPECT_EQ(BuildIndexConditionQuery("", false), "");
}

TEST(IndexConditionQueryTest, QueriesStayBelow128Bytes) {
  std::string typed;
  for (int i = 0; i < 30; ++i) typed += "word" + std::to_string(i % 10) + " ";
  const std::string query = BuildIndexConditionQuery(typed, false);
  EXPECT_EQ(query.size(), 18 * 7u);  // the 19th piece of 7 bytes would reach 133
  EXPECT_EQ(query.rfind("+word0 +word1 ", 0), 0u);
  // A word keeps at most 77 bytes, never half a character.
  const std::string longWord = BuildIndexConditionQuery(
      S(std::string(40, 'x') + "あいうえおかきくけこさしすせそたちつてと"), false);
  EXPECT_EQ(longWord.size(), 78u);  // "+", 40 + 18 * 2 bytes of whole characters, " "
}

// ---- Searching a book -------------------------------------------------------------

class FullTextBookTest : public testing::BookTest {
 protected:
  using BodyWriter = std::function<void(mkbook::BodyText&)>;

  // Writes the body; the keys that `write` puts into keys_ (UTF-8 key, body
  // address) make a forward notation index (0x91). `info` is the book's
  // section of a per-book information file.
  void Write(const BodyWriter& write, const std::string& info = "") {
    mkbook::SubbookPages pages;
    mkbook::BodyText body({pages.NextFreePage(), 0});
    keys_.clear();
    write(body);
    bodyStart_ = body.Start();
    pages.AddSection(0x00, body.Bytes());
    if (!keys_.empty()) {
      std::vector<mkbook::TreeEntry> index;
      for (const auto& [key, at] : keys_) index.push_back({testing::J(key), at, at});
      pages.AddSection(0x91, mkbook::BuildIndexTree(index, pages.NextFreePage()).pages);
    }
    testing::WriteVolume(dir_.path() / "vol", {testing::Subbook("全文", "book", pages.Build())});
    if (!info.empty()) {
      testing::WriteFile(dir_ / "info.dat", testing::S("[全文]\n" + info));
      disk_.settings().dicInfoPath = (dir_ / "info.dat").string();
    }
    books_ = {BookBarEntry{}, BookBarEntry{"F", (dir_.path() / "vol").string(), "", 0, false}};
    disk_.ForgetCurrentSubbook();
    ASSERT_TRUE(disk_.SelectSubbook(1));
  }

  // An entry as the real books write them: indent, headword line, then lines
  // one step in. Returns where it begins.
  static BookAddress Entry(mkbook::BodyText& body, std::string_view headword,
                           const std::vector<std::string>& lines) {
    const BookAddress at = body.Here();
    body.Indent(1).Headword(headword).Newline();
    for (const std::string& line : lines) body.Indent(2).Text(line).Newline();
    return at;
  }
  // Where the topic of an entry begins: at its headword escape (the indent
  // before it still belongs to the topic before).
  static BookAddress TopicOf(BookAddress entry) {
    return BookAddress{entry.page, entry.offset + 4}.Normalised();
  }

  testing::RecordingProgress progress_;
  BookAddress bodyStart_;
  std::vector<std::pair<std::string, BookAddress>> keys_;
};

class FullTextSearchTest : public FullTextBookTest {
 protected:
  V Run(std::string_view query, bool matchCase = false, std::string_view presearch = "") {
    FullTextSearch search(disk_, hits_);
    EXPECT_TRUE(search.Search(S(query), matchCase, S(presearch), progress_));
    return Bodies(hits_);
  }
  std::vector<BookAddress> entries_;
};

TEST_F(FullTextSearchTest, EveryTopicIsAnEntryAndEmptyQueriesMatchThemAll) {
  Write([this](mkbook::BodyText& b) {
    entries_.push_back(Entry(b, "あひる", {"水鳥の一種"}));
    entries_.push_back(Entry(b, "いぬ", {"犬のこと"}));
    entries_.push_back(Entry(b, "うし", {"牛のこと"}));
    b.EndText();
  });
  // The first topic starts at the body's start, the others at their
  // headword escapes (the indent before belongs to the topic before).
  const V topics{entries_[0], FullTextBookTest::TopicOf(entries_[1]),
                 FullTextBookTest::TopicOf(entries_[2])};
  EXPECT_EQ(Run(""), topics);
  EXPECT_EQ(hits_.Item(1).heading, topics[1]);
  EXPECT_EQ(hits_.Item(1).book, 1);
  EXPECT_EQ(progress_.caption(), S("全文検索中(3件該当)"));
  EXPECT_EQ(progress_.maximum(), 1000);
  EXPECT_EQ(progress_.steps(), 3);
  EXPECT_FALSE(progress_.open());
  EXPECT_EQ(Run("のこと"), (V{topics[1], topics[2]}));
  EXPECT_EQ(Run("犬 or 水鳥 not 一種"), V{topics[1]});
  EXPECT_TRUE(reporter_.boxes().empty());
}

TEST_F(FullTextSearchTest, TextIsComparedAsShown) {
  Write([this](mkbook::BodyText& b) {
    entries_.push_back(Entry(b, "うし", {"ｘｙ", "ｚｗ"}));
    b.Indent(2).Narrow("Cow and Bull").Newline().Text("ＡＢＣ").Newline();
    entries_.push_back(Entry(b, "アヒル", {"cd"}));
    b.EndText();
  });
  const BookAddress second = FullTextBookTest::TopicOf(entries_[1]);
  EXPECT_EQ(Run("cow bull"), V{entries_[0]});  // narrow text reads as ASCII
  EXPECT_EQ(Run("cow", true), V{});            // case matters when asked
  EXPECT_EQ(Run("Cow", true), V{entries_[0]});
  EXPECT_EQ(Run("ＡＢＣ"), V{entries_[0]});
  EXPECT_EQ(Run("abc"), V{});  // no width folding
  EXPECT_EQ(Run("ｘｙ"), V{entries_[0]});
  EXPECT_EQ(Run("ｙｚ"), V{});  // not across a line break
  EXPECT_EQ(Run("ｃｄ"), V{second});
  EXPECT_EQ(Run("A"), V{entries_[0]});  // "and", not the second byte of ア
}

TEST_F(FullTextSearchTest, CancelKeepsTheHitsAndResumeGoesOn) {
  Write([this](mkbook::BodyText& b) {
    for (const char* h : {"あ", "い", "う", "え", "お"}) entries_.push_back(Entry(b, h, {"共通"}));
    b.EndText();
  });
  FullTextSearch search(disk_, hits_);
  progress_.cancelAfterSteps = 2;
  ASSERT_TRUE(search.Search(S("共通"), false, "", progress_));
  EXPECT_EQ(hits_.Count(), 2);
  EXPECT_EQ(search.HitCount(), 2);
  EXPECT_FALSE(progress_.open());
  progress_.cancelAfterSteps = -1;
  ASSERT_TRUE(search.Resume(S("共通"), false, progress_));
  EXPECT_EQ(hits_.Count(), 5);
  EXPECT_EQ(search.HitCount(), 5);
  EXPECT_EQ(progress_.caption(), S("全文検索中(5件該当)"));
  EXPECT_EQ(hits_.Item(2).body, FullTextBookTest::TopicOf(entries_[2]));
  // Resuming at the end finds nothing more.
  ASSERT_TRUE(search.Resume(S("共通"), false, progress_));
  EXPECT_EQ(search.HitCount(), 5);
  // A resume before any search starts at the beginning.
  hits_.Empty();
  FullTextSearch fresh(disk_, hits_);
  ASSERT_TRUE(fresh.Resume(S("共通"), false, progress_));
  EXPECT_EQ(fresh.HitCount(), 5);
}

TEST_F(FullTextSearchTest, AnIndexSearchCanGiveTheStart) {
  Write([this](mkbook::BodyText& b) {
    for (const char* h : {"あ", "い", "う"}) {
      keys_.push_back({h, b.Here()});
      entries_.push_back(Entry(b, h, {"共通"}));
    }
    b.EndText();
  });
  // The start is the entry's body address, so the first topic holds the
  // headword escape; the topics after it are as before.
  EXPECT_EQ(Run("共通", false, "い"), (V{entries_[1], FullTextBookTest::TopicOf(entries_[2])}));
  EXPECT_EQ(Run("共通", false, "ん"), (V{entries_[0], FullTextBookTest::TopicOf(entries_[1]),
                                         FullTextBookTest::TopicOf(entries_[2])}));
  EXPECT_TRUE(reporter_.boxes().empty());
}

TEST_F(FullTextSearchTest, TopicsEndAsTheBookSays) {
  auto write = [this](const std::string& info) {
    Write(
        [](mkbook::BodyText& b) {
          // Two headwords on one line count once; all lines at level 0.
          b.Indent(1).Headword("一").Headword("二").Newline();
          b.Indent(1).Text("甲").Newline();
          b.Indent(1).Text("乙").EndText().Text("丙").Newline();
          b.Indent(1).Headword("三").Newline();
        },
        info);
  };
  write("");
  // The end of text ends a topic; the next begins after it.
  EXPECT_EQ(Run("二 甲 乙").size(), 1u);
  EXPECT_EQ(Run("丙 三").size(), 1u);
  EXPECT_EQ(Run("").size(), 2u);
  write("nEnd=0\n");
  EXPECT_EQ(Run("乙 丙").size(), 1u);
  EXPECT_EQ(Run("丙 三").size(), 0u);  // the second headword line begins a topic
  EXPECT_EQ(Run("").size(), 2u);
  write("nCol1=2\nnEnd=0\n");
  EXPECT_EQ(Run("").size(), 4u);  // each line begun with text begins a topic
  write("nTab1=2\nnEnd=0\n");
  EXPECT_EQ(Run("").size(), 4u);  // so does each level-0 indent
  EXPECT_TRUE(reporter_.boxes().empty());
}

TEST_F(FullTextSearchTest, BufferFailuresAreWarnings) {
  Write([this](mkbook::BodyText& b) {
    entries_.push_back(Entry(b, "あ", {"短い"}));
    std::string longLine;
    for (int i = 0; i < 12000; ++i) longLine += "長";
    entries_.push_back(Entry(b, "い", {longLine}));
    entries_.push_back(Entry(b, "う", {"短い"}));
    b.EndText();
  });
  {
    FullTextSearch search(disk_, hits_);
    search.LimitBufferCapacity(1000);
    EXPECT_FALSE(search.Search(S("短い"), false, "", progress_));
    EXPECT_EQ(progress_.steps(), 0);
  }
  EXPECT_EQ(reporter_.Last(testing::RecordedBox::kWarning),
            "全文検索用のバッファを確保できません。");
  reporter_.Clear();
  FullTextSearch search(disk_, hits_);
  search.LimitBufferCapacity(20000);  // the long topic needs 24,000 bytes
  EXPECT_TRUE(search.Search(S("短い or 長い"), false, "", progress_));
  EXPECT_EQ(Bodies(hits_), V{entries_[0]});  // the scan ended at the long topic
  EXPECT_EQ(reporter_.Count(testing::RecordedBox::kWarning), 1);
  search.LimitBufferCapacity(0);
  EXPECT_TRUE(search.Search(S("短い or 長い"), false, "", progress_));
  EXPECT_EQ(hits_.Count(), 2);
}

TEST_F(FullTextSearchTest, BookWithoutBodyIndexHasNoTopics) {
  Write([](mkbook::BodyText& b) { b.Text("何か"); });
  disk_.subbook().indexes.ByCode(0x00).start = 0;
  disk_.subbook().indexes.ByCode(0x00).end = 0;
  EXPECT_EQ(Run(""), V{});
  EXPECT_EQ(progress_.steps(), 0);
}

}  // namespace
}  // namespace morva
