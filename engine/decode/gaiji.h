// External characters: the bitmap cache of a sub-book's 16- and 24-dot fonts,
// and the conversion table (TGaiji) that turns codes into replacement text.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace morva {

class TDisk;

// One font slot: 1 full width, 0 half width.
struct GaijiFontSlot {
  int32_t cachePage = 0;  // 1-based page of the cache file; 0 = no font
  int width = 0;
  int height = 0;
  int sizeClass = 0;      // 16 or 24
  uint16_t firstCode = 0;
  int count = 0;
};

// The bitmap of one character: height rows of 2 bytes (8- and 16-dot wide
// fonts) or 4 bytes (24-dot wide); a set bit is background.
struct GaijiBitmap {
  int width = 0;
  int height = 0;
  std::array<uint8_t, 4 * 24> rows{};
  int BytesPerRow() const { return width > 16 ? 4 : 2; }
};

// Copies the fonts of the current sub-book (IndexKind rows 0xF1, 0xF2) into
// the cache file and fills the two slots.
void BuildGaijiCache(TDisk& disk);

// The bitmap of a code in a slot; false when the slot has no font or the code
// lies outside it.
bool FetchGaijiBitmap(TDisk& disk, int slot, uint16_t code, GaijiBitmap* out);

// The conversion table: up to 2000 codes, each with a half-width and a
// full-width replacement text held in an 8000-byte pool.
class TGaiji {
 public:
  static constexpr int kMaxEntries = 2000;
  static constexpr int kPoolSize = 8000;

  void Clear();
  // Parses one conversion line. Returns false ("stop accepting") only when a
  // limit was hit; the warning is then shown through the disk's reporter.
  bool AddLine(TDisk& disk, std::string_view line);
  // Pool position of the text for the code and width, or -1.
  int Lookup(uint32_t code, bool fullWidth) const;
  // The zero-terminated text at a pool position.
  const char* TextAt(int position) const { return pool_.data() + position; }
  int Count() const { return static_cast<int>(entries_.size()); }

 private:
  struct Entry {
    uint32_t code = 0;
    int half = -1;  // pool positions, -1 none
    int full = -1;
  };
  std::vector<Entry> entries_;
  std::array<char, kPoolSize> pool_{};
  int used_ = 0;
};

}  // namespace morva
