// The full-text search reads topics with its own reader, which decodes plain
// text and the common escapes itself and skims most topics without their
// text. Both must agree with the text decoder item by item, read plainly
// below; on real books the search must find exactly what decoding every topic
// finds, above all for words torn apart by a page boundary or an escape, where
// the quick look sees the word's characters in different stretches.
#include "engine/search/topic_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "engine/search/fulltext.h"
#include "engine/search/fulltext_query.h"
#include "engine/search/topic_prefilter.h"
#include "engine/text/unicode.h"
#include "tests/search/reference_topics.h"
#include "tests/support/book_test.h"

namespace morva {
namespace {

using testing::S;

// Random body text: mostly text pairs and the escapes books are full of,
// with broken pairs, external characters, control and zero bytes, and
// escapes the reader leaves to the decoder. Pieces are drawn by weight; a
// byte 0xFF in a piece becomes a random cell 0x21..0x7E, a byte 0xFE a zero. In turn: letters,
// kana, kanji, the full-width space, runs of kanji; narrow text, line ends,
// indents (one broken by an escape), keywords and other escapes the reader
// decodes; external characters, broken pairs, control bytes, the end of
// text, escapes read by the decoder and unknown ones.
std::string RandomBody(std::mt19937& rng, size_t size) {
  static const int weights[] = {7, 7, 7, 7, 6, 3, 3, 11, 4, 4, 6, 2, 1, 1, 4, 2, 2,
                                1, 3, 2, 2, 1, 1, 2, 1,  1, 1, 1, 1, 2, 1, 2, 1};
  // The pieces, separated by "|".
  static const std::string all =
      "\x23\xFF|\x24\xFF|\x25\xFF|\x30\xFF|\x45\xFF|\x21\x21|\x21\x4A|"
      "\x30\xFF\x31\xFF\x38\xFF\x3F\xFF\x43\xFF|\x1F\x04|\x1F\x05|\x1F\x0A|"
      "\x1F\x09\xFE\x01|\x1F\x09\xFE\x02|\x1F\x09\x1F\x01\xFE\x01|\x1F\x41\x01\xFE|"
      "\x1F\x61|\x1F\x42|\x1F\x42\x01\x02|\x1F\x62\xFE\xFE\xFE\x12\x01\xFE|"
      "\x1F\xE0\xFE\x01|\x1F\x12|\x1F\xE1|\x1F\x13|\xA1\x22|\x20\xFF|\x7F\xFF|\x21\x05|"
      "\x05|\xFE|\x1F\x03|\x1F\x16|\x1F\x14\x1E\x01\x1E\x02|\x1F\x99";
  int total = 0;
  for (const int weight : weights) total += weight;
  std::string out;
  while (out.size() < size) {
    int pick = static_cast<int>(rng() % static_cast<unsigned>(total));
    size_t piece = 0;
    while (pick >= weights[piece]) pick -= weights[piece++];
    size_t from = 0;
    for (size_t n = 0; n < piece; ++n) from = all.find('|', from) + 1;
    for (size_t i = from; i < all.size() && all[i] != '|'; ++i)
      out += all[i] == '\xFF'   ? static_cast<char>(0x21 + rng() % 94)
             : all[i] == '\xFE' ? '\0'
                                : all[i];
  }
  return out;
}

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

class TopicReaderTest : public testing::BookTest {
 protected:
  // The topics as the decoder reads them, with their starts.
  std::vector<std::pair<BookAddress, testing::ReferenceTopic>> ReadTopics(bool fold) {
    std::vector<std::pair<BookAddress, testing::ReferenceTopic>> topics;
    BookAddress at{disk_.subbook().indexes.Start(0x00), 0};
    for (;;) {
      testing::ReferenceTopic read = testing::ReadReferenceTopic(disk_, at, end_, fold);
      if (!read.exists || !(at < read.next)) return topics;
      const BookAddress next = read.next;
      topics.emplace_back(at, std::move(read));
      at = next;
    }
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

  void OpenBody(const std::string& body) {
    LoadPages(body);  // zero filled to whole pages
    IndexKindRow& row = disk_.subbook().indexes.ByCode(0x00);
    row.start = 1;
    end_ = row.end = static_cast<int32_t>((body.size() + kPageSize - 1) / kPageSize);
  }

  // Reads every topic three ways and compares; returns the number of topics.
  int Compare(bool fold, const std::vector<std::string>& words, const std::string& context) {
    TopicBuffer buffer;
    EXPECT_TRUE(buffer.Obtain());
    TopicReader reader(disk_, buffer, fold);
    const TopicPrefilter prefilter(words, !fold);
    const bool skim = reader.CanSkim() && prefilter.usable();
    BookAddress at{disk_.subbook().indexes.Start(0x00), 0};
    for (int topics = 0;; ++topics) {
      SCOPED_TRACE(::testing::Message() << context << " at " << at.page << ":" << at.offset);
      const uint8_t keyword = disk_.decoderState().headwordStart;
      const testing::ReferenceTopic expected = testing::ReadReferenceTopic(disk_, at, end_, fold);
      disk_.decoderState().headwordStart = keyword;
      BookAddress read = at;
      EXPECT_EQ(reader.Read(&read, end_) == TopicReader::Result::kTopic, expected.exists);
      if (!expected.exists) return topics;
      EXPECT_EQ(reader.text(), expected.text);
      EXPECT_EQ(read, expected.next);
      const uint8_t keywordAfter = disk_.decoderState().headwordStart;
      if (skim) {
        disk_.decoderState().headwordStart = keyword;
        BookAddress skimmed = at;
        SkimmedTopic topic;
        EXPECT_EQ(reader.Skim(&skimmed, end_, prefilter, &topic), TopicReader::Result::kTopic);
        EXPECT_EQ(skimmed, expected.next);
        EXPECT_EQ(topic.keywordCode, keyword);
        EXPECT_EQ(topic.keywordCodeAfter, keywordAfter);
        disk_.decoderState().headwordStart = keywordAfter;
        // The prefilter may err towards "may match" only.
        for (const std::string& w : words)
          EXPECT_TRUE(topic.mayMatch || !ContainsAtCharacterBoundary(expected.text, w, false)) << w;
      }
      if (HasFailure()) return topics;
      at = expected.next;
    }
  }

  int32_t end_ = 0;
};

TEST_F(TopicReaderTest, AgreesWithTheDecoderOnRandomText) {
  for (unsigned seed = 1; seed <= 60 && !HasFailure(); ++seed) {
    std::mt19937 rng(seed);
    OpenBody(RandomBody(rng, 3 * kPageSize + rng() % kPageSize));
    disk_.info() = BookInfo{};
    disk_.decoderState().headwordStart = 0x41;
    if (seed % 4 == 1) disk_.info().nEnd = 0;
    if (seed % 5 == 2) disk_.info().nCol1 = 2;
    if (seed % 7 == 3) disk_.info().nTab1 = 2;
    // Prefilter words: one that comes from a letter in either width.
    for (const auto& words : {std::vector<std::string>{"A"}, {S("あい"), S("ｶ")}}) {
      Compare(true, words, "seed " + std::to_string(seed) + " folded");
      Compare(false, words, "seed " + std::to_string(seed));
    }
  }
  // Books the decoder reads specially are read by it alone.
  std::mt19937 rng(7);
  OpenBody(RandomBody(rng, 2 * kPageSize));
  disk_.info() = BookInfo{};
  disk_.info().skipCodes = {{0x12, 2}};
  Compare(true, {"A"}, "skip codes");
  disk_.info().skipCodes.clear();
  disk_.decoderState().singleByteBook = true;
  Compare(true, {"A"}, "single-byte");
  disk_.decoderState().singleByteBook = false;
  disk_.subbook().specialTitle = true;
  Compare(true, {"A"}, "special title");
}

// Whole books: the reader agrees with the decoder; every word torn by a page
// boundary, and every third topic's middle word torn by an escape, lets its
// topic be decoded; and the search finds the topics that hold words of all
// kinds and a sample of the torn ones.
TEST_F(TopicReaderTest, SearchesOfRealBooksFindWhatDecodingEveryTopicFinds) {
  MORVA_REQUIRE_SHARED_BOOKS();
  const std::tuple<const char*, int16_t, size_t, size_t> books[] = {
      {"edict-small", 0, 4539, 2000}, {"ebstudio-sample", 0, 3, 0}, {"ebstudio-sample", 1, 3, 0}};
  for (const auto& [folder, subbook, count, minTorn] : books) {
    SCOPED_TRACE(std::string(folder) + " " + std::to_string(subbook));
    books_ = {BookBarEntry{},
              BookBarEntry{"B", (testing::SharedBooks() / folder).string(), "", subbook, false}};
    disk_.ForgetCurrentSubbook();
    ASSERT_TRUE(disk_.SelectSubbook(1));
    end_ = disk_.subbook().indexes.End(0x00);
    EXPECT_EQ(Compare(true, {"A", S("東")}, folder), int(count));  // the reader agrees
    const auto folded = ReadTopics(true);
    const auto exact = ReadTopics(false);
    EXPECT_EQ(folded.size(), count);
    std::vector<std::string> torn;
    for (size_t t = 0; t < folded.size() && !HasFailure(); ++t) {
      const auto& [start, read] = folded[t];
      std::vector<std::string> words = TornWords(read.text, read.pageBreaks);
      const std::vector<std::string> atEscapes = TornWords(read.text, read.escapes);
      if (t % 3 == 0 && !atEscapes.empty()) words.push_back(atEscapes[atEscapes.size() / 2]);
      for (const std::string& word : words)
        EXPECT_TRUE(SkimMayMatch(start, word))
            << SjisToUtf8(word) << " in the topic at " << start.page << ":" << start.offset;
      torn.insert(torn.end(), words.begin(), words.end());
    }
    EXPECT_GE(torn.size(), minTorn);
    std::vector<std::string> queries;
    for (const char* query :
         {"参照：", "コン", "dog", "Dog", "東 or 西", "(n) not noun", "ten million", "zzqq", "e"})
      queries.push_back(testing::S(query));
    for (size_t i = 0; i < torn.size(); i += std::max<size_t>(1, torn.size() / 12))
      queries.push_back(torn[i]);
    for (const std::string& query : queries) {
      for (const bool matchCase : {false, true}) {
        const FullTextQuery compiled(query, matchCase, false);
        std::vector<BookAddress> expected;
        for (const auto& [start, read] : matchCase ? exact : folded)
          if (compiled.Matches(read.text)) expected.push_back(start);
        FullTextSearch search(disk_, hits_);
        testing::RecordingProgress progress;
        ASSERT_TRUE(search.Search(query, matchCase, "", progress));
        EXPECT_EQ(testing::Bodies(hits_), expected) << SjisToUtf8(query) << " case " << matchCase;
      }
    }
    if (HasFailure()) return;
  }
  EXPECT_TRUE(reporter_.boxes().empty());
}

}  // namespace
}  // namespace morva
