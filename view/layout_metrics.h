// The font measurements that line layout needs, behind a small interface so
// that layout runs with real Qt fonts in the view and with exact fake widths in
// tests. Implementations answer for the current font set of the shown book.
#pragma once

#include <cstdint>

#include "engine/decode/marked_text.h"

namespace morva {

// Line styles (kStyle*) come from the marked-text codes that switch them;
// the layout records the low byte per line.

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
