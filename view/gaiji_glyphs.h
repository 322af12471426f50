// The books' external characters as the windows draw them: each bitmap is
// made an image once, inked and scaled to the device's pixels once per size
// and colour, and a character of the book's Unicode map is found by code.
// The content pane, the word list and the multi-reference window share the
// one kind of cache, so they draw the same glyph the same way.
#pragma once

#include <QColor>
#include <QImage>
#include <QSize>
#include <cstdint>
#include <map>
#include <tuple>

#include "engine/book/gaiji_map.h"

namespace morva {

class TDisk;

class GaijiGlyphs {
 public:
  explicit GaijiGlyphs(TDisk& disk) : disk_(disk) {}

  // Forgets every image: the font size changed or another book was opened.
  void Forget();
  // The bitmap of a code of a sub-book, index 1 being ink; a null image
  // where the sub-book's font lacks it. Selects the sub-book.
  const QImage& Bitmap(int subbook, bool full, uint16_t code);
  // The bitmap in ink on transparency, scaled smoothly to size at ratio
  // device pixels per pixel, so strokes stay even at any size and density.
  const QImage& Inked(int subbook, bool full, uint16_t code, QSize size, qreal ratio,
                      const QColor& ink);
  // The entry of the sub-book's Unicode map for a code; nullptr when the
  // map has none and the bitmap is drawn. Selects the sub-book the first
  // time, so that a book that cannot be opened is tried once, not per
  // character.
  const GaijiMapEntry* Mapped(int subbook, bool full, uint16_t code);

 private:
  TDisk& disk_;
  using CodeKey = std::tuple<int, bool, uint16_t>;
  std::map<CodeKey, QImage> bitmaps_;
  // By code, size, pixel ratio (percent) and ink.
  using InkedKey = std::tuple<CodeKey, int, int, int, QRgb>;
  std::map<InkedKey, QImage> inked_;
  // Each sub-book's map as selecting it gave it (nullptr: none).
  std::map<int, const GaijiMap*> maps_;
};

}  // namespace morva
