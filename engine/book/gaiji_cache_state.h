// The external-character part of TDisk: the two font slots of the bitmap
// cache file and the cache page held in memory.
#pragma once

#include <array>
#include <cstdint>

#include "engine/book/book_address.h"

namespace morva {

// One font slot: 1 full width, 0 half width.
struct GaijiFontSlot {
  int32_t cachePage = 0;  // 1-based page of the cache file; 0 = no font
  int width = 0;
  int height = 0;
  int sizeClass = 0;  // 16 or 24
  uint16_t firstCode = 0;
  int count = 0;
};

struct GaijiCacheState {
  std::array<GaijiFontSlot, 2> fontSlots{};  // [0] half width, [1] full width
  int32_t bufferPage = -1;                   // cache page in page, -1 none
  std::array<uint8_t, kPageSize> page{};
};

}  // namespace morva
