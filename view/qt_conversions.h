// The engine keeps text in Shift-JIS and colours as stored 0x00BBGGRR values;
// Qt wants QString and QColor. Every window converts through these.
#pragma once

#include <QColor>
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/text/unicode.h"

namespace morva {

inline QString QStringFromSjis(std::string_view sjis) {
  return QString::fromStdString(SjisToUtf8(sjis));
}

inline std::string SjisFromQString(const QString& text) { return Utf8ToSjis(text.toStdString()); }

inline QColor QColorFromStored(uint32_t bgr) {
  return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>(bgr >> 8 & 0xFF),
                static_cast<int>(bgr >> 16 & 0xFF));
}

}  // namespace morva
