// Helpers for layout tests: exact fake font metrics and marked-text builders.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/book/text_utils.h"
#include "view/layout_metrics.h"

namespace morva::testing {

// Half-width characters are cw wide and double-byte ones 2 cw, in every font.
struct FakeMetrics : LayoutMetrics {
  int cw = 10;
  int CharWidth() const override { return cw; }
  bool FixedPitch() const override { return false; }
  int CharacterWidth(uint16_t code, MeasureFont) const override {
    return code > 0xFF ? 2 * cw : cw;
  }
};

// Marked-text pieces.
inline std::string J(std::string_view utf8) { return Sjis(utf8); }
inline const std::string kBreak = "\r\n";
inline std::string Indent(int level) {
  return std::string{'\x09', static_cast<char>(0x20 + level)};
}
// 02 L 'R' PPPPPPPP OOOO: a reference marker.
inline std::string RefMarker(uint32_t page, uint16_t offset) {
  return std::string{'\x02', '\x2E'} + Format("R%08X%04X", page, offset);
}
inline std::string Link(std::string_view text, uint32_t page, uint16_t offset) {
  return "\x01" + std::string(text) + RefMarker(page, offset);
}
inline std::string Heading(std::string_view text) { return "\x03" + std::string(text) + "\x04"; }
inline std::string Gaiji(bool full, uint16_t code) {
  return std::string{'\x0B', full ? '1' : '0', static_cast<char>(code >> 8),
                     static_cast<char>(code & 0xFF)};
}
// Numbered lines ended by line feeds.
inline std::string NumberedLines(int n) {
  std::string text;
  for (int i = 0; i < n; ++i) text += Format("line %d\n", i);
  return text;
}
inline std::string Repeat(std::string_view s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

}  // namespace morva::testing
