// Small writers of marked-text pieces shared by the content formatter: fixed
// width hexadecimal fields and the book's own texts in Shift-JIS.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace morva::markup {

// Control bytes of marked text.
inline constexpr char kAnchorStart = 0x01;
inline constexpr char kMarkerStart = 0x02;
inline constexpr char kHeadwordStart = 0x03;
inline constexpr char kHeadwordEnd = 0x04;
inline constexpr char kIndent = 0x09;
inline constexpr char kNewLine = 0x0A;
inline constexpr char kGaiji = 0x0B;
inline constexpr char kHighlight3 = 0x0C;
inline constexpr char kNoBreakStart = 0x0E;
inline constexpr char kNoBreakEnd = 0x0F;
inline constexpr char kHighlightStart = 0x10;
inline constexpr char kHighlightEnd = 0x11;
inline constexpr char kSuperscript = 0x13;
inline constexpr char kScriptEnd = 0x14;
inline constexpr char kSubscript = 0x15;

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
