// The walk through one index tree: the descent through the branch pages
// (SearchIndex) and the scan of the leaf pages (ScanLeaves).
#include <climits>

#include "engine/book/tdisk.h"
#include "engine/book/text_utils.h"
#include "engine/decode/decoder.h"
#include "engine/search/index_search.h"
#include "engine/search/key_compare.h"
#include "engine/search/tree_page.h"
#include "engine/search/wordlist.h"

namespace morva {
namespace {

constexpr int kMaxDescentPages = 101;
// Decoder units read to pass one heading line; a longer line is damaged data.
constexpr int kMaxHeadingUnits = 4096;

// What the leaf scan carries from entry to entry.
struct ScanState {
  BookAddress body;
  BookAddress heading;
  bool groupMatched = false;     // word indexes: the last group head matched
  int groupResult = kKeyGoesOn;  // keyword and compound indexes: result of the last head
};

// The comparison of one leaf entry; kStop ends the scan (after a fatal box).
constexpr int kStop = INT_MIN;

class LeafMatcher {
 public:
  LeafMatcher(const SearchContext& context, const PreparedKey& key)
      : reporter_(context.disk.reporter()),
        key_(key),
        exact_(key.mode == MatchMode::kExact),
        kanaFold_(!context.disk.SingleByteBook()) {
    switch (key.converted.keyId) {
      case index_codes::kKeyword:
      case index_codes::kCross: groupedShape_ = LeafShape::kGroupedKeyword; break;
      case index_codes::kCompoundSlot: groupedShape_ = LeafShape::kGroupedCompound; break;
      default: groupedShape_ = LeafShape::kGroupedWord; break;
    }
  }

  LeafShape ShapeOf(const IndexPageHeader& header) const {
    return header.IsGrouped() ? groupedShape_ : LeafShape::kPlain;
  }

  // The result of the cursor's next entry: kStop, or the comparison result.
  // The end of the page's entries is reported through pageDone.
  int Next(LeafCursor& cursor, LeafShape shape, ScanState& state, bool* pageDone) {
    LeafEntry entry;
    const LeafCursor::Status status = cursor.Next(&entry);
    *pageDone = status == LeafCursor::kEnd;
    if (*pageDone) return kKeyGoesOn;
    if (status != LeafCursor::kEntry) {
      // A plain page has no box of its own for damage: its scan just ends.
      if (shape != LeafShape::kPlain) reporter_.Fatal(FailureText(status));
      return kStop;
    }
    switch (shape) {
      case LeafShape::kPlain: return Plain(entry, state);
      case LeafShape::kGroupedWord: return Kihon(entry, state);
      case LeafShape::kGroupedKeyword: return Joken(entry, state);
      case LeafShape::kGroupedCompound: return Fukugo(entry, state);
    }
    return kStop;
  }

 private:
  std::string FailureText(LeafCursor::Status status) const {
    switch (groupedShape_) {
      case LeafShape::kGroupedKeyword: return "At SearchJoken";
      case LeafShape::kGroupedCompound: return "at SearchFukugo";
      default:
        return status == LeafCursor::kBadKind ? "Invaid ID was found in SearchKihon"
                                              : "Something is wrong in search kihon";
    }
  }

  int Canonical(const LeafEntry& e) const {
    return CompareKey(key_.canonical, e.key, e.keyLength, exact_, false);
  }
  int ExactFolded(const LeafEntry& e) const {
    return CompareKey(key_.exact, e.key, e.keyLength, exact_, kanaFold_);
  }
  static void TakeAddresses(const LeafEntry& e, ScanState& state) {
    if (e.hasBody) state.body = e.body;
    if (e.hasHeading) state.heading = e.heading;
  }

  // Plain page: the canonical key against each entry's key.
  int Plain(const LeafEntry& e, ScanState& state) {
    const int r = Canonical(e);
    if (r <= 0) TakeAddresses(e, state);
    return r;
  }

  // Word index, grouped page: a group head carries the canonical key; its
  // members carry the keys as written, checked against the key as typed.
  int Kihon(const LeafEntry& e, ScanState& state) {
    switch (e.kind) {
      case kEntrySingle: {
        const int r = Canonical(e);
        if (r < 0) return -1;
        if (r > 0) return kKeyGoesOn;
        if (ExactFolded(e) != kKeyMatch) return kKeyGoesOn;
        TakeAddresses(e, state);
        return kKeyMatch;
      }
      case kEntryGroupHead: {
        const int r = Canonical(e);
        state.groupMatched = r == kKeyMatch;
        return r < 0 ? -1 : kKeyGoesOn;
      }
      default:  // member
        if (!state.groupMatched || ExactFolded(e) != kKeyMatch) return kKeyGoesOn;
        TakeAddresses(e, state);
        return kKeyMatch;
    }
  }

  // Keyword and cross indexes: members have no key and belong to the last head.
  int Joken(const LeafEntry& e, ScanState& state) {
    switch (e.kind) {
      case kEntrySingle: return Single(e, state);
      case kEntryGroupHead:
        state.groupResult = Canonical(e);
        state.heading = e.heading;
        return kKeyGoesOn;
      default:  // member: the heading stays the group's, or page 0 after a hit
        if (state.groupResult > 0) return kKeyGoesOn;
        state.body = e.body;
        return state.groupResult;
    }
  }

  // Compound field index: as Joken, but members carry their own headings.
  int Fukugo(const LeafEntry& e, ScanState& state) {
    switch (e.kind) {
      case kEntrySingle: return Single(e, state);
      case kEntryGroupHead: state.groupResult = Canonical(e); return kKeyGoesOn;
      default:
        if (state.groupResult > 0) return kKeyGoesOn;
        TakeAddresses(e, state);
        return state.groupResult;
    }
  }

  int Single(const LeafEntry& e, ScanState& state) {
    const int r = Canonical(e);
    if (r > 0) {
      state.groupResult = kKeyGoesOn;
      return kKeyGoesOn;
    }
    TakeAddresses(e, state);
    return r;
  }

  Reporter& reporter_;
  const PreparedKey& key_;
  bool exact_;
  bool kanaFold_;
  LeafShape groupedShape_;
};

// Hits without a heading (the later members of a keyword group) get the
// heading line that follows the previous hit's heading in the book.
void CompleteHeadings(TDisk& disk, Wordlist& list) {
  bool haveHeading = false;
  BookAddress heading;
  for (int i = 0; i < list.Count(); ++i) {
    if (list.Item(i).heading.page != 0) {
      heading = list.Item(i).heading;
      haveHeading = true;
      continue;
    }
    if (!haveHeading || disk.Seek(heading) != 0) continue;
    EscapeItem item;
    for (int units = 0; units < kMaxHeadingUnits; ++units) {
      const int value = DecodeNext(disk, item, false);
      if (value == kDecodeEnd || (value == kDecodeEscape && item.code == 0x0A)) break;
    }
    heading = disk.Tell();
    list.SetHeading(i, heading);
  }
}

}  // namespace

// Branch keys have a fixed length and may be cut short of the keys below
// them. An entry whose key the search key begins with (kKeyGoesOn) may hold
// the search key below it, so the descent goes down the first such entry
// before the one that stops it: starting a scan early is only slower, since
// the leaf scan moves on to the following pages, while starting late misses.
int32_t SearchIndex(TDisk& disk, const IndexKindRow& index, std::string_view canonicalKey) {
  int32_t page = index.start;
  for (int reads = 0;; ++reads) {
    if (reads >= kMaxDescentPages) {
      disk.reporter().Warning(Sjis("ｲﾝﾃﾞｯｸｽの入力ｴﾗｰが発生しました."));
      return 0;
    }
    if (page <= 0 || disk.ReadPage(page) != 0) return 0;
    const uint8_t* buffer = disk.PageBuffer();
    const IndexPageHeader header(buffer);
    if (header.IsLeaf()) return page;

    int32_t candidate = 0;
    int32_t next = 0;
    bool stopped = false;
    BranchCursor cursor(buffer);
    while (!cursor.Done()) {
      BranchEntry entry;
      if (!cursor.Next(&entry)) {
        disk.reporter().Fatal("Too much index are read.");
        return 0;
      }
      const int r = CompareKey(canonicalKey, entry.key, entry.keyLength, true, false);
      if (r == kKeyGoesOn) {
        if (candidate == 0) candidate = entry.child;
      } else if (r <= 0) {
        next = candidate != 0 ? candidate : entry.child;
        stopped = true;
        break;
      }
    }
    if (!stopped) {
      // No entry stopped: the key lies further along this level, or after
      // every key of the index when this is the level's last page.
      if (candidate != 0) next = candidate;
      else if (header.IsLastOfLevel() || page == INT32_MAX) return 0;
      else next = page + 1;
    }
    page = next;
  }
}

bool ScanLeaves(const SearchContext& context, Wordlist& target, const PreparedKey& key,
                int32_t startPage) {
  TDisk& disk = context.disk;
  if (startPage <= 0 || disk.ReadPage(startPage) != 0) return false;
  LeafMatcher matcher(context, key);
  ScanState state;
  bool found = false;
  bool stop = false;
  for (int32_t page = startPage; !stop;) {
    // Entries point into the page buffer, which stays on this page until the
    // next ReadPage below.
    const uint8_t* buffer = disk.PageBuffer();
    const IndexPageHeader header(buffer);
    if (!header.IsLeaf()) break;
    const LeafShape shape = matcher.ShapeOf(header);
    LeafCursor cursor(buffer, shape);
    for (;;) {
      bool pageDone = false;
      const int r = matcher.Next(cursor, shape, state, &pageDone);
      if (pageDone) break;
      if (r == kStop || r < 0) {
        stop = true;
        break;
      }
      if (r > 0) continue;
      found = true;
      if (!target.Append(state.heading, state.body, context.book) || context.firstHitOnly) {
        stop = true;
        break;
      }
      state.heading = BookAddress{};
    }
    if (stop || header.IsLastOfLevel() || page == INT32_MAX) break;
    ++page;
    if (disk.ReadPage(page) != 0) break;
  }
  CompleteHeadings(disk, target);
  return found;
}

}  // namespace morva
