// EbzipPageSource: the original bytes of a compressed book file (".ebz",
// layout in ebzip_format.h), served by inflating the slice that holds them.
//
// It owns the source of the stored bytes and a few recently used slices, so
// that a sequential read inflates every slice once and neighbouring pages
// inside one slice cost one inflation. Every stored offset and every slice is
// checked before use: a read that needs a slice that is out of bounds or does
// not inflate to exactly its size returns -1. Slices read in order from the
// first are summed as they come; when the sum of the whole file does not
// match the header's Adler-32, that read and every later one return -1, since
// the data is then known to be damaged.
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "engine/book/ebzip_format.h"
#include "engine/book/page_source.h"

namespace morva {

class EbzipPageSource final : public PageSource {
 public:
  // Inflated bytes kept by default: the most recently used slices stay, so
  // the pages a lookup keeps returning to (the upper levels of index trees,
  // recently shown entries) are inflated once. Never fewer than kMinSlices.
  static constexpr int64_t kDefaultCacheBytes = 8 << 20;
  static constexpr int64_t kMinSlices = 16;

  // Reads the header from stored; nothing when the header is damaged or the
  // index cannot fit in the stored bytes.
  static std::unique_ptr<EbzipPageSource> Open(std::unique_ptr<PageSource> stored,
                                               int64_t cacheBytes = kDefaultCacheBytes);

  ~EbzipPageSource() override;
  EbzipPageSource(const EbzipPageSource&) = delete;
  EbzipPageSource& operator=(const EbzipPageSource&) = delete;

  int64_t Size() const override { return static_cast<int64_t>(header_.originalSize); }
  int64_t ReadAt(int64_t pos, uint8_t* dst, size_t n) override;

  const ebzip::Header& header() const { return header_; }
  // How many slices have been inflated or copied from storage so far.
  int64_t InflationCount() const { return inflations_; }
  // How many slices the cache keeps.
  int64_t CachedSlices() const { return capacity_; }

 private:
  struct CachedSlice {
    int64_t index = -1;
    std::list<size_t>::iterator recency;  // position in recent_
    std::vector<uint8_t> bytes;           // SliceSize(level) bytes once loaded
    // Adler-32 of all the bytes as zlib checked it; unset for a stored slice.
    std::optional<uint32_t> adler;
  };
  // Index entries read ahead together, so a sequential read does not fetch
  // two offsets from storage for every slice.
  static constexpr int64_t kIndexWindow = 256;

  EbzipPageSource(std::unique_ptr<PageSource> stored, const ebzip::Header& header,
                  int64_t storedSize, int64_t cacheBytes);
  // The slice's original bytes (padding included), or nullptr when it cannot
  // be read. Valid until the next call.
  const uint8_t* Slice(int64_t index);
  bool LoadSlice(int64_t index, CachedSlice* out);
  // Where slice index is stored: [*start, *end) checked against the file.
  bool SliceBounds(int64_t index, int64_t* start, int64_t* end);
  // Adds the slice to the running checksum when it is the next one in order.
  bool VerifyInOrder(const CachedSlice& slice);

  std::unique_ptr<PageSource> stored_;
  ebzip::Header header_;
  int64_t storedSize_;
  int64_t sliceSize_;
  int64_t sliceCount_;
  int offsetWidth_;
  int64_t indexEnd_;

  // Cache entries grow up to capacity_; slot_ finds a slice's entry and
  // recent_ orders the entries, most recently used first.
  int64_t capacity_;
  std::vector<CachedSlice> cache_;
  std::unordered_map<int64_t, size_t> slot_;
  std::list<size_t> recent_;
  std::vector<uint8_t> storedBytes_;  // scratch for one stored slice
  int64_t windowFirst_ = -1;          // first index entry held in window_
  std::vector<uint8_t> window_;
  struct Inflater;
  std::unique_ptr<Inflater> inflater_;
  int64_t inflations_ = 0;

  int64_t verifiedSlices_ = 0;
  uint32_t runningAdler_ = 1;
  bool checksumFailed_ = false;
};

}  // namespace morva
