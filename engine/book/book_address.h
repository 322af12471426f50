// BookAddress: a place in a sub-book's page space of 2048-byte pages.
// Page numbers start at 1; the offset lies in 0..2047 once normalised.
// Stored forms: 6 bytes (page 4, offset 2) in index entries, packed decimal in
// escape parameters, 8 + 4 hexadecimal digits in markers.
#pragma once

#include <compare>
#include <cstdint>

namespace morva {

inline constexpr int kPageSize = 2048;

struct BookAddress {
  int32_t page = 0;
  int32_t offset = 0;

  // The address of absolute byte position p (page 1 begins at byte 0).
  static BookAddress FromPosition(int64_t p) {
    return {static_cast<int32_t>(p / kPageSize + 1), static_cast<int32_t>(p % kPageSize)};
  }
  int64_t Position() const { return (static_cast<int64_t>(page) - 1) * kPageSize + offset; }

  // Moves an offset outside 0..2047 onto the neighbouring pages.
  BookAddress Normalised() const { return FromPosition(Position()); }

  friend auto operator<=>(const BookAddress&, const BookAddress&) = default;
};

}  // namespace morva
