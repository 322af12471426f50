// GaijiTextPainter: draws a line of marked text in which external characters
// stand as 4-byte markers (0x0B, '1' wide or '0' narrow, high byte, low byte
// of the code), with the glyphs taken from the current sub-book's font cache,
// or the character its Unicode map gives.
// Lists that show book text with external characters (the compound-search
// candidate list, for one) draw their rows with it.
//
// The painter keeps the glyph images it has made; Forget() drops them and
// must be called when the disk moves to another sub-book. It borrows the
// TDisk, which must outlive it; fetching a glyph reads the cache file but does
// not move the book reader.
#pragma once

#include <cstdint>
#include <string_view>

#include "view/gaiji_glyphs.h"

class QFontMetrics;
class QPainter;

namespace morva {

class TDisk;

class GaijiTextPainter {
 public:
  explicit GaijiTextPainter(TDisk& disk) : disk_(disk), glyphs_(disk) {}
  GaijiTextPainter(const GaijiTextPainter&) = delete;
  GaijiTextPainter& operator=(const GaijiTextPainter&) = delete;

  // How a line is measured: the font's average character width (a narrow
  // external character advances one, a wide one two) and its line height
  // (the glyph cell's height; 16 to 18 is drawn at 16).
  struct Cell {
    int charWidth = 8;
    int lineHeight = 16;
  };
  static Cell CellOf(const QFontMetrics& metrics);

  // Draws text with the painter's font and pen, its top at y; returns the x
  // after the last character. Runs of ordinary text are drawn with one
  // drawText each; other control bytes are skipped. Glyphs take the pen's
  // colour on a transparent ground and are never drawn bold; a mapped
  // character is written in the painter's font in the glyph's cell.
  int Draw(QPainter& painter, int x, int y, std::string_view marked, const Cell& cell);

  // Width Draw would advance by.
  static int Advance(std::string_view marked, const QFontMetrics& metrics, const Cell& cell);

  void Forget() { glyphs_.Forget(); }

 private:
  TDisk& disk_;
  GaijiGlyphs glyphs_;
};

}  // namespace morva
