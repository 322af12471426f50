// Wordlist: the hits of a search. Each item holds the heading and body
// addresses of one entry and the book-list position of its book. The main
// window owns the main list; searches make temporary lists while they combine
// operands and books.
//
// Items are fixed-size records in one block that grows by 2,000 items at a
// time. A failed growth shows the fatal box "項目リスト用の記憶域を確保できません。"
// through the list's reporter and Append returns false (a front end ends the
// program there; a test reporter just records it).
//
// References and spans into the list stay valid until the next call that
// changes it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/book/book_address.h"

namespace morva {

class Reporter;
class TDisk;

struct WordlistItem {
  static constexpr int kNameKeyLength = 8;

  BookAddress heading;  // page 0: the item has no heading (the whole menu)
  bool mark = false;    // marked by the user
  BookAddress body;
  int32_t book = 0;  // position of the item's book in the book list
  // NUL-terminated sort key, filled by the first sort by name; empty until then.
  std::array<char, kNameKeyLength + 1> nameKey{};

  std::string_view NameKey() const { return std::string_view(nameKey.data()); }
};

class Wordlist {
 public:
  static constexpr int kGrowthStep = 2000;

  // The reporter receives the fatal box when the list cannot grow; it must
  // outlive the list.
  explicit Wordlist(Reporter& reporter) : reporter_(&reporter) {}

  int Count() const { return static_cast<int>(items_.size()); }
  bool IsEmpty() const { return items_.empty(); }
  // Items the block holds: 0, 2000, 4000, ...
  int Capacity() const { return capacity_; }
  int MarkedCount() const { return marked_; }
  const WordlistItem& Item(int index) const { return items_[static_cast<size_t>(index)]; }
  std::span<const WordlistItem> Items() const { return items_; }

  // Releases the block; count, capacity and marked become 0.
  void Empty();

  // Appends an item with an empty name key and no mark. An item whose body
  // address and book equal those of the last item is not stored (true is
  // still returned). False only when the list could not grow.
  bool Append(BookAddress heading, BookAddress body, int32_t book);
  // Appends every item of source in order, stopping at the first failure.
  bool AppendAll(const Wordlist& source);

  // Sets every item's mark; the marked count becomes Count() or 0.
  void SetMarks(bool on);
  void SetMark(int index, bool on);
  // Gives an item a heading address (the search fills in the headings of
  // group members this way).
  void SetHeading(int index, BookAddress heading);

  // Keeps the first of every run of items with equal body addresses.
  void RemoveConsecutiveDuplicates();

  // Whether an item with this body address is in the list, by bisection.
  // REQUIRES: the list is sorted by body address.
  bool Contains(BookAddress body) const;

  // Sorts source by body address, then keeps, in their order, the items of
  // this list whose body address source contains (keep = true, "and") or
  // does not contain (keep = false, "not").
  void Filter(Wordlist& source, bool keep);

  // Ascending by body address (page as a signed number, then offset).
  void SortByBody();
  // Ascending by book, then body address.
  void SortByBookAndBody();
  // Ascending by name key (unsigned bytes). Name keys are computed from the
  // headings (HeadingText in key mode, first 8 bytes) when the first item's
  // key is empty; this selects the items' books on disk.
  void SortByName(TDisk& disk);

  // Caps the capacity (in items) the list may grow to; growing beyond it
  // fails like an exhausted memory. For tests of the failure path.
  void LimitCapacity(int maxItems) { capacityLimit_ = maxItems; }

 private:
  bool Grow();

  Reporter* reporter_;
  std::vector<WordlistItem> items_;
  int capacity_ = 0;
  int marked_ = 0;
  int capacityLimit_ = -1;  // -1: no limit but memory
};

enum class HeadingMode {
  kDisplay,  // the text as shown in the word-list grid
  kKey,      // the sort form: letters upper-cased, symbols and digits skipped
};

// Bytes of a heading the word-list grid shows, and the limit that keeps the
// whole heading line (for output that scripts read).
inline constexpr size_t kListHeadingBytes = 50;
inline constexpr size_t kWholeHeading = static_cast<size_t>(-1);

// The heading text of item `index` of list: the heading line, below `limit`
// bytes and never splitting a double-byte character. *cut (when given) tells
// whether the limit left text of the line out. Selects the item's book first.
// An item without heading gives "[メニュー全体]" ("[MENU]" in a single-byte
// book); an index outside the list gives "". In display mode external
// characters come out as the 4-byte marker 0x0B w h l under
// GaijiMode::kBitmap, else as "[%04x]".
std::string HeadingText(TDisk& disk, const Wordlist& list, int index, HeadingMode mode,
                        size_t limit = kListHeadingBytes, bool* cut = nullptr);

}  // namespace morva
