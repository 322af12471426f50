// Search keys: an operand of a query turned into the 2-byte JIS X 0208 key
// that index pages store (or a byte key in a single-byte book), the choice of
// the index to search (iKeyId), the match mode, and the per-index
// canonicalisation and reversal. Pure computation on strings and the current
// sub-book's IndexKind table; nothing here reads a page.
//
// Order of use (PrepareKey does it all):
//   ConvertKey -> choose the index row -> DecideMatchMode -> Canonicalise
//   -> ReverseKey for the backward indexes 0x70, 0x71, 0x72.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace morva {

class TDisk;
struct IndexKindRow;

// Bits gathered while an operand is converted.
namespace search_flags {
inline constexpr unsigned kTrailStar = 0x001;  // operand ends with '*'
inline constexpr unsigned kLeadStar = 0x002;   // operand begins with '*'
inline constexpr unsigned kLeadPlus = 0x004;   // begins with '+'
inline constexpr unsigned kDoubleAt = 0x008;   // begins with two '@'
inline constexpr unsigned kAlpha = 0x010;
inline constexpr unsigned kDigit = 0x020;
inline constexpr unsigned kKana = 0x040;
inline constexpr unsigned kKanji = 0x080;
inline constexpr unsigned kOther = 0x100;
inline constexpr unsigned kSingleAt = 0x200;  // begins with one '@'
}  // namespace search_flags

// Operand buffers hold at most kOperandCapacity - 1 bytes.
inline constexpr size_t kOperandCapacity = 80;

// Index codes the key conversion chooses among.
namespace index_codes {
inline constexpr uint8_t kForwardKana = 0x90;
inline constexpr uint8_t kBackwardKana = 0x70;
inline constexpr uint8_t kForwardAlpha = 0x92;
inline constexpr uint8_t kBackwardAlpha = 0x72;
inline constexpr uint8_t kForwardWord = 0x91;
inline constexpr uint8_t kBackwardWord = 0x71;
inline constexpr uint8_t kKanji = 0x50;
inline constexpr uint8_t kKeyword = 0x80;
inline constexpr uint8_t kCross = 0x81;
inline constexpr uint8_t kNumber = 0xA0;
inline constexpr uint8_t kCompoundSlot = 0xFF;
}  // namespace index_codes

// The result of converting one operand.
struct ConvertedKey {
  // ExactKey: JIS X 0208 codes, two bytes each, high byte first (at most 78
  // bytes); in a single-byte book one byte per character (at most 79).
  std::string exact;
  uint8_t keyId = 0;          // iKeyId: the index code to search
  bool explicitCode = false;  // the operand began with "$xx"
  bool prefixRequested = false;
  unsigned flags = 0;  // search_flags bits
};

// Converts an operand (Shift-JIS, as the operand reader returns it) for the
// current sub-book of disk: markers, character classes, the "$xx" explicit
// index code, and the choice of iKeyId from the indexes the sub-book has.
// Storage stops at the first character that does not fit capacity. Bytes
// that have no JIS form (control bytes, broken Shift-JIS pairs) are dropped.
ConvertedKey ConvertKey(const TDisk& disk, std::string_view operand,
                        size_t capacity = kOperandCapacity);

enum class MatchMode {
  kExact,   // the key must equal the index key over its whole length
  kPrefix,  // the key matches every index key that begins with it
};

// Prefix when the conversion asked for it, or when the book's ZENPO value is
// on and iKeyId is 0x90, 0x91, 0x92 or 0xFF.
MatchMode DecideMatchMode(const ConvertedKey& key, const TDisk& disk);

// The CanonicalKey of an ExactKey for an index row: upper-casing, kana
// folding for the kana indexes, dropped punctuation and long-vowel handling
// by the row's first option byte. A single-byte book's key is returned
// unchanged.
std::string Canonicalise(std::string_view exactKey, const IndexKindRow& index, const TDisk& disk);

// The key with its characters in reverse order: 2-byte characters, or bytes
// when singleByte is set. An odd trailing byte of a 2-byte key stays last.
std::string ReverseKey(std::string_view key, bool singleByte);

// True for the backward indexes, whose keys are stored reversed.
bool IsBackwardIndex(uint8_t keyId);

// Everything the index search needs for one operand.
struct PreparedKey {
  ConvertedKey converted;
  int indexRow = 0;           // row of converted.keyId in disk.subbook().indexes
  bool indexPresent = false;  // the sub-book has that index
  MatchMode mode = MatchMode::kExact;
  std::string exact;      // ExactKey, reversed for backward indexes
  std::string canonical;  // CanonicalKey, likewise
};

// ConvertKey, the index row, DecideMatchMode, Canonicalise and ReverseKey in
// that order. An explicit code that the IndexKind table does not know counts
// as an absent index. Does not touch disk.subbook().currentIndexRow.
PreparedKey PrepareKey(const TDisk& disk, std::string_view operand);

}  // namespace morva
