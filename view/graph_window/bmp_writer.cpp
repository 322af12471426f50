#include "view/graph_window/bmp_writer.h"

#include <cstdio>

namespace morva {
namespace {

void Put16(std::string& out, uint32_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>(v >> 8 & 0xFF));
}

void Put32(std::string& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

constexpr uint32_t kPixelsPerMetre = 3780;  // 96 dots per inch

}  // namespace

std::string EncodeMonochromeBmp(int width, int height,
                                const std::function<bool(int x, int y)>& black) {
  std::string out;
  if (width < 1 || height < 1) return out;
  const uint32_t rowBytes = (static_cast<uint32_t>(width) + 31) / 32 * 4;
  const uint32_t bitsSize = rowBytes * static_cast<uint32_t>(height);
  out.reserve(kBmpHeaderBytes + bitsSize);

  // BITMAPFILEHEADER
  out += "BM";
  Put32(out, kBmpHeaderBytes + bitsSize);
  Put16(out, 0);
  Put16(out, 0);
  Put32(out, kBmpHeaderBytes);
  // BITMAPINFOHEADER
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(width));
  Put32(out, static_cast<uint32_t>(height));
  Put16(out, 1);
  Put16(out, 1);
  Put32(out, 0);
  Put32(out, bitsSize);
  Put32(out, kPixelsPerMetre);
  Put32(out, kPixelsPerMetre);
  Put32(out, 2);
  Put32(out, 2);
  // Palette: 0 black, 1 white.
  Put32(out, 0x00000000);
  Put32(out, 0x00FFFFFF);

  std::string row(rowBytes, '\0');
  for (int y = height - 1; y >= 0; --y) {
    row.assign(rowBytes, '\0');
    for (int x = 0; x < width; ++x) {
      if (!black(x, y)) row[static_cast<size_t>(x / 8)] |= static_cast<char>(0x80 >> (x % 8));
    }
    out += row;
  }
  return out;
}

bool WriteFileBytes(const std::string& path, const std::string& bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  const bool closed = std::fclose(file) == 0;
  return written && closed;
}

}  // namespace morva
