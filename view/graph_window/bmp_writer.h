// Monochrome Windows bitmap files (.BMP), written byte by byte:
//
//   BITMAPFILEHEADER   14 bytes  "BM", file size, 0, 0, offset of the bits (62)
//   BITMAPINFOHEADER   40 bytes  size 40, width, height (positive: bottom-up),
//                                1 plane, 1 bit per pixel, no compression,
//                                size of the bits, 3780 x 3780 pixels per metre
//                                (96 dpi), 2 colours
//   palette             8 bytes  index 0 black, index 1 white (B, G, R, 0)
//   bits                         rows bottom-up, leftmost pixel in the high
//                                bit, each row padded to a multiple of 4 bytes
//
// All numbers little-endian.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace morva {

inline constexpr int kBmpHeaderBytes = 14 + 40 + 8;

// The bytes of a width x height monochrome bitmap; black(x, y) tells each
// pixel. Empty for a size below 1.
std::string EncodeMonochromeBmp(int width, int height,
                                const std::function<bool(int x, int y)>& black);

// Writes the bytes to path; false when the file cannot be written whole.
bool WriteFileBytes(const std::string& path, const std::string& bytes);

}  // namespace morva
