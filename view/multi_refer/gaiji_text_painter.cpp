#include "view/multi_refer/gaiji_text_painter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <string>

#include "engine/book/tdisk.h"
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
        const int book = disk_.CurrentSubbook();
        const QImage& glyph = glyphs_.Bitmap(book, wide, code);
        if (const GaijiMapEntry* mapped = glyphs_.Mapped(book, wide, code);
            mapped != nullptr && mapped->HasCharacter()) {
          painter.drawText(x, baseline, QString::fromStdString(mapped->utf8));
        } else if (!glyph.isNull()) {
          const int width = wide ? glyphHeight : glyphHeight * glyph.width() / glyph.height();
          const QSize size(width, glyphHeight);
          const qreal ratio = painter.device()->devicePixelRatio();
          painter.drawImage(QRect(QPoint(x, y), size),
                            glyphs_.Inked(book, wide, code, size, ratio, ink));
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

}  // namespace morva
