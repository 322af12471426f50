#include "engine/search/topic_reader.h"

#include <algorithm>

#include "engine/book/tdisk.h"
#include "engine/decode/decoder.h"
#include "engine/search/topic_page_map.h"
#include "engine/search/topic_prefilter.h"
#include "engine/search/topic_rules.h"
#include "engine/search/topic_runs.h"
#include "engine/search/topic_text.h"
#include "engine/text/sjis.h"

namespace morva {

using namespace topic;

struct TopicReader::Scan {
  bool storing = true;  // Read keeps the text, Skim only counts it
  TopicLimits limits;
  TopicState state;
  bool anyItem = false;
  BookAddress endAt;
  // Text: bytes stored (or counted, when skimming).
  size_t used = 0;
  bool expectTrail = false;  // a lead byte was stored alone (conversion text)
  // Skimming.
  const TopicPrefilter* prefilter = nullptr;
  unsigned seen = 0;  // the prefilter's groups the topic's bytes may give
  // The first page on which bytes of the topic were skimmed before any word's
  // first group was seen, and so were not looked at for the other groups; 0
  // when there is none.
  int32_t uncheckedPage = 0;
  // Skimming several topics: those ended so far, and where the open one began.
  std::vector<SkimmedTopic>* batch = nullptr;
  BookAddress topicStart;
  int topicKeywordCode = 0x41;
};

namespace {

bool SeesFirstGroup(const TopicPrefilter& prefilter, unsigned seen) {
  return (seen & prefilter.PrimaryGroups()) != 0;
}

// After the topic's bytes gave a word's first group for the first time: the
// bytes passed over before it were looked at for first groups only, so the
// other groups count as there.
void FirstGroupSeen(const TopicPrefilter& prefilter, unsigned& seen) {
  seen |= prefilter.AllGroups() & ~prefilter.PrimaryGroups();
}

}  // namespace

TopicReader::TopicReader(TDisk& disk, TopicBuffer& buffer, bool foldCase)
    : disk_(disk), buffer_(buffer), foldCase_(foldCase), glyphs_(TopicGlyphs(foldCase).data()) {}

TopicReader::~TopicReader() = default;

bool TopicReader::CanSkim() const {
  const DecoderState& decoder = disk_.decoderState();
  const bool convertedExternals =
      decoder.gaijiMode == GaijiMode::kText && decoder.conversion.Count() > 0;
  return !disk_.SingleByteBook() && !disk_.subbook().specialTitle &&
         disk_.info().skipCodes.empty() && !convertedExternals;
}

void TopicReader::Store(Scan& scan, const char* bytes, size_t n) {
  if (!scan.storing) {
    scan.used += n;
    return;
  }
  char* out = buffer_.data() + scan.used;
  scan.used += n;
  if (n == 2 && IsSjisLead(static_cast<uint8_t>(bytes[0]))) {
    // A double-byte character: never folded.
    out[0] = bytes[0];
    out[1] = bytes[1];
    scan.expectTrail = false;
    return;
  }
  // Single-byte characters (a half-width kana and its mark come as two). A
  // lead byte alone (from conversion text) takes the next byte as its trail.
  for (size_t i = 0; i < n; ++i) {
    char c = bytes[i];
    if (scan.expectTrail) {
      scan.expectTrail = false;
    } else if (IsSjisLead(static_cast<uint8_t>(c))) {
      scan.expectTrail = true;
    } else if (foldCase_ && c >= 'a' && c <= 'z') {
      c = static_cast<char>(c - ('a' - 'A'));
    }
    out[i] = c;
  }
}

TopicReader::Step TopicReader::SlowItem(Scan& scan) {
  const BookAddress start = disk_.Tell();
  // Room for the largest item (a pair) and the terminating NUL.
  if (scan.storing && !buffer_.Reserve(scan.used + 3)) return Step::kBufferFailed;
  EscapeItem item;
  const int value = DecodeNext(disk_, item, true);
  if (value == kDecodeEnd) {
    scan.endAt = disk_.Tell();
    return Step::kStopped;
  }
  scan.anyItem = true;
  Ending ending;
  if (item.code != 0) {
    if (item.code == kLineBreak) Store(scan, "\n", 1);
    ending = AtEscape(scan.state, scan.limits, scan.used > 0, item.code, item.p1,
                      disk_.decoderState().headwordStart);
  } else {
    char unit[2] = {static_cast<char>(value), 0};
    size_t n = 1;
    if (value >= kFirstGaijiValue) {
      unit[0] = kExternalStandIn;
    } else if (disk_.decoderState().pendingChar != 0) {
      // A Shift-JIS pair, or a half-width kana with its mark.
      unit[1] = static_cast<char>(DecodeNext(disk_, item, true));
      n = 2;
    }
    ending = AtCharacter(scan.state, scan.limits, scan.used > 0, IsSpace(unit, n));
    if (ending == Ending::kNone) {
      Store(scan, unit, n);
      if (scan.prefilter) {
        const unsigned before = scan.seen;
        // The characters as the text holds them (folded as Store does).
        if (n == 1 && foldCase_ && unit[0] >= 'a' && unit[0] <= 'z')
          unit[0] = static_cast<char>(unit[0] - ('a' - 'A'));
        if (n == 2 && !IsSjisLead(static_cast<uint8_t>(unit[0]))) {
          // A kana and its mark: two characters.
          scan.seen |= scan.prefilter->GroupsOf(std::string_view(unit, 1)) |
                       scan.prefilter->GroupsOf(std::string_view(unit + 1, 1));
        } else {
          scan.seen |= scan.prefilter->GroupsOf(std::string_view(unit, n));
        }
        if (scan.uncheckedPage != 0 && !SeesFirstGroup(*scan.prefilter, before) &&
            SeesFirstGroup(*scan.prefilter, scan.seen))
          FirstGroupSeen(*scan.prefilter, scan.seen);
      }
    }
  }
  if (ending == Ending::kNone) return Step::kGoOn;
  scan.endAt = ending == Ending::kAfter ? disk_.Tell() : start;
  return Step::kStopped;
}

TopicReader::Step TopicReader::FastRun(Scan& scan, int32_t endPage) {
  const std::span<const uint8_t> span = disk_.UnreadInPage();
  if (span.empty()) return Step::kGoOn;
  BookAddress base = disk_.Tell();
  if (base.page > endPage) {
    scan.endAt = base;
    return Step::kStopped;
  }
  // The text of a span never outgrows the span (a pair gives at most two
  // bytes, a line break one); if that room cannot be had, the decoder's path
  // takes over, which grows the buffer as the text comes.
  if (scan.storing && !buffer_.Reserve(scan.used + span.size() + 1)) return Step::kGoOn;

  RunState r;
  r.state = scan.state;
  r.used = scan.used;
  r.fullWidth = disk_.decoderState().fullWidth;
  r.keywordCode = disk_.decoderState().headwordStart;
  const bool refParams = disk_.decoderState().refParamFlag;
  int32_t consumed;
  if (scan.storing) {
    const uint8_t* const begin = span.data();
    consumed = static_cast<int32_t>(
        StoreItems(begin, begin + span.size(), r, scan.limits, glyphs_, buffer_.data(), refParams) -
        begin);
    scan.expectTrail = false;
  } else {
    const uint8_t* const page = disk_.PageBuffer();
    if (!pageMap_) pageMap_ = std::make_unique<PageMap>();
    if (pageMap_->page != base.page || pageMap_->prefilter != scan.prefilter)
      pageMap_->Build(page, base.page, *scan.prefilter);
    int from = base.offset;  // where the open topic's part of this page begins
    int at = from;
    for (;;) {
      at = LeapItems(at, page, *pageMap_, r, scan.limits, glyphs_, refParams);
      if (r.ending == Ending::kNone)
        at = SkimItems(at, page, *pageMap_, r, scan.limits, glyphs_, refParams);
      if (at > from) {
        const unsigned before = scan.seen;
        const int topicFrom = scan.topicStart.page == base.page ? scan.topicStart.offset : 0;
        scan.seen |= pageMap_->GroupsIn(page, from, at, topicFrom, before);
        if (!SeesFirstGroup(*scan.prefilter, scan.seen)) {
          if (scan.uncheckedPage == 0) scan.uncheckedPage = base.page;
        } else if (!SeesFirstGroup(*scan.prefilter, before) && scan.uncheckedPage != 0 &&
                   scan.uncheckedPage != base.page) {
          // Bytes on this page were looked at again from the topic's start;
          // those on earlier pages cannot be.
          FirstGroupSeen(*scan.prefilter, scan.seen);
        }
      }
      const int next = at + (r.ending == Ending::kAfter ? static_cast<int>(r.length) : 0);
      if (r.ending == Ending::kNone || !scan.batch || next >= kPageSize) break;
      // Several topics at one go: the topic ends here and the next one
      // begins as a seek to its start would begin it.
      const BookAddress end{base.page, next};
      scan.batch->push_back({scan.topicStart, end, scan.prefilter->MayMatch(scan.seen),
                             scan.topicKeywordCode, r.keywordCode});
      scan.topicStart = end;
      scan.topicKeywordCode = r.keywordCode;
      const RunState ended = r;
      r = RunState{};
      r.keywordCode = ended.keywordCode;
      r.pictureEnded = ended.pictureEnded;
      scan.seen = 0;
      scan.uncheckedPage = 0;
      from = at = next;
    }
    consumed = at - base.offset;
    if (from != base.offset) {
      // Only the open topic's part counts for it.
      disk_.ConsumeInPage(from - base.offset);
      scan.anyItem = false;
      consumed = at - from;
      base = BookAddress{base.page, from};
    }
  }

  disk_.decoderState().fullWidth = r.fullWidth;
  if (r.keywordCode == 0x16) {
    disk_.decoderState().headwordStart = 0x16;
    disk_.decoderState().headwordEnd = 0x17;
  }
  if (r.pictureEnded) disk_.decoderState().pictureFlag = false;
  scan.state = r.state;
  scan.used = r.used;
  if (consumed > 0) scan.anyItem = true;
  disk_.ConsumeInPage(consumed);
  if (r.ending == Ending::kNone) return Step::kGoOn;
  scan.anyItem = true;
  const int32_t after = r.ending == Ending::kAfter ? static_cast<int32_t>(r.length) : 0;
  scan.endAt = BookAddress{base.page, base.offset + consumed + after}.Normalised();
  return Step::kStopped;
}

TopicReader::Result TopicReader::Run(BookAddress* position, int32_t endPage, Scan& scan) {
  length_ = 0;
  const BookAddress at = *position;
  if (at.page <= 0 || at.page > endPage || (at.page == endPage && at.offset >= kPageSize))
    return Result::kNoTopic;
  if (disk_.Seek(at) != 0) return Result::kNoTopic;

  scan.limits.nCol1 = disk_.info().nCol1;
  scan.limits.nTab1 = disk_.info().nTab1;
  scan.limits.nEnd = disk_.info().nEnd != 0;
  // Plain text and the common escapes are read straight from the page
  // buffer, except in books whose text the decoder reads in special ways.
  const bool fast =
      !disk_.SingleByteBook() && !disk_.subbook().specialTitle && disk_.info().skipCodes.empty();

  Step step = Step::kGoOn;
  while (step == Step::kGoOn) {
    if (fast && !disk_.decoderState().CharacterPending()) {
      step = FastRun(scan, endPage);
      if (step != Step::kGoOn) break;
    }
    const BookAddress next = disk_.Tell();
    if (next.page > endPage) {
      // Past the body: the text there is no body text.
      scan.endAt = next;
      break;
    }
    step = SlowItem(scan);
  }
  if (step == Step::kBufferFailed) return Result::kBufferFailed;
  if (!scan.anyItem) return Result::kNoTopic;
  *position = scan.endAt;
  if (scan.storing) {
    buffer_.data()[scan.used] = '\0';
    length_ = scan.used;
  }
  return Result::kTopic;
}

TopicReader::Result TopicReader::Read(BookAddress* position, int32_t endPage) {
  Scan scan;
  return Run(position, endPage, scan);
}

TopicReader::Result TopicReader::Skim(BookAddress* position, int32_t endPage,
                                      const TopicPrefilter& prefilter, SkimmedTopic* topic) {
  // Topics are skimmed a page at a time and handed out one by one.
  const bool ahead = skimmedNext_ < skimmed_.size() && skimmed_[skimmedNext_].start == *position &&
                     skimmedFilter_ == &prefilter;
  if (!ahead) {
    skimmed_.clear();
    skimmedNext_ = 0;
    skimmedFilter_ = &prefilter;
    Scan scan;
    scan.storing = false;
    scan.prefilter = &prefilter;
    scan.batch = &skimmed_;
    scan.topicStart = *position;
    scan.topicKeywordCode = disk_.decoderState().headwordStart;
    BookAddress end = *position;
    const Result last = Run(&end, endPage, scan);
    if (last == Result::kTopic)
      skimmed_.push_back({scan.topicStart, end, prefilter.MayMatch(scan.seen),
                          scan.topicKeywordCode, disk_.decoderState().headwordStart});
    if (skimmed_.empty()) return last;
  }
  *topic = skimmed_[skimmedNext_++];
  *position = topic->end;
  return Result::kTopic;
}

}  // namespace morva
