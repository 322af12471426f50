// A small reader of index trees for the writer's tests: it descends from the
// root the way a search does (the first branch entry whose key is not below
// the search key, falling back on the last entry whose key equals the search
// key's beginning when a leaf comes next), then scans leaf pages forward with
// the plain and grouped comparisons. It checks the writer's trees against the
// search rules rather than against the writer's own idea of them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/book/book_address.h"

namespace morva::mkbook::testing {

struct Hit {
  BookAddress body;
  BookAddress heading;
  bool operator==(const Hit&) const = default;
};

class TreeReader {
 public:
  // pages: the tree's pages, the first being firstPage; code: the index code
  // (0x80 and 0x81 keyword, 0xFF compound field, any other a word index).
  TreeReader(std::string_view pages, int32_t firstPage, uint8_t code = 0x90)
      : pages_(pages), firstPage_(firstPage), code_(code) {}

  // The first leaf page to scan for key, 0 for none.
  int32_t Descend(std::string_view key) const {
    int32_t page = firstPage_;
    int32_t candidate = 0;
    for (int reads = 0; reads < 101; ++reads) {
      const std::string_view p = Page(page);
      if (p.empty()) return 0;
      if (Byte(p, 0) & 0x80) return candidate != 0 ? candidate : page;
      candidate = 0;
      int32_t next = page + 1;
      bool stopped = false;
      const size_t length = Byte(p, 1);
      for (size_t i = 0, pos = 4; i < Be16(p, 2) && pos + length + 4 <= p.size(); ++i, pos += length + 4) {
        const int r = Compare(key, p.substr(pos, length), true, false);
        const auto child = static_cast<int32_t>(Be32(p, pos + length));
        if (r == 1) candidate = child;
        if (r <= 0) {
          next = child;
          stopped = true;
          break;
        }
      }
      if (!stopped && (Byte(p, 0) & 0x20)) return 0;
      page = next;
    }
    return 0;
  }

  // canonical: the key compared everywhere; exact: the key as typed, compared
  // kana folded with the written keys of word-index groups (empty = canonical).
  std::vector<Hit> Find(std::string_view canonical, bool prefix = false, std::string_view exact = {}) const {
    if (exact.empty()) exact = canonical;
    std::vector<Hit> hits;
    Scan s{canonical, exact, !prefix};
    for (int32_t page = Descend(canonical); page != 0; ++page) {
      const std::string_view p = Page(page);
      if (p.empty() || !(Byte(p, 0) & 0x80)) break;
      size_t pos = 4;
      for (size_t i = 0; i < Be16(p, 2) && pos < p.size(); ++i) {
        Hit h{};
        const int r = (Byte(p, 0) & 0x10) ? Grouped(s, p, pos, h) : Plain(s, p, pos, h);
        if (r == 0) {
          hits.push_back(h);
          s.heading = {};
        }
        if (r < 0) return hits;
      }
      if (Byte(p, 0) & 0x20) break;
    }
    return hits;
  }

 private:
  struct Scan {
    std::string_view canonical, exact;
    bool exactMatch;
    bool groupMatches = false;  // word indexes
    int groupState = 1;         // keyword and compound indexes
    BookAddress heading = {};
  };

  static size_t Byte(std::string_view p, size_t at) { return at < p.size() ? static_cast<uint8_t>(p[at]) : 0; }
  static size_t Be16(std::string_view p, size_t at) { return Byte(p, at) << 8 | Byte(p, at + 1); }
  static uint32_t Be32(std::string_view p, size_t at) {
    return static_cast<uint32_t>(Be16(p, at) << 16 | Be16(p, at + 2));
  }
  static BookAddress Address(std::string_view p, size_t at) {
    return {static_cast<int32_t>(Be32(p, at)), static_cast<int32_t>(Be16(p, at + 4))};
  }
  static uint16_t Folded(std::string_view k, size_t i) {
    auto c = static_cast<uint16_t>(Byte(k, i) << 8 | Byte(k, i + 1));
    return (c >> 8) == 0x25 ? static_cast<uint16_t>(c - 0x100) : c;
  }

  // 0 match, +1 key longer than the index key, +2 index key before, -2 after,
  // -1 key ended first under exact matching.
  static int Compare(std::string_view k, std::string_view e, bool exact, bool fold) {
    size_t i = 0;
    while (i < k.size()) {
      if (i >= e.size()) return 1;
      const unsigned a = fold ? Folded(e, i) : Byte(e, i);
      const unsigned b = fold ? Folded(k, i) : Byte(k, i);
      if (a != b) return a < b ? 2 : -2;
      i += fold ? 2 : 1;
    }
    return i >= e.size() || !exact ? 0 : -1;
  }

  static int Plain(Scan& s, std::string_view p, size_t& pos, Hit& h) {
    size_t length = Byte(p, 1);
    if (length == 0) length = Byte(p, pos++);
    const int r = Compare(s.canonical, p.substr(pos, length), s.exactMatch, false);
    h = {Address(p, pos + length), Address(p, pos + length + 6)};
    pos += length + 12;
    return r;
  }

  int Grouped(Scan& s, std::string_view p, size_t& pos, Hit& h) const {
    const size_t kind = Byte(p, pos);
    const size_t length = Byte(p, pos + 1);
    const bool keyword = code_ == 0x80 || code_ == 0x81;
    if (kind == 0x00) {  // single: kind, length, key, body, heading
      const std::string_view key = p.substr(pos + 2, length);
      h = {Address(p, pos + 2 + length), Address(p, pos + 8 + length)};
      pos += length + 14;
      const int r = Compare(s.canonical, key, s.exactMatch, false);
      if (code_ != 0xFF && !keyword) {
        if (r != 0) return r < 0 ? -1 : 1;
        return Compare(s.exact, key, s.exactMatch, true) == 0 ? 0 : 1;
      }
      if (r > 0) s.groupState = 1;
      return r;
    }
    if (kind == 0x80) {
      if (code_ != 0xFF && !keyword) {  // head: kind, length, 2 bytes, key
        const int r = Compare(s.canonical, p.substr(pos + 4, length), s.exactMatch, false);
        s.groupMatches = r == 0;
        pos += length + 4;
        return r < 0 ? -1 : 1;
      }
      s.groupState = Compare(s.canonical, p.substr(pos + 6, length), s.exactMatch, false);
      if (keyword) s.heading = Address(p, pos + 6 + length);
      pos += length + (keyword ? 12 : 6);
      return 1;
    }
    if (code_ != 0xFF && !keyword) {  // member: kind, length, written key, body, heading
      const std::string_view key = p.substr(pos + 2, length);
      h = {Address(p, pos + 2 + length), Address(p, pos + 8 + length)};
      pos += length + 14;
      return s.groupMatches && Compare(s.exact, key, s.exactMatch, true) == 0 ? 0 : 1;
    }
    h = {Address(p, pos + 1), keyword ? s.heading : Address(p, pos + 7)};
    pos += keyword ? 7 : 13;
    return s.groupState > 0 ? 1 : s.groupState;
  }

  std::string_view Page(int32_t n) const {
    const int64_t at = static_cast<int64_t>(n - firstPage_) * kPageSize;
    if (n < firstPage_ || at + kPageSize > static_cast<int64_t>(pages_.size())) return {};
    return pages_.substr(static_cast<size_t>(at), kPageSize);
  }

  std::string_view pages_;
  int32_t firstPage_;
  uint8_t code_;
};

}  // namespace morva::mkbook::testing
