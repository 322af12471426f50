// The main window's search session on a real book and its rules for
// rewriting words; the start-up request and the book it names.
#include "app/main_window/search_session.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "app/main_window/word_rules.h"
#include "app/startup/startup_request.h"
#include "engine/book/book_info.h"
#include "engine/book/tdisk.h"
#include "engine/book/text_utils.h"
#include "engine/search/wordlist.h"
#include "engine/text/unicode.h"
#include "tests/support/recording_reporter.h"
#include "tests/support/test_dirs.h"

namespace morva {
namespace {

using testing::RecordingReporter;
using testing::TempDir;

constexpr int kBook = 1;

class SearchSessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MORVA_REQUIRE_SHARED_BOOKS();
    bar_ = {BookBarEntry{}, {"E", (testing::SharedBooks() / "edict-small").string(), "", 0, true}};
    disk_.SetBookList(&bar_);
    disk_.settings().dicInfoPath = (dir_ / "info.dat").string();
    ASSERT_TRUE(disk_.SelectSubbook(kBook));
    title_ = disk_.subbook().title;
    session_.bookSlot() = kBook;
  }

  // The book's section of the information file, lines in UTF-8.
  void UseInfo(const std::string& lines) {
    testing::WriteFile(dir_ / "info.dat", "[" + title_ + "]\n" + Utf8ToSjis(lines));
    disk_.ForgetCurrentSubbook();
  }

  RecordingReporter reporter_;
  TempDir dir_;
  BookBar bar_;
  TDisk disk_{reporter_};
  Wordlist list_{reporter_};
  SearchSession session_{disk_, list_, bar_};
  std::string title_;
};

TEST_F(SearchSessionTest, EndingRulesRetryUntilFoundAndStop) {
  const std::string notFound = Utf8ToSjis("該当項目なし");
  struct Case {
    const char* endings;
    const char* word;
    const char* last;  // the word tried last
    std::vector<std::string> retried;
    bool found;
  } cases[] = {
      {"ENDING1=zz,\n", "water", "water", {}, true},
      {"ENDING1=zz,\n", "waterzz", "water", {"water"}, true},
      // A trailing star goes before the rules apply.
      {"ENDING1=zz,\n", "waterzz*", "water", {"water"}, true},
      // A rule names the set tried after a further miss; ? keeps its letter.
      {"ENDING1=xq,zq,2\nENDING2=?q,\n", "waterxq", "water", {"waterzq", "water"}, true},
      // Rules naming one another in a circle end after a bounded number of
      // tries with nothing found.
      {"ENDING1=qa,qb,2\nENDING2=qb,qa,1\n", "zzqa", "zzqa", {}, false},
      // Words with anything but letters are never rewritten.
      {"ENDING1=zz,\n", "water1zz", "water1zz", {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.word);
    UseInfo(c.endings);
    std::vector<std::string> retried;
    const SearchSession::Outcome outcome =
        session_.Search(c.word, kBook, [&](const std::string& word) { retried.push_back(word); });
    EXPECT_EQ(outcome.word, c.last);
    EXPECT_EQ(!list_.IsEmpty(), c.found);
    EXPECT_EQ(outcome.status == notFound, !c.found) << SjisToUtf8(outcome.status);
    if (std::string(c.word) == "zzqa") {
      EXPECT_EQ(retried.size(), static_cast<size_t>(SearchSession::kMaxTries));
    } else {
      EXPECT_EQ(retried, c.retried);
    }
  }
  // The session's own word keeps the word tried last.
  UseInfo("ENDING1=zz,\n");
  session_.SetWord("waterzz");
  session_.SearchWord(kBook);
  EXPECT_EQ(session_.word(), "water");
}

std::array<std::string, 10> Sets(std::initializer_list<std::pair<int, const char*>> sets) {
  std::array<std::string, 10> out{};
  for (const auto& [n, text] : sets) out[static_cast<size_t>(n)] = text;
  return out;
}

// The first matching rule of a set rewrites the word and names the next set
// (-1: none). Endings compare without case; "?" matches one letter, the same
// letter everywhere in the ending; an empty ending matches every word; only
// words of letters and apostrophes are rewritten.
TEST(EndingRules, FirstMatchingRuleRewritesTheWord) {
  const auto sets = Sets({{0, ",e"}, {1, "ies,y,2;s,;ed,,3"}, {2, "??ing,?;??ed,?,0"}, {3, ",s"}});
  const struct {
    int set;
    std::string word;
    const char* after;  // nullptr: not rewritten
    int next;
  } cases[] = {
      {1, "Puppies", "Puppy", 2}, {1, "cats", "cat", -1},       {1, "WALKED", "WALK", 3},
      {1, "dog", nullptr, 0},     {2, "running", "run", -1},    {2, "walking", nullptr, 0},
      {2, "stoPped", "stoP", -1}, {0, "hop", "hope", -1},       {3, "o'clock", "o'clocks", -1},
      {3, "abc1", nullptr, 0},    {3, "two words", nullptr, 0}, {3, Sjis("ねこ"), nullptr, 0},
      {3, "dogs*", nullptr, 0},   {-1, "word", nullptr, 0},     {10, "word", nullptr, 0},
  };
  for (const auto& c : cases) {
    std::string word = c.word;
    const EndingResult r = ApplyEndingSet(&word, c.set, sets);
    EXPECT_EQ(r.applied, c.after != nullptr) << c.word;
    EXPECT_EQ(word, c.after != nullptr ? c.after : c.word) << c.word;
    if (c.after != nullptr) {
      EXPECT_EQ(r.nextSet, c.next) << c.word;
    }
  }
  // A set that appends and names itself never grows a word beyond the box.
  std::string word(126, 'a');
  EXPECT_FALSE(ApplyEndingSet(&word, 1, Sets({{1, ",xx,1"}})).applied);
  // A prefix is added only when the word stays below 128 bytes.
  EXPECT_EQ(AddPrefix("word", "+"), "+word");
  EXPECT_EQ(AddPrefix(std::string(126, 'a'), "+"), "+" + std::string(126, 'a'));
  EXPECT_EQ(AddPrefix(std::string(127, 'a'), "+"), std::string(127, 'a'));
}

// The request's fields reach the window through the settings file; here
// their limits: a rule number that is no number is 0, the book request has
// 4 bytes and the word 127, never half a double-byte character.
TEST(StartupRequestTest, FieldsKeepTheirLimitsAndBookRequestsCountFromOne) {
  EXPECT_EQ(ParseStartupRequest(",x,g"), (StartupRequest{"", 0, "g", "", ""}));
  std::string word;
  for (int i = 0; i < 70; ++i) word += Sjis("語");
  const StartupRequest r = ParseStartupRequest(",1,g,G12345," + word);
  EXPECT_EQ(r.book, "G123");
  EXPECT_EQ(r.word.size(), 126u);

  const BookBarEntry book{"b", "", ""};
  const BookBar bar = {BookBarEntry{}, book, book, BookBarEntry{}, book, BookBarEntry{}, book};
  // G<n>: the n-th header; <n>: the n-th book; anything else names none.
  const std::pair<const char*, int> cases[] = {{"G1", 0},  {"G2", 3}, {"g3", 5}, {"G4", -1},
                                               {"3", 4},   {"5", -1}, {"0", -1}, {"G", -1},
                                               {"x1", -1}, {"", -1}};
  for (const auto& [request, entry] : cases)
    EXPECT_EQ(ResolveBookRequest(bar, request), entry) << request;
}

}  // namespace
}  // namespace morva
