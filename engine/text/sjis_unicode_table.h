// The code page 932 double-byte table behind unicode.h. The data lives in
// sjis_unicode_table.cpp, which tools/gen_sjis_table.py generates from Python's
// cp932 codec; unicode.cpp is its only user. All of it is constant and lives
// for the whole run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace morva::sjis_table {

inline constexpr uint8_t kFirstTrail = 0x40;
inline constexpr size_t kTrailCount = 0xFC - 0x40 + 1;  // trails 0x40..0xFC; 0x7F is always empty
inline constexpr uint8_t kNoRow = 0xFF;

// Row of kRows that holds a lead byte's characters, kNoRow when it has none.
extern const uint8_t kRowOfLead[256];

// kRows[row][trail - kFirstTrail]: the Unicode scalar of a double-byte code
// (all of them lie in the Basic Multilingual Plane); 0 means no character.
extern const uint16_t kRows[][kTrailCount];

// Codes whose character an encoder writes with another code of the table (the
// NEC row 13 and IBM extension duplicates), sorted.
std::span<const uint16_t> NotPreferredCodes();

// Characters that no code decodes to but that encode to a code of the table
// (U+301C WAVE DASH -> 0x8160 and the like).
struct EncodeAlias {
  uint16_t scalar;
  uint16_t code;
};
std::span<const EncodeAlias> EncodeAliases();

}  // namespace morva::sjis_table
