#include "view/gaiji_glyphs.h"

#include <algorithm>

#include "engine/book/tdisk.h"
#include "engine/decode/gaiji.h"

namespace morva {

void GaijiGlyphs::Forget() {
  bitmaps_.clear();
  inked_.clear();
  maps_.clear();
}

const QImage& GaijiGlyphs::Bitmap(int subbook, bool full, uint16_t code) {
  const CodeKey key{subbook, full, code};
  auto found = bitmaps_.find(key);
  if (found != bitmaps_.end()) return found->second;
  QImage image;
  GaijiBitmap bitmap;
  if (disk_.SelectSubbook(subbook) && FetchGaijiBitmap(disk_, full ? 1 : 0, code, &bitmap) &&
      bitmap.width > 0 && bitmap.height > 0) {
    image = QImage(bitmap.width, bitmap.height, QImage::Format_Mono);
    const int rowBytes = bitmap.BytesPerRow();
    const int copy = std::min(rowBytes, (bitmap.width + 7) / 8);
    for (int y = 0; y < bitmap.height; ++y) {
      uchar* line = image.scanLine(y);
      for (int i = 0; i < copy; ++i) {
        const size_t at = static_cast<size_t>(y * rowBytes + i);
        // The font's set bits are background; the image's index 1 is ink.
        line[i] = at < bitmap.rows.size() ? static_cast<uchar>(~bitmap.rows[at]) : 0;
      }
    }
  }
  return bitmaps_.emplace(key, std::move(image)).first->second;
}

const QImage& GaijiGlyphs::Inked(int subbook, bool full, uint16_t code, QSize size, qreal ratio,
                                 const QColor& ink) {
  const InkedKey key{CodeKey{subbook, full, code}, size.width(), size.height(), qRound(ratio * 100),
                     ink.rgba()};
  auto found = inked_.find(key);
  if (found != inked_.end()) return found->second;
  QImage shape = Bitmap(subbook, full, code);
  if (!shape.isNull()) {
    shape.setColorTable({qRgba(0, 0, 0, 0), ink.rgba()});
    shape = shape.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QSize pixels(qRound(size.width() * ratio), qRound(size.height() * ratio));
    if (shape.size() != pixels)
      shape = shape.scaled(pixels, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    shape.setDevicePixelRatio(ratio);
  }
  return inked_.emplace(key, std::move(shape)).first->second;
}

const GaijiMapEntry* GaijiGlyphs::Mapped(int subbook, bool full, uint16_t code) {
  auto found = maps_.find(subbook);
  if (found == maps_.end())
    found = maps_
                .emplace(subbook,
                         disk_.SelectSubbook(subbook) ? disk_.decoderState().unicodeMap : nullptr)
                .first;
  return found->second != nullptr ? found->second->Find(full, code) : nullptr;
}

}  // namespace morva
