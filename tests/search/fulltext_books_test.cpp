// The full-text search passes over most topics of a book without decoding
// them. On the real books it must find exactly what decoding every topic
// finds, above all for words torn apart by a page boundary or an escape,
// where the quick look sees the word's characters in different stretches.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>

#include "engine/search/fulltext.h"
#include "engine/search/fulltext_query.h"
#include "engine/search/topic_prefilter.h"
#include "engine/search/topic_reader.h"
#include "engine/text/unicode.h"
#include "tests/search/reference_topics.h"
#include "tests/support/book_test.h"

namespace morva {
namespace {

using testing::S;

// The two characters on either side of each place in `places`.
std::vector<std::string> TornWords(const std::string& text, const std::vector<size_t>& places) {
  std::vector<size_t> starts;
  for (size_t i = 0; i < text.size(); i += SjisCharLength(text, i)) starts.push_back(i);
  starts.push_back(text.size());
  std::vector<std::string> words;
  for (const size_t place : places) {
    const auto k = std::lower_bound(starts.begin(), starts.end(), place);
    if (k == starts.begin() || k == starts.end() || *k != place || k + 1 == starts.end()) continue;
    std::string word = text.substr(*(k - 1), *(k + 1) - *(k - 1));
    if (word.find('\n') == std::string::npos) words.push_back(std::move(word));
  }
  return words;
}

struct Topic {
  BookAddress start;
  testing::ReferenceTopic read;
};

class FullTextBooksTest : public testing::BookTest {
 protected:
  void Open(const std::string& folder, int16_t subbook) {
    books_ = {BookBarEntry{},
              BookBarEntry{"B", (testing::SharedBooks() / folder).string(), "", subbook, false}};
    disk_.ForgetCurrentSubbook();
    ASSERT_TRUE(disk_.SelectSubbook(1));
    end_ = disk_.subbook().indexes.End(0x00);
  }

  // The topics from `at` as the decoder reads them, while they begin at or
  // before page `lastPage`.
  std::vector<Topic> ReadTopics(BookAddress at, bool fold, int32_t lastPage = INT32_MAX) {
    std::vector<Topic> topics;
    while (at.Normalised().page <= lastPage) {
      testing::ReferenceTopic read = testing::ReadReferenceTopic(disk_, at, end_, fold);
      if (!read.exists || !(at < read.next)) break;
      const BookAddress next = read.next;
      topics.push_back({at, std::move(read)});
      at = next;
    }
    return topics;
  }

  // Whether skimming the topic at `at`, as a search for `word` does, lets it
  // be decoded.
  bool SkimMayMatch(BookAddress at, const std::string& word) {
    TopicBuffer buffer;
    EXPECT_TRUE(buffer.Obtain());
    TopicReader reader(disk_, buffer, true);
    const TopicPrefilter prefilter({word}, false);
    if (!prefilter.usable() || !reader.CanSkim()) return true;
    SkimmedTopic topic;
    EXPECT_EQ(reader.Skim(&at, end_, prefilter, &topic), TopicReader::Result::kTopic);
    return topic.mayMatch;
  }

  // Every word torn by a page boundary, and every `escapeEvery`th topic's
  // first word torn by an escape, must let its topic be decoded. Returns the
  // words checked.
  std::vector<std::string> CheckTornWords(const std::vector<Topic>& topics, size_t escapeEvery) {
    std::vector<std::string> checked;
    for (size_t t = 0; t < topics.size(); ++t) {
      const Topic& topic = topics[t];
      std::vector<std::string> words = TornWords(topic.read.text, topic.read.pageBreaks);
      if (t % escapeEvery == 0) {
        const std::vector<std::string> atEscapes = TornWords(topic.read.text, topic.read.escapes);
        if (!atEscapes.empty()) words.push_back(atEscapes[atEscapes.size() / 2]);
      }
      for (const std::string& word : words) {
        EXPECT_TRUE(SkimMayMatch(topic.start, word))
            << SjisToUtf8(word) << " in the topic at " << topic.start.page << ":"
            << topic.start.offset;
        checked.push_back(word);
      }
      if (HasFailure()) break;
    }
    return checked;
  }

  // The search's hits against the topics that hold the query.
  void CheckSearch(const std::vector<Topic>& topics, const std::string& query, bool matchCase) {
    const FullTextQuery compiled(query, matchCase, false);
    std::vector<BookAddress> expected;
    for (const Topic& topic : topics)
      if (compiled.Matches(topic.read.text)) expected.push_back(topic.start);
    FullTextSearch search(disk_, hits_);
    testing::RecordingProgress progress;
    ASSERT_TRUE(search.Search(query, matchCase, "", progress));
    EXPECT_EQ(testing::Bodies(hits_), expected)
        << SjisToUtf8(query) << (matchCase ? " (case)" : "");
  }

  int32_t end_ = 0;
};

// Whole books: every torn word at the topic level, and the search itself for
// words of all kinds and a sample of the torn ones.
TEST_F(FullTextBooksTest, SearchesFindWhatDecodingEveryTopicFinds) {
  MORVA_REQUIRE_SHARED_BOOKS();
  struct Book {
    const char* folder;
    int16_t subbook;
    size_t topics;
    size_t minTorn;
  };
  for (const Book& book : {Book{"edict-small", 0, 4539, 2000}, Book{"ebstudio-sample", 0, 3, 0},
                           Book{"ebstudio-sample", 1, 3, 0}}) {
    SCOPED_TRACE(std::string(book.folder) + " " + std::to_string(book.subbook));
    Open(book.folder, book.subbook);
    const BookAddress start{disk_.subbook().indexes.Start(0x00), 0};
    const std::vector<Topic> folded = ReadTopics(start, true);
    const std::vector<Topic> exact = ReadTopics(start, false);
    EXPECT_EQ(folded.size(), book.topics);
    const std::vector<std::string> torn = CheckTornWords(folded, 3);
    EXPECT_GE(torn.size(), book.minTorn);
    std::vector<std::string> queries;
    for (const char* query :
         {"参照：", "コン", "dog", "Dog", "東 or 西", "(n) not noun", "ten million", "zzqq", "e"})
      queries.push_back(S(query));
    for (size_t i = 0; i < torn.size(); i += std::max<size_t>(1, torn.size() / 12))
      queries.push_back(torn[i]);
    for (const std::string& query : queries) {
      CheckSearch(folded, query, false);
      CheckSearch(exact, query, true);
    }
    if (HasFailure()) return;
  }
  EXPECT_TRUE(reporter_.boxes().empty());
}

// The large book, on a sample of its pages: the topics that begin on each
// (entries begin with an indent and the headword escape) and run into the
// next page.
TEST_F(FullTextBooksTest, WordsTornByPagesOfTheLargeBookAreNotPassedOver) {
  MORVA_REQUIRE_SHARED_BOOKS();
  Open("edict-full", 0);
  const int32_t first = disk_.subbook().indexes.Start(0x00);
  static const char kEntry[] = "\x1F\x09\x00\x01\x1F\x41";
  size_t checked = 0;
  for (int32_t page = first + 1; page < end_; page += 97) {
    ASSERT_EQ(disk_.ReadPage(page), 0);
    const auto* bytes = reinterpret_cast<const char*>(disk_.PageBuffer());
    const void* entry = memmem(bytes, kPageSize, kEntry, sizeof kEntry - 1);
    if (entry == nullptr) continue;
    const int offset = static_cast<int>(static_cast<const char*>(entry) - bytes) + 4;
    checked += CheckTornWords(ReadTopics({page, offset}, true, page), 1000).size();
    if (HasFailure()) return;
  }
  EXPECT_GE(checked, 200u);
  EXPECT_TRUE(reporter_.boxes().empty());
}

}  // namespace
}  // namespace morva
