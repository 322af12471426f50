// The main window's search session on a real book: the ending-rule retries,
// the word preparations the open book's information asks for, the history.
#include "app/main_window/search_session.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/book/book_info.h"
#include "engine/book/tdisk.h"
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
    BookBarEntry book;
    book.shortName = "E";
    book.location = (testing::SharedBooks() / "edict-small").string();
    book.subbook = 0;
    book.mark = true;
    bar_ = {BookBarEntry{}, book};
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

TEST_F(SearchSessionTest, TypedAndScreenWordsFollowTheOpenBooksRules) {
  UseInfo("TRANSLATE=ぬね\nPRESTRING=pre\nSPRESTRING=s\nNEGLECT=-\nENDING0=ies,y\n");
  EXPECT_EQ(SjisToUtf8(session_.Prepare(Utf8ToSjis("ぬこ"))), "ねこ");
  EXPECT_EQ(session_.Prepare(std::string(200, 'a')).size(), 127u);
  EXPECT_EQ(session_.ScreenWord("x-flies", false), "prexfly");
  EXPECT_EQ(session_.ScreenWord("x-flies", true), "sxfly");
  // Without an open book the word is only cut.
  session_.bookSlot() = -1;
  EXPECT_EQ(SjisToUtf8(session_.Prepare(Utf8ToSjis("ぬこ"))), "ぬこ");
  EXPECT_EQ(session_.ScreenWord("x-flies", false), "x-flies");
}

TEST_F(SearchSessionTest, HistoryKeepsTheNewestWordsFirstWithoutRepeats) {
  std::vector<std::string> stored;
  for (int i = 0; i < 60; ++i) stored.push_back("w" + std::to_string(i));
  session_.SetHistory(stored);
  ASSERT_EQ(session_.history().size(), static_cast<size_t>(SearchSession::kMaxHistory));
  EXPECT_FALSE(session_.Remember("w0"));  // the newest already
  EXPECT_FALSE(session_.Remember(""));
  EXPECT_TRUE(session_.Remember("w5"));   // moved up, not repeated
  EXPECT_TRUE(session_.Remember("new"));  // the oldest drops out
  const std::vector<std::string>& h = session_.history();
  EXPECT_EQ(std::vector<std::string>(h.begin(), h.begin() + 3),
            (std::vector<std::string>{"new", "w5", "w0"}));
  EXPECT_EQ(h.size(), static_cast<size_t>(SearchSession::kMaxHistory));
  EXPECT_EQ(h.back(), "w48");
  EXPECT_EQ(std::count(h.begin(), h.end(), "w5"), 1);
}

}  // namespace
}  // namespace morva
