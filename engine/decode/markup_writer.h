// Small writers of marked-text pieces shared by the content formatter: marker
// lengths and fixed-width hexadecimal fields. The codes are in marked_text.h.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "engine/decode/marked_text.h"

namespace morva::markup {

// Length bytes: marker bytes after the 0x02, plus 0x20.
inline constexpr char kAddressMarkerLength = 0x20 + 14;  // L kind 8 + 4
inline constexpr char kPictureMarkerLength = 0x20 + 23;  // L kind 8 + 4 ' ' 4 + 4
inline constexpr char kNoTargetMarkerLength = 0x20 + 2;  // L kind
inline constexpr char kSoundMarkerLength = 0x20 + 16;    // L kind 2 + 6 + 6

// Highest indent level a marker carries (the byte stays printable).
inline constexpr int kMaxIndentLevel = 98;

// Appends the low `digits` hexadecimal digits of value, uppercase. The field
// always has exactly that width, so markers keep their declared length.
inline void AppendHex(std::string& out, uint32_t value, int digits) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4) out += kDigits[(value >> shift) & 0xF];
}

// 02 L kind page offset: the end of an anchor with an address target.
inline void AppendAddressMarker(std::string& out, char kind, int32_t page, int32_t offset) {
  out += kMarkerStart;
  out += kAddressMarkerLength;
  out += kind;
  AppendHex(out, static_cast<uint32_t>(page), 8);
  AppendHex(out, static_cast<uint32_t>(offset), 4);
}

}  // namespace morva::markup
