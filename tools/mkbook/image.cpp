#include "tools/mkbook/image.h"

#include <algorithm>
#include <stdexcept>

#include "tools/mkbook/bytes.h"

namespace morva::mkbook {
namespace {

constexpr int kMaxSize = 9999;  // four packed-decimal digits

std::string Bcd2(int value) {
  if (value < 0) throw std::out_of_range("negative picture coordinate");
  return Bcd(static_cast<uint64_t>(value), 2);
}

}  // namespace

Picture::Picture(int width, int height) : width_(width), height_(height) {
  if (width < 1 || height < 1 || width > kMaxSize || height > kMaxSize)
    throw std::invalid_argument("picture size outside 1..9999");
  bytes_.assign(static_cast<size_t>(RowBytes()) * static_cast<size_t>(height), '\0');
}

Picture Picture::FromPattern(const std::vector<std::string>& rows, int width) {
  if (width == 0)
    for (const std::string& r : rows) width = std::max(width, static_cast<int>(r.size()));
  Picture p(width, static_cast<int>(rows.size()));
  for (int y = 0; y < p.height(); ++y) {
    const std::string& row = rows[static_cast<size_t>(y)];
    for (int x = 0; x < std::min(width, static_cast<int>(row.size())); ++x) {
      const char c = row[static_cast<size_t>(x)];
      if (c != ' ' && c != '.') p.Set(x, y);
    }
  }
  return p;
}

size_t Picture::ByteOf(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_)
    throw std::out_of_range("pixel outside the picture");
  return static_cast<size_t>(y) * static_cast<size_t>(RowBytes()) + static_cast<size_t>(x / 8);
}

void Picture::Set(int x, int y, bool black) {
  const size_t at = ByteOf(x, y);
  const auto bit = static_cast<uint8_t>(0x80 >> (x % 8));
  auto byte = static_cast<uint8_t>(bytes_[at]);
  byte = black ? (byte | bit) : (byte & ~bit);
  bytes_[at] = static_cast<char>(byte);
}

bool Picture::IsBlack(int x, int y) const {
  return (static_cast<uint8_t>(bytes_[ByteOf(x, y)]) & (0x80 >> (x % 8))) != 0;
}

BodyText& WriteImageDescriptor(BodyText& text, const ImageDescriptor& d) {
  using namespace image_escape;
  if (d.positionCode != 0x32 && d.positionCode != 0x42)
    throw std::invalid_argument("hot-spot position code must be 0x32 or 0x42");
  text.Escape(kPictureAddress, BcdAddress(d.picture));
  text.Escape(kSize, Bcd2(0) + Bcd2(d.width) + Bcd2(d.height));
  if (d.relatedText) text.Escape(kTextRegionEnd, BcdAddress(*d.relatedText));
  if (d.nextPicture) text.Escape(kPictureRegionEnd, BcdAddress(*d.nextPicture));
  for (const HotSpot& h : d.hotSpots) {
    text.Escape(d.positionCode, Bcd2(h.x) + Bcd2(h.y));
    text.Text(h.label);
    text.Escape(h.toPicture ? kPictureRegionEnd : kTextRegionEnd, BcdAddress(h.target));
  }
  return text.Escape(kEnd);
}

BodyText& WriteInlinePicture(BodyText& text, std::string_view caption, const Picture& picture,
                             BookAddress data) {
  return text.BeginInlinePicture(picture.width(), picture.height())
      .Text(caption)
      .EndInlinePicture(data);
}

}  // namespace morva::mkbook
