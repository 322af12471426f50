// Font: an external-character font file. The first page is a header naming
// the glyph size, the first code and the number of characters; the bitmaps
// follow from the second page, one bit per dot (a set bit is ink), rows of
// whole bytes, characters packed into the 1024-byte halves of each page and
// never split across two halves. Layout in docs/formats.md.
//
// The usual sizes are 16x16 and 24x24 (full width) and 8x16 and 16x24 (half
// width); any size up to 1024 bytes per character can be written, for tests
// of fonts that readers should refuse.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morva::mkbook {

class Font {
 public:
  static constexpr int kHalfSize = 1024;

  // Throws std::invalid_argument for a size outside 1..255 or a character
  // larger than one half page.
  Font(int width, int height, uint16_t firstCode = 0xA121);

  int width() const { return width_; }
  int height() const { return height_; }
  uint16_t firstCode() const { return firstCode_; }
  int BytesPerRow() const { return (width_ + 7) / 8; }
  int BytesPerChar() const { return BytesPerRow() * height_; }
  int CharsPerHalf() const { return kHalfSize / BytesPerChar(); }
  int Count() const { return static_cast<int>(glyphs_.size()); }

  // The code of character n: codes run through the 94 cells of a row
  // (0xA121..0xA17E, then 0xA221..) counted from the first code.
  uint16_t CodeOf(int n) const;

  // Adds the next character and returns its code. A pattern has one string
  // per row, '#' (or any character but ' ' and '.') for ink; short rows and
  // missing rows are blank. Bitmap bytes are BytesPerChar() long, rows of
  // BytesPerRow() bytes, the leftmost dot in the high bit.
  uint16_t AddPattern(const std::vector<std::string>& rows);
  uint16_t AddBitmap(std::string_view bytes);

  // Writes this count into the header instead of the real one.
  void SetDeclaredCount(uint16_t count) { declaredCount_ = count; }

  // Where character n lies in the file: its page (the header is page 1) and
  // byte offset within that page.
  struct Place {
    int page;
    int offset;
  };
  Place PlaceOf(int n) const;

  // The whole file: header page plus bitmap pages.
  std::string Build() const;

 private:
  int width_;
  int height_;
  uint16_t firstCode_;
  std::vector<std::string> glyphs_;
  std::optional<uint16_t> declaredCount_;
};

}  // namespace morva::mkbook
