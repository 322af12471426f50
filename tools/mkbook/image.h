// Pictures and image descriptors.
//
// A picture is stored as `height` rows of ceil(width / 8) bytes, the leftmost
// pixel in the high bit of the first byte, a set bit black; the bytes simply
// run on across page ends. Body text reaches a picture either inline (1F44 …
// 1F64 with the size and the data address, BodyText::BeginInlinePicture) or
// through an image descriptor: a stretch of escapes naming the picture, its
// size, hot spots leading to text or to other pictures, and the related text
// and next picture. Layout in docs/formats.md ("Pictures").
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/book/book_address.h"
#include "tools/mkbook/body_text.h"

namespace morva::mkbook {

class Picture {
 public:
  // All white. Throws std::invalid_argument unless both sizes are 1..9999.
  Picture(int width, int height);
  // One string per row, '#' (or any character but ' ' and '.') black; the
  // width is the longest row's unless given.
  static Picture FromPattern(const std::vector<std::string>& rows, int width = 0);

  int width() const { return width_; }
  int height() const { return height_; }
  int RowBytes() const { return (width_ + 7) / 8; }

  // Throws std::out_of_range outside the picture.
  void Set(int x, int y, bool black = true);
  bool IsBlack(int x, int y) const;

  // height() * RowBytes() bytes, the stored form.
  const std::string& Bytes() const { return bytes_; }

 private:
  size_t ByteOf(int x, int y) const;

  int width_;
  int height_;
  std::string bytes_;
};

// A clickable point of a picture and where it leads.
struct HotSpot {
  int x = 0;
  int y = 0;
  BookAddress target;
  bool toPicture = false;  // the target is another picture's descriptor, else text
  std::string label = {};  // UTF-8 text between the position and the target
};

struct ImageDescriptor {
  BookAddress picture;  // the picture data
  int width = 0;
  int height = 0;
  std::optional<BookAddress> relatedText;
  std::optional<BookAddress> nextPicture;  // its descriptor
  std::vector<HotSpot> hotSpots;
  uint8_t positionCode = 0x32;  // 0x32 or 0x42 introduces a hot spot's position
};

// Escape codes of a descriptor.
namespace image_escape {
inline constexpr uint8_t kPictureAddress = 0x51;    // page(4) offset(2)
inline constexpr uint8_t kSize = 0x31;              // 0000, width(2), height(2)
inline constexpr uint8_t kPictureRegionEnd = 0x52;  // target page(4) offset(2)
inline constexpr uint8_t kTextRegionEnd = 0x62;     // target page(4) offset(2)
inline constexpr uint8_t kEnd = 0x65;
}  // namespace image_escape

// Appends the descriptor: 1F51 picture, 1F31 size, the related text
// (1F62 target) and next picture (1F52 target) when given, each hot spot as
// 1F32 x y [label] 1F52/1F62 target, then 1F65. All numbers packed decimal.
// Throws std::invalid_argument for a position code other than 0x32 or 0x42.
BodyText& WriteImageDescriptor(BodyText& text, const ImageDescriptor& descriptor);

// 1F44 (size) caption 1F64 data: a picture shown in the text.
BodyText& WriteInlinePicture(BodyText& text, std::string_view caption, const Picture& picture,
                             BookAddress data);

}  // namespace morva::mkbook
