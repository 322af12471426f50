// What the image window reads from a book, without any widget: the picture
// marker of a link, the window title taken from the link text, the image
// descriptor with its regions (related text, next picture, hot spots), and the
// picture rows themselves. Formats are described in docs/formats.md
// ("Pictures").
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/book/book_address.h"

namespace morva {

class TDisk;

// Pictures outside 1..kMaxPictureSide pixels on either side are not shown.
inline constexpr int kMaxPictureSide = 5000;

// The fields of a "G" marker (02 L 'G' page offset [' ' width height]):
// the short form names a descriptor (width and height 0), the long form the
// picture data itself.
struct ImageMarker {
  BookAddress at;
  int width = 0;
  int height = 0;
};

// Reads the hexadecimal fields after the kind letter the way "%8lX%4x %4x%4x"
// does; fields that are missing or malformed stay 0.
ImageMarker ParseImageMarker(std::string_view marker);

// The window title for a picture link: the link text between the 0x01 that
// opens the anchor and the end of textBeforeMarker (at most 99 bytes, never
// half a double-byte character), without external-character markers
// (0x0B and its three bytes) and other control bytes. "画像" when nothing is
// left. Shift-JIS.
std::string PictureTitle(std::string_view textBeforeMarker);

// One clickable region of a descriptor. kind 1 leads to a picture (its
// descriptor), kind 0 to text. An entry with target page 0 is empty.
struct PictureRegion {
  BookAddress target;
  int x = 0;
  int y = 0;
  int kind = 0;
  bool Empty() const { return target.page == 0; }
};

// The regions of a picture: entry 0 is the related text, entry 1 the next
// picture, entries 2 up to count - 1 the hot spots.
struct PictureRegions {
  static constexpr int kMaxEntries = 22;
  static constexpr int kFirstHotSpot = 2;
  std::array<PictureRegion, kMaxEntries> entries{};
  int count = kFirstHotSpot;

  const PictureRegion& RelatedText() const { return entries[0]; }
  const PictureRegion& NextPicture() const { return entries[1]; }
  int HotSpotCount() const { return count - kFirstHotSpot; }
  // The first hot spot whose box holds the picture point (px, py): x from
  // hx - 20 to hx + 4 and y from hy - 9 to hy + 9, both exclusive. The entry
  // index, or 0 when none.
  int HotSpotAt(int px, int py) const;
};

// A descriptor read from the book: where the picture data lies, its size and
// the regions.
struct ImageDescriptor {
  BookAddress picture;
  int width = 0;
  int height = 0;
  PictureRegions regions;
};

// Reads the descriptor at `at` of the current sub-book through the text
// decoder, which is asked to deliver reference parameters for the time of the
// reading. Reading ends at the descriptor's end item, at the end of the data,
// or after a bounded number of units for a descriptor that never ends.
// Afterwards entries 0 and 1, when still empty, take the only text
// (respectively picture) hot spot when there is exactly one.
ImageDescriptor ReadImageDescriptor(TDisk& disk, BookAddress at);

// Whether a picture of this size at this address can be shown.
bool PictureShowable(BookAddress at, int width, int height);

// Bytes of one picture row in the bitmap: rows are aligned to 16 pixels.
inline int PictureRowBytes(int width) { return (width + 15) / 16 * 2; }

// Reads the picture at `at` of the current sub-book: height rows of
// ceil(width / 8) bytes, the set bits black. Returns height rows of
// PictureRowBytes(width) bytes, each data byte inverted (ink becomes 0) and
// the fill bytes at the end of a row 0xFF. Empty when the size is not
// showable. Bytes past the end of the data read as white.
std::vector<uint8_t> ReadPictureRows(TDisk& disk, BookAddress at, int width, int height);

}  // namespace morva
