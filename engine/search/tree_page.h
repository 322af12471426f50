// Read-only views of the index tree pages in the page buffer. Every entry is
// checked to lie within the 2048-byte page before a byte of it is read, so a
// damaged count or key length never leads outside the buffer.
//
// Page header: byte 0 kind (0x80 leaf, 0x20 last page of its level, 0x10
// grouped leaf entries), byte 1 key length L, bytes 2-3 entry count.
// Branch entry: key (L), child page (4).
// Plain leaf entry: [own length byte when L is 0], key, body (6), heading (6).
// Grouped leaf entries: kind byte (0x00 single, 0x80 group head, 0xC0 group
// member), then a layout that depends on the index (see LeafShape).
// Layouts in full: docs/formats.md.
#pragma once

#include <cstdint>

#include "engine/book/book_address.h"

namespace morva {

struct IndexPageHeader {
  static constexpr uint8_t kLeaf = 0x80;
  static constexpr uint8_t kLastOfLevel = 0x20;
  static constexpr uint8_t kGrouped = 0x10;
  static constexpr int kEntriesOffset = 4;

  uint8_t kind = 0;
  int keyLength = 0;
  int entryCount = 0;

  explicit IndexPageHeader(const uint8_t* page);
  bool IsLeaf() const { return (kind & kLeaf) != 0; }
  bool IsLastOfLevel() const { return (kind & kLastOfLevel) != 0; }
  bool IsGrouped() const { return IsLeaf() && (kind & kGrouped) != 0; }
};

// A 6-byte book address of an index entry: 4-byte page, 2-byte offset.
BookAddress ReadIndexAddress(const uint8_t* p);

struct BranchEntry {
  const uint8_t* key = nullptr;
  int keyLength = 0;
  int32_t child = 0;
};

// Walks the entries of a branch page in order.
class BranchCursor {
 public:
  explicit BranchCursor(const uint8_t* page);
  // All declared entries have been read.
  bool Done() const { return index_ >= header_.entryCount; }
  // Reads the next entry; false when it does not lie within the page.
  // REQUIRES: !Done().
  bool Next(BranchEntry* entry);

 private:
  const uint8_t* page_;
  IndexPageHeader header_;
  int index_ = 0;
  int position_ = IndexPageHeader::kEntriesOffset;
};

// The two shapes of leaf pages, and the three layouts of grouped entries.
enum class LeafShape {
  kPlain,            // no grouped entries
  kGroupedWord,      // word indexes: the head has a canonical key, members keys of their own
  kGroupedKeyword,   // keyword 0x80 and cross 0x81: head with key and heading, members body only
  kGroupedCompound,  // compound field 0xFF: head with key, members body and heading
};

inline constexpr uint8_t kEntrySingle = 0x00;
inline constexpr uint8_t kEntryGroupHead = 0x80;
inline constexpr uint8_t kEntryGroupMember = 0xC0;

struct LeafEntry {
  uint8_t kind = kEntrySingle;   // always kEntrySingle in a plain page
  const uint8_t* key = nullptr;  // nullptr when the entry has no key
  int keyLength = 0;
  bool hasBody = false;
  bool hasHeading = false;
  BookAddress body;
  BookAddress heading;
};

// Walks the entries of a leaf page in order, for either shape.
class LeafCursor {
 public:
  enum Status {
    kEntry,    // *entry holds the next entry
    kEnd,      // all declared entries have been read
    kOverrun,  // the next entry does not lie within the page
    kBadKind,  // a grouped entry of a kind other than 0x00, 0x80, 0xC0
  };
  // shape is kPlain for pages without grouped entries.
  LeafCursor(const uint8_t* page, LeafShape shape);
  Status Next(LeafEntry* entry);

 private:
  Status NextPlain(LeafEntry* entry);
  Status NextGrouped(LeafEntry* entry);

  const uint8_t* page_;
  IndexPageHeader header_;
  LeafShape shape_;
  int index_ = 0;
  int position_ = IndexPageHeader::kEntriesOffset;
};

}  // namespace morva
