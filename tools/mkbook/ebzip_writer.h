// The ebzip writer: compressed book files (".ebz", layout in
// engine/book/ebzip_format.h), one file or a whole volume tree at a time.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace morva::mkbook {

// The compressed form of plain at level 0-5 (slices of 2048 << level bytes).
// A slice that zlib cannot make smaller is stored as it is. Nothing when the
// level is out of range, or when the result cannot be described: the offsets
// of a file under 64 KB are 2 bytes wide, and incompressible data close to
// that size does not fit them.
std::optional<std::string> EncodeEbzip(std::string_view plain, int level, uint32_t mtime = 0);

// Writes the compressed form of the file at plainPath to outPath, with the
// plain file's modification time. False when the input cannot be read, the
// output cannot be written (nothing is left behind) or EncodeEbzip refuses.
bool WriteEbzip(const std::string& plainPath, const std::string& outPath, int level);

// Replaces every book file under dir by its compressed form name + ".ebz":
// body files, start, index files of a split layout, font files. The catalog
// ("catalog", "catalogs") stays plain, as do files that are compressed
// already (".ebz") or decompressed bodies (".org"), and a file EncodeEbzip
// cannot describe (the reader takes plain and compressed files side by
// side). False on the first file that cannot be read or written.
bool CompressVolume(const std::string& dir, int level);

}  // namespace morva::mkbook
