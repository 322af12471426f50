// External characters: the bitmap cache of a sub-book's 16- and 24-dot fonts.
// The conversion table (TGaiji) and the cache's state belong to TDisk and are
// declared with it.
#pragma once

#include <array>
#include <cstdint>

#include "engine/book/gaiji_cache_state.h"
#include "engine/book/tgaiji.h"

namespace morva {

class TDisk;

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

}  // namespace morva
