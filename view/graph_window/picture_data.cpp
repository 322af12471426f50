#include "view/graph_window/picture_data.h"

#include <cstdio>

#include "engine/book/tdisk.h"
#include "engine/book/text_utils.h"
#include "engine/decode/decoder.h"
#include "engine/decode/marked_text.h"
#include "engine/text/sjis.h"

namespace morva {
namespace {

// Item codes of an image descriptor.
constexpr int kItemPictureAddress = 0x51;
constexpr int kItemSize = 0x31;
constexpr int kItemPosition = 0x32;
constexpr int kItemPositionAlt = 0x42;
constexpr int kItemPictureRegionEnd = 0x52;
constexpr int kItemTextRegionEnd = 0x62;
constexpr int kItemEnd = 0x65;

// A descriptor is a few dozen units; one that never ends is not followed
// through the rest of the body text.
constexpr int kMaxDescriptorUnits = 20000;

constexpr size_t kMaxTitleBytes = 99;

// Fills entry `slot` (0 text, 1 picture) from the only hot spot of its kind.
void FillFromOnlyHotSpot(PictureRegions& regions, int slot) {
  if (!regions.entries[static_cast<size_t>(slot)].Empty()) return;
  int found = -1;
  int count = 0;
  for (int i = PictureRegions::kFirstHotSpot; i < regions.count; ++i) {
    if (regions.entries[static_cast<size_t>(i)].kind == slot) {
      found = i;
      ++count;
    }
  }
  if (count == 1)
    regions.entries[static_cast<size_t>(slot)] = regions.entries[static_cast<size_t>(found)];
}

}  // namespace

ImageMarker ParseImageMarker(std::string_view marker) {
  ImageMarker m;
  if (marker.size() < 3) return m;
  // sscanf needs a terminated copy; the fields are short.
  const std::string fields(marker.substr(3, 32));
  unsigned long page = 0;
  unsigned offset = 0;
  unsigned width = 0;
  unsigned height = 0;
  std::sscanf(fields.c_str(), "%8lX%4x %4x%4x", &page, &offset, &width, &height);
  m.at = {static_cast<int32_t>(page), static_cast<int32_t>(offset)};
  m.width = static_cast<int>(width);
  m.height = static_cast<int>(height);
  return m;
}

std::string PictureTitle(std::string_view text) {
  // The caption is the text of the last anchor.
  const size_t open = text.rfind(markup::kAnchorStart);
  if (open != std::string_view::npos) text.remove_prefix(open + 1);
  std::string title;
  MarkedTextCursor cursor(text);
  for (MarkedToken t = cursor.Next(); t.kind != MarkedKind::kEnd; t = cursor.Next()) {
    // The first character that goes past the length limit ends the title.
    if (cursor.Offset() > kMaxTitleBytes) break;
    if (t.kind == MarkedKind::kText)
      title.append(cursor.Bytes());  // not codes or external characters
  }
  if (title.empty()) title = Sjis("画像");
  return title;
}

int PictureRegions::HotSpotAt(int px, int py) const {
  for (int i = kFirstHotSpot; i < count; ++i) {
    const PictureRegion& r = entries[static_cast<size_t>(i)];
    if (r.x - 20 < px && px < r.x + 4 && r.y - 9 < py && py < r.y + 9) return i;
  }
  return 0;
}

ImageDescriptor ReadImageDescriptor(TDisk& disk, BookAddress at) {
  ImageDescriptor d;
  PictureRegions& regions = d.regions;
  if (disk.Seek(at) != 0) return d;
  // The decoder delivers the parameters of the position items only while this
  // flag is set; other readers (headings, the word list) must not see it.
  disk.decoderState().refParamFlag = true;
  bool havePosition = false;
  int x = 0;
  int y = 0;
  for (int units = 0; units < kMaxDescriptorUnits; ++units) {
    EscapeItem item;
    const int r = DecodeNext(disk, item, false);
    if (r == kDecodeEnd) break;
    if (r != kDecodeEscape) continue;
    if (item.code == kItemEnd) break;
    switch (item.code) {
      case kItemPictureAddress: d.picture = {item.p1, item.p2}; break;
      case kItemSize:
        d.width = item.p1;
        d.height = item.p2;
        break;
      case kItemPosition:
      case kItemPositionAlt:
        havePosition = true;
        x = item.p1;
        y = item.p2;
        break;
      case kItemPictureRegionEnd:
      case kItemTextRegionEnd: {
        const PictureRegion region{
            {item.p1, item.p2}, x, y, item.code == kItemPictureRegionEnd ? 1 : 0};
        if (!havePosition) {
          regions.entries[static_cast<size_t>(region.kind == 1 ? 1 : 0)] = region;
        } else if (regions.count < PictureRegions::kMaxEntries) {
          regions.entries[static_cast<size_t>(regions.count++)] = region;
        }
        havePosition = false;
        break;
      }
      default: break;
    }
  }
  disk.decoderState().refParamFlag = false;
  FillFromOnlyHotSpot(regions, 0);
  FillFromOnlyHotSpot(regions, 1);
  return d;
}

bool PictureShowable(BookAddress at, int width, int height) {
  return at.page > 0 && width >= 1 && width <= kMaxPictureSide && height >= 1 &&
         height <= kMaxPictureSide;
}

std::vector<uint8_t> ReadPictureRows(TDisk& disk, BookAddress at, int width, int height) {
  std::vector<uint8_t> rows;
  if (!PictureShowable(at, width, height)) return rows;
  const int dataBytes = (width + 7) / 8;
  const int rowBytes = PictureRowBytes(width);
  rows.assign(static_cast<size_t>(rowBytes) * static_cast<size_t>(height), 0xFF);
  if (disk.Seek(at) != 0) return rows;
  for (int y = 0; y < height; ++y) {
    uint8_t* row = rows.data() + static_cast<size_t>(y) * static_cast<size_t>(rowBytes);
    for (int i = 0; i < dataBytes; ++i) row[i] = static_cast<uint8_t>(~disk.ReadByte());
  }
  return rows;
}

}  // namespace morva
