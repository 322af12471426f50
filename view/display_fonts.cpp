#include "view/display_fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QList>
#include <algorithm>

#include "engine/book/text_utils.h"
#include "engine/text/unicode.h"
#include "view/qt_conversions.h"

namespace morva {
namespace {

bool LooksFixedPitch(const QString& face) {
  const QString lower = face.toLower();
  if (face.isEmpty() || lower.contains(QLatin1String("fixedsys")) ||
      lower.contains(QLatin1String("terminal")) || lower.contains(QLatin1String("courier")) ||
      lower.contains(QLatin1String("mono")))
    return true;
  // The Japanese Windows faces: "ＭＳ ゴシック" is fixed, "ＭＳ Ｐゴシック" is not.
  const bool japanese =
      face.contains(QString::fromUtf8("ゴシック")) || face.contains(QString::fromUtf8("明朝"));
  return japanese && !face.contains(QChar(0xFF30));  // Ｐ
}

QString CharacterString(uint16_t code) {
  char32_t c = SjisToUnicode(code);
  if (c == 0) c = 0xFFFD;
  return QString::fromUcs4(&c, 1);
}

// Layout may count bytes only when the fonts really are that regular.
bool IsFixedPitch(const QFontMetrics& m, int cw) {
  for (QChar c : {QChar('i'), QChar('M'), QChar('0'), QChar(' '), QChar(0xFF71)})  // ｱ
    if (m.horizontalAdvance(c) != cw) return false;
  for (const char* wide : {"漢", "あ", "ア", "。"})
    if (m.horizontalAdvance(QString::fromUtf8(wide)) != 2 * cw) return false;
  return true;
}

QFont MakeFont(const QString& face, int size, int weight, bool italic) {
  QFont font(face);
  font.setPixelSize(std::max(1, size));
  font.setWeight(static_cast<QFont::Weight>(weight));
  font.setItalic(italic);
  // Runs are placed by the sum of their characters' widths.
  font.setKerning(false);
  return font;
}

}  // namespace

FontSetMetrics::FontSetMetrics(const std::array<QFont, 4>& fonts, int cw, bool fixedPitch)
    : cw_(std::max(1, cw)),
      fixedPitch_(fixedPitch),
      metrics_{QFontMetrics(fonts[0]), QFontMetrics(fonts[1]), QFontMetrics(fonts[2]),
               QFontMetrics(fonts[3])} {}

int FontSetMetrics::Width(uint16_t code, TextFont font) const {
  std::vector<int16_t>& table = widths_[static_cast<size_t>(font)];
  if (table.empty()) table.assign(65536, -1);
  int16_t& w = table[code];
  if (w < 0)
    w = static_cast<int16_t>(
        std::clamp(Metrics(font).horizontalAdvance(CharacterString(code)), 0, 0x7FFF));
  return w;
}

QString DisplayFonts::ResolveFace(const std::string& sjisFace) {
  const QString face = QStringFromSjis(sjisFace).trimmed();
  if (!face.isEmpty() && QFontDatabase::hasFamily(face)) return face;
  if (LooksFixedPitch(face)) {
    if (QFontDatabase::hasFamily(QStringLiteral("IPAGothic"))) return QStringLiteral("IPAGothic");
    return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
  }
  if (QFontDatabase::hasFamily(QStringLiteral("IPAPGothic"))) return QStringLiteral("IPAPGothic");
  return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

void DisplayFonts::MakeSet(FontSet& set, const FontSpec& spec, int bold, int lineSpace) {
  const QString textFace = ResolveFace(spec.textFace);
  set.normal = MakeFont(textFace, spec.textSize, bold == 2 ? QFont::Bold : QFont::Normal, false);
  set.bold = MakeFont(textFace, spec.textSize, QFont::Bold, false);
  set.italic = MakeFont(textFace, spec.textSize, QFont::Normal, true);
  set.list = MakeFont(ResolveFace(spec.listFace), spec.listSize, QFont::Normal, false);
  const QFontMetrics m(set.normal);
  set.cw = std::max(1, m.averageCharWidth());
  set.textHeight = std::max(1, m.height());
  set.lineHeight = std::max(1, set.textHeight + lineSpace);
  set.ascent = m.ascent();
  set.fixedPitch = IsFixedPitch(m, set.cw) && IsFixedPitch(QFontMetrics(set.bold), set.cw) &&
                   IsFixedPitch(QFontMetrics(set.italic), set.cw);
  set.metrics = std::make_unique<FontSetMetrics>(
      std::array<QFont, 4>{set.normal, set.bold, set.italic, small_}, set.cw, set.fixedPitch);
}

void DisplayFonts::Create(const ViewSettings& settings) {
  // The small font comes first: both sets measure with it.
  const int size = settings.font0.textSize * 3 / 5;
  small_ = MakeFont(ResolveFace(settings.font0.textFace), size, QFont::Normal, false);
  if (QFontMetrics(small_).height() > settings.font0.textSize / 2)
    small_ = MakeFont(ResolveFace(Sjis("ＭＳ ゴシック")), size, QFont::Normal, false);
  smallAscent_ = QFontMetrics(small_).ascent();
  MakeSet(sets_[0], settings.font0, settings.bold, settings.lineSpace);
  MakeSet(sets_[1], settings.font1, settings.bold, settings.lineSpace);
  shiftJis_ = QFontDatabase::writingSystems(QFontInfo(sets_[0].normal).family())
                  .contains(QFontDatabase::Japanese);
}

}  // namespace morva
