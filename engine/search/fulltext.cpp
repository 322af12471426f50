#include "engine/search/fulltext.h"

#include <algorithm>

#include "engine/book/report.h"
#include "engine/book/tdisk.h"
#include "engine/book/text_utils.h"
#include "engine/search/fulltext_query.h"
#include "engine/search/index_search.h"
#include "engine/search/query.h"
#include "engine/search/topic_prefilter.h"
#include "engine/search/wordlist.h"
#include "engine/text/sjis.h"

namespace morva {
namespace {

constexpr size_t kConditionWordCapacity = 78;
constexpr size_t kIndexQueryLimit = 128;
constexpr uint8_t kBodyCode = 0x00;

// The decoder's keyword-start and keyword-end codes: 0x41 / 0x61, or 0x16 /
// 0x17 once the book has shown it uses those.
void SetKeywordCode(TDisk& disk, int code) {
  disk.decoderState().headwordStart = static_cast<uint8_t>(code);
  disk.decoderState().headwordEnd = code == 0x16 ? 0x17 : 0x61;
}

const std::string& NoBufferWarning() {
  static const std::string text = Sjis("全文検索用のバッファを確保できません。");
  return text;
}

}  // namespace

std::string BuildIndexConditionQuery(std::string_view typed, bool cross) {
  std::string query;
  std::string_view cursor = typed;
  for (;;) {
    const QueryToken token = ReadToken(cursor, kConditionWordCapacity);
    std::string piece;
    switch (token.kind) {
      case QueryToken::kEnd: return query;
      case QueryToken::kAnd: piece = "and"; break;
      case QueryToken::kOr: piece = "or"; break;
      case QueryToken::kNot: piece = "not"; break;
      case QueryToken::kOpen: piece = "("; break;
      case QueryToken::kClose: piece = ")"; break;
      case QueryToken::kWord:
        // An empty quoted word would search nothing and empty the result.
        if (token.text.empty()) continue;
        piece = (cross ? "@" : "+") + token.text;
        break;
    }
    piece += ' ';
    if (query.size() + piece.size() >= kIndexQueryLimit) return query;
    query += piece;
  }
}

std::string IndexConditionSearch(TDisk& disk, Wordlist& main, const BookBar& books,
                                 std::string_view typed, bool cross, int position) {
  return Search(disk, main, books, BuildIndexConditionQuery(typed, cross), position);
}

FullTextSearch::FullTextSearch(TDisk& disk, Wordlist& main) : disk_(disk), main_(main) {}

bool FullTextSearch::ObtainBuffer() {
  if (buffer_.Obtain()) return true;
  disk_.reporter().Warning(NoBufferWarning());
  return false;
}

bool FullTextSearch::Search(std::string_view query, bool matchCase, std::string_view presearch,
                            ProgressBox& progress) {
  if (!ObtainBuffer()) return false;
  book_ = disk_.CurrentSubbook();
  position_ = {disk_.subbook().indexes.Start(kBodyCode), 0};
  presearch = SjisCut(presearch, kMaxQueryBytes);
  if (!presearch.empty()) {
    const SearchContext context{disk_, book_, true};
    SearchWord(context, main_, presearch);
    if (!main_.IsEmpty()) position_ = main_.Item(0).body;
  }
  main_.Empty();
  hits_ = 0;
  Scan(query, matchCase, progress);
  return true;
}

bool FullTextSearch::Resume(std::string_view query, bool matchCase, ProgressBox& progress) {
  if (!ObtainBuffer()) return false;
  if (book_ < 0 || book_ != disk_.CurrentSubbook()) {
    // Nothing to resume in this sub-book: begin at the beginning.
    book_ = disk_.CurrentSubbook();
    position_ = {disk_.subbook().indexes.Start(kBodyCode), 0};
    hits_ = 0;
  }
  Scan(query, matchCase, progress);
  return true;
}

void FullTextSearch::Scan(std::string_view query, bool matchCase, ProgressBox& progress) {
  static const std::string kCaption = Sjis("全文検索中");
  static const std::string kHitsBefore = Sjis("全文検索中(");
  static const std::string kHitsAfter = Sjis("件該当)");

  const int32_t bodyStart = disk_.subbook().indexes.Start(kBodyCode);
  const int32_t bodyEnd = disk_.subbook().indexes.End(kBodyCode);
  const int64_t bodyPages = std::max<int64_t>(1, int64_t{bodyEnd} - bodyStart + 1);
  const FullTextQuery compiled(SjisCut(query, kMaxQueryBytes), matchCase, disk_.SingleByteBook());
  TopicReader reader(disk_, buffer_, !matchCase);
  // Topics that hold no word's first character are passed over without
  // decoding, as long as that spares most of them.
  const TopicPrefilter prefilter(compiled.words(), matchCase);
  bool skimming = prefilter.usable() && reader.CanSkim();
  const bool valueWithoutWords = compiled.MatchesWithoutWords();
  int skimmed = 0;
  int decoded = 0;

  progress.Open(kCaption, kProgressMaximum);
  for (;;) {
    const BookAddress topicStart = position_;
    TopicReader::Result result;
    bool matches = valueWithoutWords;
    if (skimming) {
      SkimmedTopic skimmedTopic;
      result = reader.Skim(&position_, bodyEnd, prefilter, &skimmedTopic);
      ++skimmed;
      if (skimmedTopic.mayMatch && result == TopicReader::Result::kTopic) {
        // The topic is read again as it was skimmed.
        SetKeywordCode(disk_, skimmedTopic.keywordCode);
        position_ = topicStart;
        result = reader.Read(&position_, bodyEnd);
        if (result == TopicReader::Result::kTopic) matches = compiled.Matches(reader.text());
        // Decoding most topics anyway, the search stops skimming.
        if (++decoded > 128 && decoded * 2 > skimmed) skimming = false;
      }
      if (result == TopicReader::Result::kTopic)
        SetKeywordCode(disk_, skimmedTopic.keywordCodeAfter);
    } else {
      result = reader.Read(&position_, bodyEnd);
      if (result == TopicReader::Result::kTopic) matches = compiled.Matches(reader.text());
    }
    if (result == TopicReader::Result::kBufferFailed) {
      disk_.reporter().Warning(NoBufferWarning());
      break;
    }
    if (result == TopicReader::Result::kNoTopic) break;
    if (matches) {
      if (!main_.Append(topicStart, topicStart, book_)) break;
      ++hits_;
      progress.SetCaption(kHitsBefore + std::to_string(hits_) + kHitsAfter);
    }
    const int64_t done = (int64_t{topicStart.page} - bodyStart) * kProgressMaximum / bodyPages;
    if (progress.Step(static_cast<int>(std::clamp<int64_t>(done, 0, kProgressMaximum)))) break;
  }
  progress.Close();
  buffer_.Release();
}

}  // namespace morva
