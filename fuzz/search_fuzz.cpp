// Runs the searches over a mutated page space: index searches of every kind,
// the menu, compound searches with their candidate lists, and full-text
// searches. Page 1 is an index page that lists the word, keyword, cross,
// compound and menu indexes at pages chosen by the input's first bytes; the
// rest of the input is the pages they point into.
//
// Besides crashes it checks that the topic reader's fast paths agree with
// the text decoder item by item, and that skimming finds the same topics.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/book/tdisk.h"
#include "engine/search/compound_search.h"
#include "engine/search/fulltext.h"
#include "engine/search/fulltext_query.h"
#include "engine/search/index_search.h"
#include "engine/search/menu.h"
#include "engine/search/topic_prefilter.h"
#include "engine/search/topic_reader.h"
#include "engine/search/wordlist.h"
#include "engine/text/sjis.h"
#include "fuzz/fuzz_volume.h"
#include "tests/search/reference_topics.h"

namespace {

class NullProgress : public morva::ProgressBox {
 public:
  void Open(std::string_view, int) override {}
  void SetCaption(std::string_view) override {}
  bool Step(int) override { return ++steps_ > 400; }  // keeps long scans short
  void Close() override {}

 private:
  int steps_ = 0;
};

constexpr size_t kHeader = 32;
constexpr uint8_t kCodes[] = {0x00, 0x90, 0x91, 0x71, 0x80, 0x81, 0x92, 0x70, 0x01, 0xFF, 0xFF};

void Put32(std::string& s, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) s[at + static_cast<size_t>(i)] = static_cast<char>(v >> (24 - 8 * i));
}

// Page 1: the index page, then the input's pages.
std::string PageSpace(const uint8_t* data, size_t size) {
  uint8_t header[kHeader] = {};
  const size_t headerBytes = size < kHeader ? size : kHeader;
  for (size_t i = 0; i < headerBytes; ++i) header[i] = data[i];
  const std::string pages(reinterpret_cast<const char*>(data) + headerBytes, size - headerBytes);
  const uint32_t pageCount = static_cast<uint32_t>(pages.size() / morva::kPageSize + 1);

  std::string index(morva::kPageSize, '\0');
  index[1] = static_cast<char>(sizeof kCodes);
  for (size_t k = 0; k < sizeof kCodes; ++k) {
    const size_t at = 16 + 16 * k;
    index[at] = static_cast<char>(kCodes[k]);
    const uint8_t a = header[(2 * k) % kHeader];
    const uint8_t b = header[(2 * k + 1) % kHeader];
    // The body covers every page; the rest start and end where the input says.
    const uint32_t start = kCodes[k] == 0x00 ? 2 : 2 + a % pageCount;
    const uint32_t count = kCodes[k] == 0x00 ? pageCount : 1 + b % 4;
    Put32(index, at + 2, start);
    Put32(index, at + 6, count);
    index[at + 11] = static_cast<char>(b & 0x0F);
  }
  return index + pages;
}

// The two characters on either side of the first place where the topic's
// text crosses into another page; empty when there is none.
std::string TornWord(const morva::testing::ReferenceTopic& topic) {
  if (topic.pageBreaks.empty()) return {};
  const std::string& text = topic.text;
  const size_t place = topic.pageBreaks.front();
  size_t before = std::string::npos;
  size_t i = 0;
  while (i < place) {
    before = i;
    i += morva::SjisCharLength(text, i);
  }
  if (i != place || before == std::string::npos || place >= text.size()) return {};
  const std::string word = text.substr(before, place + morva::SjisCharLength(text, place) - before);
  return word.find('\n') == std::string::npos ? word : std::string();
}

// Whether skimming the topic at `at` for `word`, as a search does (with a
// reader of its own), lets it be decoded.
bool SkimMayMatch(morva::TDisk& disk, morva::TopicBuffer& buffer, morva::BookAddress at,
                  int32_t end, const std::string& word, bool fold) {
  const morva::TopicPrefilter prefilter({word}, !fold);
  morva::TopicReader reader(disk, buffer, fold);
  if (!prefilter.usable() || !reader.CanSkim()) return true;
  const uint8_t keyword = disk.decoderState().headwordStart;
  morva::SkimmedTopic topic;
  reader.Skim(&at, end, prefilter, &topic);
  disk.decoderState().headwordStart = keyword;
  return topic.mayMatch;
}

// The topic reader against the decoder, and skimming against reading, for
// the first topics of the body. A skimmed topic that holds a word must be
// decoded.
void CheckTopics(morva::TDisk& disk) {
  morva::TopicBuffer buffer;
  if (!buffer.Obtain()) return;
  for (const bool fold : {true, false}) {
    morva::TopicReader reader(disk, buffer, fold);
    const std::vector<std::string> words = {fold ? "A" : "a", "\x82\xA0", fold ? "AB" : "ab",
                                            "\x82\xA0\x82\xA2"};
    const morva::TopicPrefilter prefilter(words, !fold);  // a, あ, ab, あい
    const int32_t end = disk.subbook().indexes.End(0x00);
    morva::BookAddress at{disk.subbook().indexes.Start(0x00), 0};
    for (int n = 0; n < 60; ++n) {
      const uint8_t keyword = disk.decoderState().headwordStart;
      const morva::testing::ReferenceTopic expected =
          morva::testing::ReadReferenceTopic(disk, at, end, fold);
      disk.decoderState().headwordStart = keyword;
      morva::BookAddress read = at;
      const bool topic = reader.Read(&read, end) == morva::TopicReader::Result::kTopic;
      if (topic != expected.exists) __builtin_trap();
      if (!topic) break;
      if (reader.text() != expected.text || read != expected.next) __builtin_trap();
      const uint8_t after = disk.decoderState().headwordStart;
      if (reader.CanSkim() && prefilter.usable()) {
        disk.decoderState().headwordStart = keyword;
        morva::BookAddress skimmed = at;
        morva::SkimmedTopic found;
        if (reader.Skim(&skimmed, end, prefilter, &found) != morva::TopicReader::Result::kTopic)
          __builtin_trap();
        if (skimmed != expected.next || found.keywordCode != keyword ||
            found.keywordCodeAfter != after)
          __builtin_trap();
        for (const std::string& word : words)
          if (!found.mayMatch && morva::ContainsAtCharacterBoundary(expected.text, word, false))
            __builtin_trap();
        disk.decoderState().headwordStart = keyword;
        if (const std::string torn = TornWord(expected);
            !torn.empty() && !SkimMayMatch(disk, buffer, at, end, torn, fold))
          __builtin_trap();
        disk.decoderState().headwordStart = after;
      }
      if (!(at < expected.next)) break;  // the reader must move on
      at = expected.next;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static morva::fuzz::FuzzVolume volume;
  const std::string space = PageSpace(data, size);
  volume.Write(reinterpret_cast<const uint8_t*>(space.data()), space.size());

  morva::fuzz::NullReporter reporter;
  morva::TDisk disk(reporter);
  morva::BookBar bar = volume.Books();
  disk.SetBookList(&bar);
  if (!disk.SelectSubbook(1)) return 0;

  morva::Wordlist hits(reporter);
  // Kana, kanji, alphabet, keyword, cross, suffix, compound field, explicit
  // index, and the operators.
  static const char* const kQueries[] = {
      "\x82\xCB\x82\xB1",  // ねこ
      "\x94\x4C",          // 猫
      "cat",
      "+key",
      "@cross",
      "*\x82\xB1",                              // *こ
      "\x82\xCB\x82\xB1* or \x94\x4C not cat",  // ねこ* or 猫 not cat
      "(a and b) or (c not",
      "@01\"x y\" @10z",
      "$91\x82\xCB",
  };
  for (const char* query : kQueries) morva::Search(disk, hits, bar, query, 1);
  morva::Search(disk, hits, bar, "\x82\xCB", 0);
  morva::Search(disk, hits, bar, "\x82\xCB", -1);
  disk.SelectSubbook(1);

  disk.settings().specialMenu = true;
  morva::MenuSearch(disk, hits, 1);

  morva::CompoundSearch form(disk);
  for (int number = 0; number < 2; ++number) {
    form.Load(number);
    for (int f = 0; f < morva::CompoundSearch::kMaxFields; ++f) {
      if (!form.EnterField(f).showCandidates) continue;
      const int rows = form.CandidateCount();
      for (int row = 0; row < rows && row < 3; ++row) form.CandidateText(row);
      if (form.SelectCandidate(0) == morva::CompoundSearch::Selection::kNested)
        form.CandidateCount();
      form.SelectCandidate(rows > 1 ? 1 : 0);
      form.Back();
    }
    form.SetFieldText(0, "x");
    morva::Search(disk, hits, bar, form.BuildQuery(), 1);
  }

  CheckTopics(disk);
  morva::FullTextSearch fulltext(disk, hits);
  NullProgress progress;
  fulltext.Search("\x82\xCB or A", false, "\x82\xCB", progress);
  fulltext.Resume("", true, progress);
  return 0;
}
