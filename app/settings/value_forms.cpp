#include "app/settings/value_forms.h"

#include <algorithm>
#include <climits>

#include "engine/text/sjis.h"

namespace morva {

namespace {

constexpr size_t kFaceCapacity = 31;  // 30 bytes and the terminating zero
constexpr size_t kSizeCapacity = 6;   // 5 characters and the terminating zero

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// Reads one number like scanf's "%d" and advances the cursor past it.
std::optional<int> ScanInt(std::string_view& cursor) {
  size_t i = 0;
  while (i < cursor.size() && IsSpace(cursor[i])) ++i;
  bool negative = false;
  if (i < cursor.size() && (cursor[i] == '+' || cursor[i] == '-')) negative = cursor[i++] == '-';
  size_t firstDigit = i;
  long long value = 0;
  for (; i < cursor.size() && cursor[i] >= '0' && cursor[i] <= '9'; ++i) {
    if (value <= static_cast<long long>(INT_MAX) + 1) value = value * 10 + (cursor[i] - '0');
  }
  if (i == firstDigit) return std::nullopt;
  cursor.remove_prefix(i);
  if (negative) value = -value;
  return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

// Reads count numbers separated by single commas.
bool ScanInts(std::string_view text, int* out, int count) {
  for (int n = 0; n < count; ++n) {
    if (n > 0) {
      if (text.empty() || text.front() != ',') return false;
      text.remove_prefix(1);
    }
    std::optional<int> v = ScanInt(text);
    if (!v) return false;
    out[n] = *v;
  }
  return true;
}

}  // namespace

std::optional<int> ParseInt(std::string_view text) { return ScanInt(text); }

std::string FormatInt(int value) { return std::to_string(value); }

std::optional<uint32_t> ParseColor(std::string_view text) {
  int rgb[3];
  if (!ScanInts(text, rgb, 3)) return std::nullopt;
  for (int& part : rgb) part = std::clamp(part, 0, 255);
  return MakeColor(rgb[0], rgb[1], rgb[2]);
}

std::string FormatColor(uint32_t color) {
  auto part = [color](int shift) { return FormatInt(static_cast<int>((color >> shift) & 0xFF)); };
  return part(0) + "," + part(8) + "," + part(16);
}

std::optional<Rect> ParseRect(std::string_view text) {
  int v[4];
  if (!ScanInts(text, v, 4)) return std::nullopt;
  return Rect{v[0], v[1], v[2], v[3]};
}

std::string FormatRect(const Rect& r) {
  return FormatInt(r.l) + "," + FormatInt(r.t) + "," + FormatInt(r.w) + "," + FormatInt(r.h);
}

FontPair ParseFontPair(std::string_view text, const FontPair& fallback) {
  auto face = [&text](const std::string& otherwise) {
    std::string f = ReadField(text, kFaceCapacity);
    return f.empty() ? otherwise : f;
  };
  auto size = [&text](int otherwise) {
    std::string s = ReadField(text, kSizeCapacity);
    return ParseInt(s).value_or(otherwise);
  };
  FontPair fonts;
  fonts.face1 = face(fallback.face1);
  fonts.size1 = size(fallback.size1);
  fonts.face2 = face(fallback.face2);
  fonts.size2 = size(fallback.size2);
  return fonts;
}

std::string FormatFontPair(const FontPair& f) {
  return f.face1 + "," + FormatInt(f.size1) + "," + f.face2 + "," + FormatInt(f.size2);
}

}  // namespace morva
