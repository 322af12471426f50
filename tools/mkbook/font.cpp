#include "tools/mkbook/font.h"

#include <stdexcept>

#include "engine/book/book_address.h"
#include "tools/mkbook/bytes.h"

namespace morva::mkbook {

Font::Font(int width, int height, uint16_t firstCode)
    : width_(width), height_(height), firstCode_(firstCode) {
  if (width < 1 || width > 255 || height < 1 || height > 255)
    throw std::invalid_argument("font size outside 1..255");
  if (BytesPerChar() > kHalfSize) throw std::invalid_argument("character larger than half a page");
}

uint16_t Font::CodeOf(int n) const {
  return static_cast<uint16_t>(firstCode_ + 256 * (n / 94) + n % 94);
}

uint16_t Font::AddPattern(const std::vector<std::string>& rows) {
  std::string bytes(static_cast<size_t>(BytesPerChar()), '\0');
  for (int y = 0; y < height_ && y < static_cast<int>(rows.size()); ++y) {
    const std::string& row = rows[static_cast<size_t>(y)];
    for (int x = 0; x < width_ && x < static_cast<int>(row.size()); ++x) {
      const char c = row[static_cast<size_t>(x)];
      if (c == ' ' || c == '.') continue;
      bytes[static_cast<size_t>(y * BytesPerRow() + x / 8)] |= static_cast<char>(0x80 >> (x % 8));
    }
  }
  return AddBitmap(bytes);
}

uint16_t Font::AddBitmap(std::string_view bytes) {
  if (static_cast<int>(bytes.size()) != BytesPerChar())
    throw std::invalid_argument("bitmap size does not match the font");
  glyphs_.emplace_back(bytes);
  return CodeOf(Count() - 1);
}

Font::Place Font::PlaceOf(int n) const {
  const int half = n / CharsPerHalf();
  const int offset = (n % CharsPerHalf()) * BytesPerChar() + (half % 2) * kHalfSize;
  return {2 + half / 2, offset};
}

std::string Font::Build() const {
  std::string out(kPageSize, '\0');
  out[8] = static_cast<char>(width_);
  out[9] = static_cast<char>(height_);
  Put(out, 10, Be16(firstCode_));
  Put(out, 12, Be16(declaredCount_.value_or(static_cast<uint16_t>(Count()))));
  for (int n = 0; n < Count(); ++n) {
    const Place p = PlaceOf(n);
    Put(out, static_cast<size_t>(p.page - 1) * kPageSize + static_cast<size_t>(p.offset),
        glyphs_[static_cast<size_t>(n)]);
  }
  out.resize((out.size() + kPageSize - 1) / kPageSize * kPageSize, '\0');
  return out;
}

}  // namespace morva::mkbook
