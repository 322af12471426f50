#include "view/multi_refer/gaiji_text_painter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <string>

#include "engine/decode/gaiji.h"
#include "engine/decode/marked_text.h"
#include "engine/text/sjis.h"
#include "engine/text/unicode.h"
#include "view/qt_conversions.h"

namespace morva {
namespace {

// Calls run(text) for each stretch of ordinary characters and
// gaiji(wide, code) for each marker, in order; other control bytes and a
// marker cut by the end of the text are dropped.
template <typename RunFn, typename GaijiFn>
void Walk(std::string_view marked, RunFn run, GaijiFn gaiji) {
  MarkedTextCursor cursor(marked, MarkedTextCursor::Text::kRuns);
  for (MarkedToken t = cursor.Next(); t.kind != MarkedKind::kEnd; t = cursor.Next()) {
    if (t.kind == MarkedKind::kText) {
      run(cursor.Bytes());
    } else if (t.kind == MarkedKind::kGaiji && t.whole) {
      gaiji(t.fullWidth, t.code);
    }
  }
}

}  // namespace

GaijiTextPainter::Cell GaijiTextPainter::CellOf(const QFontMetrics& metrics) {
  return {std::max(1, metrics.averageCharWidth()), std::max(1, metrics.height())};
}

int GaijiTextPainter::Draw(QPainter& painter, int x, int y, std::string_view marked,
                           const Cell& cell) {
  const QFontMetrics metrics = painter.fontMetrics();
  const int baseline = y + metrics.ascent();
  int glyphHeight = cell.lineHeight;
  if (glyphHeight >= 16 && glyphHeight <= 18) glyphHeight = 16;
  const QColor ink = painter.pen().color();
  Walk(
      marked,
      [&](std::string_view run) {
        const QString text = QStringFromSjis(run);
        painter.drawText(x, baseline, text);
        x += metrics.horizontalAdvance(text);
      },
      [&](bool wide, uint16_t code) {
        const QImage& glyph = Glyph(wide, code);
        if (!glyph.isNull()) {
          const int width = wide ? glyphHeight : glyphHeight * glyph.width() / glyph.height();
          QImage coloured = glyph;
          coloured.setColorTable({qRgba(0, 0, 0, 0), ink.rgba()});
          painter.drawImage(QRect(x, y, width, glyphHeight), coloured);
        }
        // The advance is the font's, whatever the bitmap's size.
        x += wide ? 2 * cell.charWidth : cell.charWidth;
      });
  return x;
}

int GaijiTextPainter::Advance(std::string_view marked, const QFontMetrics& metrics,
                              const Cell& cell) {
  int x = 0;
  Walk(
      marked, [&](std::string_view run) { x += metrics.horizontalAdvance(QStringFromSjis(run)); },
      [&](bool wide, uint16_t) { x += wide ? 2 * cell.charWidth : cell.charWidth; });
  return x;
}

const QImage& GaijiTextPainter::Glyph(bool wide, uint16_t code) {
  const uint32_t key = (wide ? 0x10000u : 0u) | code;
  auto found = glyphs_.find(key);
  if (found != glyphs_.end()) return found->second;
  QImage image;
  GaijiBitmap bitmap;
  if (FetchGaijiBitmap(disk_, wide ? 1 : 0, code, &bitmap) && bitmap.width > 0 &&
      bitmap.height > 0) {
    image = QImage(bitmap.width, bitmap.height, QImage::Format_Mono);
    const int rowBytes = bitmap.BytesPerRow();
    const int copy = std::min(rowBytes, (bitmap.width + 7) / 8);
    for (int row = 0; row < bitmap.height; ++row) {
      uchar* line = image.scanLine(row);
      for (int i = 0; i < copy; ++i) {
        const size_t at = static_cast<size_t>(row * rowBytes + i);
        // The font's set bits are background; the image's index 1 is ink.
        line[i] = at < bitmap.rows.size() ? static_cast<uchar>(~bitmap.rows[at]) : 0;
      }
    }
  }
  return glyphs_.emplace(key, std::move(image)).first->second;
}

}  // namespace morva
