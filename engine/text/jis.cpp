#include "engine/text/jis.h"

namespace morva {

// JisToSjis and IsValidJis are inline in the header: two JIS rows share one
// Shift-JIS lead byte, the odd row taking trails 0x40..0x9E (skipping 0x7F),
// the even row 0x9F..0xFC. This is the way back.
uint16_t SjisToJis(uint16_t sjis) {
  unsigned lead = sjis >> 8;
  const unsigned trail = sjis & 0xFF;
  const bool leadOk = (lead >= 0x81 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xEF);
  const bool trailOk = trail >= 0x40 && trail <= 0xFC && trail != 0x7F;
  if (!leadOk || !trailOk) return 0;
  if (lead >= 0xE0) lead -= 0x40;
  unsigned hi = (lead - 0x70) * 2 - 1;
  unsigned lo;
  if (trail >= 0x9F) {
    ++hi;
    lo = trail - 0x7E;
  } else {
    lo = trail - 0x1F - (trail > 0x7F ? 1 : 0);
  }
  return static_cast<uint16_t>(hi << 8 | lo);
}

}  // namespace morva
