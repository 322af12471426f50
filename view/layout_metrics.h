// The font measurements that line layout needs, behind a small interface so
// that layout runs with real Qt fonts in the view and with exact fake widths in
// tests. Implementations answer for the current font set of the shown book.
#pragma once

#include <cstdint>

namespace morva {

// Line styles as the layout records them per line; the painter uses the same
// values as the low byte of its attribute word.
inline constexpr uint8_t kStylePlain = 0x00;
inline constexpr uint8_t kStyleLink = 0x02;
inline constexpr uint8_t kStyleHeading = 0x03;
inline constexpr uint8_t kStyleHeadingBold = 0x43;
inline constexpr uint8_t kStyleBold = 0x40;
inline constexpr uint8_t kStyleItalic = 0x80;

// Which text font of the set measures a character.
enum class MeasureFont { kNormal, kBold, kItalic };

class LayoutMetrics {
 public:
  virtual ~LayoutMetrics() = default;
  // Width of a half-width column in pixels (the normal text font's average
  // character width); always at least 1.
  virtual int CharWidth() const = 0;
  // True when every half-width character is CharWidth() wide and every
  // double-byte one twice that, so layout may count bytes instead of measuring.
  virtual bool FixedPitch() const = 0;
  // Width in pixels of one Shift-JIS character: a single byte (code < 0x100)
  // or a double-byte code (lead << 8 | trail).
  virtual int CharacterWidth(uint16_t code, MeasureFont font) const = 0;
};

}  // namespace morva
