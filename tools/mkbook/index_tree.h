// Index trees: the pages of one searchable index (word, keyword, cross or
// compound-field index), built from its entries. Layout in docs/formats.md
// ("Index tree pages").
//
// A reader descends from the first page (the root) through branch pages to a
// leaf page and then scans leaf pages forward, so the writer
//   - sorts entries by the unsigned bytes of their keys (equal keys keep the
//     caller's order) and packs them into leaf pages;
//   - gives every child page one branch entry whose key is the LAST key of
//     that child, so a descent takes the first entry whose key is not below the
//     search key;
//   - lays the pages out level by level, root first, leaves last, each level
//     on consecutive pages (a reader that finds nothing on a page of a level
//     goes on with the next page).
// Options force small pages and short branch keys, so tests get trees of any
// depth from a handful of keys.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/book/book_address.h"

namespace morva::mkbook {

// Bits of an index page's first byte.
namespace tree_page {
inline constexpr uint8_t kLeaf = 0x80;
inline constexpr uint8_t kFirstOfLevel = 0x40;  // readers ignore it; published books carry it
inline constexpr uint8_t kLastOfLevel = 0x20;
inline constexpr uint8_t kGrouped = 0x10;
inline constexpr int kHeaderSize = 4;  // kind, key length, 2-byte entry count
}  // namespace tree_page

// Entry kinds in grouped leaf pages.
namespace tree_entry {
inline constexpr uint8_t kSingle = 0x00;
inline constexpr uint8_t kGroupHead = 0x80;
inline constexpr uint8_t kGroupMember = 0xC0;
}  // namespace tree_entry

enum class LeafLayout {
  // Plain leaves, a length byte before every key (header key length 0).
  kPlainWithLengths,
  // Plain leaves, every key padded with 0x00 to one length. A reader taking
  // the index key's whole length for an exact match finds only keys that
  // fill that length, so this suits keys of one length or prefix searches.
  kPlainFixed,
  // Grouped word index: entries with equal (canonical) keys whose written
  // forms differ from the key (kana folded) form a group: a head with the
  // canonical key, then one member per entry with its written key.
  kGroupedWord,
  // Grouped keyword or cross index: a run of two or more equal keys becomes a
  // head (key and the first entry's heading) and members that carry only a
  // body address. A reader gives the later members the headings that follow
  // the first one line by line, so such runs suit entries whose headings are
  // consecutive lines of one heading text.
  kGroupedKeyword,
  // Grouped compound-field index: a run of two or more equal keys becomes a
  // head with the key and members with body and heading addresses.
  kGroupedCompound,
};

struct TreeEntry {
  std::string key;  // bytes as compared: canonical JIS codes, 1..255 bytes
  BookAddress body;
  BookAddress heading;
  // kGroupedWord only: the key as written (empty = the key itself).
  std::string written = {};
};

struct IndexTreeOptions {
  LeafLayout leaves = LeafLayout::kPlainWithLengths;
  // kPlainFixed: the key length of every leaf entry; 0 = the longest key.
  int leafKeyLength = 0;
  // Key length of branch entries; 0 = the longest key of each branch page.
  // Longer keys are cut to it (a reader then falls back on its rule for
  // branch keys that equal the search key's beginning).
  int branchKeyLength = 0;
  // At most this many entries per page; 0 = as many as fit. A branch page
  // needs room for at least 2.
  int maxLeafEntries = 0;
  int maxBranchEntries = 0;
  // The last branch entry of every level gets the key FF..FF, so a search key
  // beyond every key still descends to the last leaf (as published books do).
  bool lastKeySentinel = true;
};

struct IndexTree {
  int32_t firstPage = 0;  // the root
  std::string pages;      // whole pages, the root first
  int depth = 0;          // levels, leaves included: 1 = a single leaf page
  int32_t firstLeafPage = 0;
  int32_t leafPageCount = 0;

  int32_t PageCount() const { return static_cast<int32_t>(pages.size() / kPageSize); }
};

// Builds the pages of an index whose root will lie on firstPage. Throws
// std::invalid_argument for an empty key, a key (or written key) longer than
// 255 bytes, or one longer than a fixed leaf key length.
IndexTree BuildIndexTree(std::vector<TreeEntry> entries, int32_t firstPage,
                         const IndexTreeOptions& options = {});

// A key with its 2-byte characters in reverse order, as backward (suffix)
// indexes store their keys; a stray last byte counts as one character.
std::string ReverseJisKey(std::string_view key);

// Katakana folded onto the hiragana cells (0x25xx -> 0x24xx): the form in
// which a reader compares written keys of word-index groups.
std::string FoldKatakana(std::string_view key);

}  // namespace morva::mkbook
