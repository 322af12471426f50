#include "app/main_window/word_list_painter.h"

#include <QApplication>
#include <QPainter>
#include <QPalette>
#include <algorithm>

#include "app/book_bar/book_bar_widget.h"
#include "engine/book/tdisk.h"
#include "engine/decode/gaiji.h"
#include "engine/decode/marked_text.h"
#include "engine/search/wordlist.h"
#include "engine/text/sjis.h"
#include "engine/text/unicode.h"
#include "view/display_fonts.h"
#include "view/qt_conversions.h"

namespace morva {
namespace {

constexpr int kTextLeft = 2;

}  // namespace

WordListPainter::WordListPainter(TDisk& disk, const Wordlist& list, const BookBar& bar,
                                 const DisplayFonts& fonts)
    : disk_(disk), list_(list), bar_(bar), fonts_(fonts), glyphs_(disk) {}

void WordListPainter::Invalidate() {
  headings_.clear();
  glyphs_.Forget();
}

const WordListPainter::RowHeading& WordListPainter::Row(int row) {
  static const RowHeading none;
  if (row < 0 || row >= list_.Count()) return none;
  if (headings_.size() != static_cast<size_t>(list_.Count()))
    headings_.assign(static_cast<size_t>(list_.Count()), std::nullopt);
  auto& slot = headings_[static_cast<size_t>(row)];
  if (!slot) {
    slot.emplace();
    slot->text =
        HeadingText(disk_, list_, row, HeadingMode::kDisplay, kListHeadingBytes, &slot->cut);
  }
  return *slot;
}

const std::string& WordListPainter::Heading(int row) { return Row(row).text; }

bool WordListPainter::HeadingCut(int row) { return Row(row).cut; }

void WordListPainter::Paint(QPainter& painter, int row, const QRect& rect, bool current,
                            bool focused, const WordListLook& look) {
  const QPalette palette = QApplication::palette();
  if (row >= list_.Count()) {
    painter.fillRect(rect, palette.base());
    return;
  }
  // The current row stays marked when the list loses the focus, in the
  // palette's inactive colours.
  const QPalette::ColorGroup group = focused ? QPalette::Active : QPalette::Inactive;
  painter.fillRect(rect, current ? palette.brush(group, QPalette::Highlight) : palette.base());
  const QColor ink =
      current ? palette.color(group, QPalette::HighlightedText) : palette.text().color();
  const WordlistItem& item = list_.Item(row);
  const std::string& heading = Heading(row);  // selects the book, which sets its font flag
  const BookBarEntry* entry = item.book >= 0 && item.book < static_cast<int>(bar_.size())
                                  ? &bar_[static_cast<size_t>(item.book)]
                                  : nullptr;

  const int h = look.charHeight;
  int x = rect.left() + kTextLeft;
  if (look.dicColor && entry != nullptr) {
    const int side = h * 8 / 10;
    DrawColourSquare(painter, QRect(rect.left() + h * 2 / 10, rect.top() + h / 5, side, side),
                     QColorFromStored(entry->colour));
    x = rect.left() + h * 2 / 10 + side + 4;
  }

  const FontSet& set = fonts_.Set(entry != nullptr && entry->fontFlag == 0 ? 1 : 0);
  painter.setFont(set.list);
  painter.setPen(ink);
  const QFontMetrics metrics(set.list);
  const int textHeight = metrics.height();
  const int y = rect.top() + (rect.height() - textHeight) / 2;
  const int baseline = y + metrics.ascent();
  const int cw = std::max(1, metrics.averageCharWidth());

  if (look.dicName > 0 && entry != nullptr) {
    const std::string_view name = SjisCut(entry->shortName, static_cast<size_t>(look.dicName));
    painter.drawText(x, baseline, QStringFromSjis(name));
    x += (look.dicName + 2) * cw;
  }

  // Runs of text between external-character markers.
  const std::string_view text = heading;
  size_t start = 0;
  auto flush = [&](size_t end) {
    if (end <= start) return;
    const QString run = QStringFromSjis(text.substr(start, end - start));
    painter.drawText(x, baseline, run);
    x += metrics.horizontalAdvance(run);
  };
  MarkedTextCursor cursor(text, MarkedTextCursor::Text::kRuns);
  for (MarkedToken t = cursor.Next(); t.kind != MarkedKind::kEnd; t = cursor.Next()) {
    if (t.kind != MarkedKind::kGaiji) continue;
    flush(cursor.TokenOffset());
    start = cursor.Offset();
    if (!t.whole) continue;
    // A character the book's Unicode map has is written in the list's font.
    if (const GaijiMapEntry* mapped = glyphs_.Mapped(item.book, t.fullWidth, t.code);
        mapped != nullptr && mapped->HasCharacter()) {
      const QString characters = QString::fromStdString(mapped->utf8);
      painter.drawText(x, baseline, characters);
      x += metrics.horizontalAdvance(characters);
      continue;
    }
    const QImage& glyph = glyphs_.Bitmap(item.book, t.fullWidth, t.code);
    const int cell = textHeight;
    const int width =
        t.fullWidth ? cell : (glyph.isNull() ? cw : cell * glyph.width() / glyph.height());
    if (!glyph.isNull()) {
      const QSize size(width, cell);
      const qreal ratio = painter.device()->devicePixelRatio();
      painter.drawImage(QRect(QPoint(x, y), size),
                        glyphs_.Inked(item.book, t.fullWidth, t.code, size, ratio, ink));
    }
    x += width;
  }
  flush(text.size());
  // A heading cut at the list's limit says so.
  if (HeadingCut(row)) painter.drawText(x, baseline, QString(QChar(0x2026)));
}

}  // namespace morva
