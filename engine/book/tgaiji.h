// The external-character conversion table filled from the conversion lines
// of the per-book information file.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace morva {

class TDisk;

// The conversion table: up to 2000 codes, each with a half-width and a
// full-width replacement text held in an 8000-byte pool.
class TGaiji {
 public:
  static constexpr int kMaxEntries = 2000;
  static constexpr int kPoolSize = 8000;

  void Clear();
  // Parses one conversion line. Returns false ("stop accepting") only when a
  // limit was hit; the warning is then shown through the disk's reporter.
  bool AddLine(TDisk& disk, std::string_view line);
  // Pool position of the text for the code and width, or -1.
  int Lookup(uint32_t code, bool fullWidth) const;
  // The zero-terminated text at a pool position.
  const char* TextAt(int position) const { return pool_.data() + position; }
  int Count() const { return static_cast<int>(entries_.size()); }

 private:
  struct Entry {
    uint32_t code = 0;
    int half = -1;  // pool positions, -1 none
    int full = -1;
  };
  std::vector<Entry> entries_;
  std::array<char, kPoolSize> pool_{};
  int used_ = 0;
};

}  // namespace morva
