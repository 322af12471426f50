// IndexPage: the page that lists a sub-book's indexes and special areas
// (body text, menu, copyright page, fonts) with their pages. Layout in
// docs/formats.md.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace morva::mkbook {

// Codes of the index page entries used by the writers here.
namespace index_code {
inline constexpr uint8_t kBody = 0x00;
inline constexpr uint8_t kMenu = 0x01;
inline constexpr uint8_t kCopyright = 0x02;
inline constexpr uint8_t kWordTitles = 0x05;
inline constexpr uint8_t kForwardWord = 0x91;
inline constexpr uint8_t kBackwardWord = 0x71;
inline constexpr uint8_t kKeyword = 0x80;
}  // namespace index_code

struct IndexEntry {
  uint8_t code = 0;
  uint32_t startPage = 0;
  uint32_t pageCount = 0;
  std::array<uint8_t, 3> options{};  // bytes 11, 12, 13 of the entry
};

class IndexPage {
 public:
  static constexpr int kEntryOffset = 16;
  static constexpr int kEntrySize = 16;
  static constexpr int kMaxEntries = (2048 - kEntryOffset) / kEntrySize;  // 127

  // Throws std::length_error past kMaxEntries.
  void Add(const IndexEntry& entry);
  const std::vector<IndexEntry>& Entries() const { return entries_; }

  // Bits that forbid display (bit 0), printing (bit 1), quotation (bit 2).
  void SetProtection(uint8_t bits) { protection_ = bits; }
  // Writes this count instead of the real one: a damaged page may claim up to
  // 255 entries (the count is one byte).
  void SetDeclaredCount(uint8_t count) { declaredCount_ = count; }

  // One 2048-byte page.
  std::string Build() const;

 private:
  std::vector<IndexEntry> entries_;
  uint8_t protection_ = 0;
  std::optional<uint8_t> declaredCount_;
};

}  // namespace morva::mkbook
