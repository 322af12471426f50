// The text forms of the settings values: integers as "%ld", colours as
// "r,g,b", rectangles as "l,t,w,h" and font pairs as "face,size,face,size".
// Numbers are read the way scanf's "%d" reads them: leading blanks skipped, an
// optional sign, at least one digit, and reading stops at the first other
// character; a number too large for int is held at the nearest limit.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace morva {

struct Rect {
  int l = 0;
  int t = 0;
  int w = 0;
  int h = 0;
  bool operator==(const Rect&) const = default;
};

// Two display fonts: the face name (Shift-JIS, at most 30 bytes) and size of
// each.
struct FontPair {
  std::string face1;
  int size1 = 0;
  std::string face2;
  int size2 = 0;
  bool operator==(const FontPair&) const = default;
};

// Colours are held as red + green * 256 + blue * 65536.
constexpr uint32_t MakeColor(int r, int g, int b) {
  return static_cast<uint32_t>(r & 0xFF) | static_cast<uint32_t>(g & 0xFF) << 8 |
         static_cast<uint32_t>(b & 0xFF) << 16;
}

// The leading number of text, or nothing when it does not start with one.
std::optional<int> ParseInt(std::string_view text);
std::string FormatInt(int value);

// "r,g,b"; nothing unless all three numbers are there. Each part is held
// within 0..255.
std::optional<uint32_t> ParseColor(std::string_view text);
std::string FormatColor(uint32_t color);

// "l,t,w,h"; nothing unless all four numbers are there.
std::optional<Rect> ParseRect(std::string_view text);
std::string FormatRect(const Rect& rect);

// "face,size,face,size". Fields end at commas (never inside a double-byte
// character); a face keeps at most 30 bytes and a size field at most 5
// characters. A field that is empty, or a size that is not a number, takes
// the value of fallback.
FontPair ParseFontPair(std::string_view text, const FontPair& fallback);
std::string FormatFontPair(const FontPair& fonts);

}  // namespace morva
