// One open book file, read by position. The plain source reads the file as it
// is; other sources (compressed volumes) serve the same bytes from another
// stored form, so TDisk never knows the difference.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace morva {

class PageSource {
 public:
  virtual ~PageSource() = default;
  // Size of the file's original data in bytes.
  virtual int64_t Size() const = 0;
  // Reads up to n bytes at pos into dst; returns the count read (short at the
  // end of the data) or -1 when the data cannot be read.
  virtual int64_t ReadAt(int64_t pos, uint8_t* dst, size_t n) = 0;
};

// Opens the book file at path (already resolved), or nothing when it cannot
// be opened or is not a regular file (see OpenRegularFile). A compressed file (it starts with the
// ebzip magic; a name ending in ".ebz" must) is served decompressed; one whose header is damaged
// cannot be opened.
std::unique_ptr<PageSource> OpenPageSource(const std::string& path);

// Bytes held in memory, served as they are (tests, and fuzzing through
// EbzipPageSource::Open).
std::unique_ptr<PageSource> MemoryPageSource(std::string bytes);

}  // namespace morva
