// Damage to a written volume, for tests of how readers cope: cut files,
// missing files, overwritten and random bytes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

namespace morva::mkbook::damage {

// Cuts the file to size bytes.
void Truncate(const std::filesystem::path& file, uintmax_t size);
void Remove(const std::filesystem::path& file);
// Replaces bytes at a file position (the file grows when it is short).
void Overwrite(const std::filesystem::path& file, uintmax_t position, std::string_view bytes);
// Replaces count bytes from an offset of a page (the file's first page is 1)
// with pseudo-random bytes; the same seed gives the same bytes.
void Scramble(const std::filesystem::path& file, int32_t page, int offset, int count,
              uint32_t seed);

}  // namespace morva::mkbook::damage
