// The IndexKind table: the 31 index codes the program knows, filled from a
// sub-book's index page, and the five menu variants.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace morva {

// Input class bits of a row: bit 0 keyed index, bit 1 searched with kana input.
inline constexpr int kKeyedIndex = 1;
inline constexpr int kKanaInput = 2;

struct IndexKindRow {
  uint8_t code = 0;
  int inputClass = 0;
  // File names of the split layout: one name, or two separated by a comma
  // (try the first, then the second); empty when none.
  const char* splitNames = "";
  int32_t start = 0;  // 0: the index is absent
  int32_t end = 0;    // start + page count - 1
  std::array<uint8_t, 3> options{};
};

class IndexKindTable {
 public:
  static constexpr int kRows = 31;
  IndexKindTable();

  // Row of a code, or 0 (the body text row) for a code not in the table.
  int RowOf(uint8_t code) const;
  IndexKindRow& Row(int r) { return rows_[static_cast<size_t>(r)]; }
  const IndexKindRow& Row(int r) const { return rows_[static_cast<size_t>(r)]; }
  IndexKindRow& ByCode(uint8_t code) { return Row(RowOf(code)); }
  const IndexKindRow& ByCode(uint8_t code) const { return Row(RowOf(code)); }

  int32_t Start(uint8_t code) const { return ByCode(code).start; }
  int32_t End(uint8_t code) const { return ByCode(code).end; }
  bool Has(uint8_t code) const { return Start(code) != 0; }

  // Clears start, end and options of every row.
  void Clear();

 private:
  std::array<IndexKindRow, kRows> rows_;
};

// The menu variants 0x01, 0x26, 0x20, 0x27, 0x28: each with start and end.
struct MenuVariants {
  static constexpr std::array<uint8_t, 5> kCodes{0x01, 0x26, 0x20, 0x27, 0x28};
  std::array<int32_t, 5> start{};
  std::array<int32_t, 5> end{};
  int firstPresent = -1;  // position 0..4 of the first variant found, -1 none
  int count = 0;
  void Clear() { *this = MenuVariants{}; }
};

}  // namespace morva
