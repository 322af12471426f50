#include "tools/mkbook/bytes.h"

#include <stdexcept>

namespace morva::mkbook {

std::string Bcd(uint64_t value, int bytes) {
  std::string out(static_cast<size_t>(bytes), '\0');
  for (int i = bytes - 1; i >= 0; --i) {
    const unsigned low = value % 10;
    value /= 10;
    const unsigned high = value % 10;
    value /= 10;
    out[static_cast<size_t>(i)] = static_cast<char>(high << 4 | low);
  }
  if (value != 0) throw std::out_of_range("value does not fit the packed-decimal field");
  return out;
}

std::string Be16(uint16_t value) {
  return {static_cast<char>(value >> 8), static_cast<char>(value & 0xFF)};
}

std::string Be32(uint32_t value) {
  return Be16(static_cast<uint16_t>(value >> 16)) + Be16(static_cast<uint16_t>(value & 0xFFFF));
}

void Put(std::string& buf, size_t pos, std::string_view bytes) {
  if (buf.size() < pos + bytes.size()) buf.resize(pos + bytes.size(), '\0');
  buf.replace(pos, bytes.size(), bytes);
}

}  // namespace morva::mkbook
