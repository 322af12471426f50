// Byte encodings used inside book files: big-endian binary numbers and packed
// decimal (two decimal digits per byte, high digit first). Layouts are
// described in docs/formats.md.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace morva::mkbook {

// `bytes` bytes of packed decimal: Bcd(1234, 4) is 00 00 12 34.
// Throws std::out_of_range when the value needs more than 2 * bytes digits.
std::string Bcd(uint64_t value, int bytes);

// Big-endian binary numbers.
std::string Be16(uint16_t value);
std::string Be32(uint32_t value);

// Writes bytes into buf at pos, growing buf with zero bytes when it is short.
void Put(std::string& buf, size_t pos, std::string_view bytes);

}  // namespace morva::mkbook
