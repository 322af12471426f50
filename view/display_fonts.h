// The display fonts of the content view and the lists: two font sets (Font0
// for books in JIS text, Font1 for single-byte books), each with a normal, a
// bold and an italic text font and a list font, plus one small font for
// superscripts and subscripts.
//
// Faces that this system does not have (the stored defaults name Windows
// faces) fall back to a Japanese proportional face for proportional names and
// to a fixed-pitch face (IPAGothic, whose kana and kanji are exactly two
// half-width columns wide) for fixed ones.
//
// FontSetMetrics measures characters in a set's fonts and caches every width,
// so layout and painting measure a character once. DisplayFonts owns both
// sets; the metrics stay valid until the next Create.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "view/layout_metrics.h"
#include "view/view_settings.h"

namespace morva {

// Which font of a set draws a run of text.
enum class TextFont { kNormal = 0, kBold = 1, kItalic = 2, kSmall = 3 };

class FontSetMetrics : public LayoutMetrics {
 public:
  FontSetMetrics(const std::array<QFont, 4>& fonts, int cw, bool fixedPitch);

  int CharWidth() const override { return cw_; }
  bool FixedPitch() const override { return fixedPitch_; }
  int CharacterWidth(uint16_t code, MeasureFont font) const override {
    return Width(code, static_cast<TextFont>(font));
  }
  // Width of one Shift-JIS character (single byte, or lead << 8 | trail).
  int Width(uint16_t code, TextFont font) const;
  const QFontMetrics& Metrics(TextFont font) const { return metrics_[static_cast<size_t>(font)]; }

 private:
  int cw_;
  bool fixedPitch_;
  std::array<QFontMetrics, 4> metrics_;
  // -1 until measured; one table of 65,536 widths per font.
  mutable std::array<std::vector<int16_t>, 4> widths_;
};

struct FontSet {
  QFont normal;
  QFont bold;
  QFont italic;
  QFont list;
  int cw = 8;           // average character width of the normal text font
  int textHeight = 16;  // height of the normal text font
  int lineHeight = 16;  // textHeight + LineSpace
  int ascent = 13;
  bool fixedPitch = false;
  std::unique_ptr<FontSetMetrics> metrics;
};

class DisplayFonts {
 public:
  DisplayFonts() = default;
  explicit DisplayFonts(const ViewSettings& settings) { Create(settings); }

  // (Re)makes every font from the settings.
  void Create(const ViewSettings& settings);

  // Set 0 for books in JIS text, set 1 for single-byte books.
  const FontSet& Set(int i) const { return sets_[i == 1 ? 1 : 0]; }
  const QFont& Small() const { return small_; }
  int SmallAscent() const { return smallAscent_; }
  // The text font can show Japanese (the line-end mark is then an arrow).
  bool ShiftJis() const { return shiftJis_; }

  // The face that draws a stored face name (Shift-JIS), after the fallbacks.
  static QString ResolveFace(const std::string& sjisFace);

 private:
  void MakeSet(FontSet& set, const FontSpec& spec, int bold, int lineSpace);

  std::array<FontSet, 2> sets_;
  QFont small_;
  int smallAscent_ = 8;
  bool shiftJis_ = true;
};

}  // namespace morva
