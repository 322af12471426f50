// Bytes written as hexadecimal in tests: Hex("1F09 0001") is 1F 09 00 01.
#pragma once

#include <string>
#include <string_view>

namespace morva::testing {

inline std::string Hex(std::string_view text) {
  std::string out;
  int pending = -1;
  for (char c : text) {
    int v = -1;
    if (c >= '0' && c <= '9') v = c - '0';
    if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
    if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
    if (v < 0) continue;
    if (pending < 0) {
      pending = v;
    } else {
      out += static_cast<char>(pending << 4 | v);
      pending = -1;
    }
  }
  return out;
}

}  // namespace morva::testing
