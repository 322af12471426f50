// Bytes written as hexadecimal in tests: Hex("1F09 0001") is 1F 09 00 01.
#pragma once

#include <cctype>
#include <string>
#include <string_view>

namespace morva::testing {

inline std::string Hex(std::string_view text) {
  std::string digits;
  for (char c : text)
    if (std::isxdigit(static_cast<unsigned char>(c))) digits += c;
  std::string out;
  for (size_t i = 0; i + 1 < digits.size(); i += 2)
    out += static_cast<char>(std::stoi(digits.substr(i, 2), nullptr, 16));
  return out;
}

}  // namespace morva::testing
