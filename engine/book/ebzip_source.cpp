#include "engine/book/ebzip_source.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace morva {

// One zlib inflater reused for every slice, so a slice costs a reset rather
// than a fresh allocation of the inflate state.
struct EbzipPageSource::Inflater {
  z_stream stream{};
  bool ready = false;

  Inflater() { ready = inflateInit(&stream) == Z_OK; }
  ~Inflater() {
    if (ready) inflateEnd(&stream);
  }
  Inflater(const Inflater&) = delete;
  Inflater& operator=(const Inflater&) = delete;

  // True when in is one complete zlib stream of exactly outSize bytes.
  bool Inflate(const uint8_t* in, size_t inSize, uint8_t* out, size_t outSize) {
    if (!ready || inflateReset(&stream) != Z_OK) return false;
    stream.next_in = const_cast<Bytef*>(in);
    stream.avail_in = static_cast<uInt>(inSize);
    stream.next_out = out;
    stream.avail_out = static_cast<uInt>(outSize);
    // Z_FINISH with room for exactly the slice: a stream that wants to give
    // more stops with Z_BUF_ERROR, one that gives less ends with room left.
    return inflate(&stream, Z_FINISH) == Z_STREAM_END && stream.avail_out == 0;
  }
};

std::unique_ptr<EbzipPageSource> EbzipPageSource::Open(std::unique_ptr<PageSource> stored,
                                                       int64_t cacheBytes) {
  if (!stored) return nullptr;
  uint8_t head[ebzip::kHeaderSize];
  if (stored->ReadAt(0, head, sizeof head) != static_cast<int64_t>(sizeof head)) return nullptr;
  const std::optional<ebzip::Header> header = ebzip::DecodeHeader(head, sizeof head);
  if (!header) return nullptr;
  const int64_t storedSize = stored->Size();
  if (ebzip::IndexEnd(*header) > storedSize) return nullptr;
  return std::unique_ptr<EbzipPageSource>(
      new EbzipPageSource(std::move(stored), *header, storedSize, cacheBytes));
}

EbzipPageSource::EbzipPageSource(std::unique_ptr<PageSource> stored, const ebzip::Header& header,
                                 int64_t storedSize, int64_t cacheBytes)
    : stored_(std::move(stored)),
      header_(header),
      storedSize_(storedSize),
      sliceSize_(ebzip::SliceSize(header.level)),
      sliceCount_(ebzip::SliceCount(header)),
      offsetWidth_(ebzip::OffsetWidth(header.originalSize)),
      indexEnd_(ebzip::IndexEnd(header)),
      capacity_(std::max(kMinSlices, cacheBytes / ebzip::SliceSize(header.level))),
      inflater_(std::make_unique<Inflater>()) {}

EbzipPageSource::~EbzipPageSource() = default;

int64_t EbzipPageSource::ReadAt(int64_t pos, uint8_t* dst, size_t n) {
  if (pos < 0 || checksumFailed_) return -1;
  if (pos >= Size()) return 0;
  const int64_t want = std::min(static_cast<int64_t>(std::min<size_t>(n, INT64_MAX)), Size() - pos);
  int64_t done = 0;
  while (done < want) {
    const int64_t at = pos + done;
    const int64_t inSlice = at % sliceSize_;
    const uint8_t* slice = Slice(at / sliceSize_);
    if (!slice) return -1;
    const int64_t take = std::min(want - done, sliceSize_ - inSlice);
    std::memcpy(dst + done, slice + inSlice, static_cast<size_t>(take));
    done += take;
  }
  return done;
}

const uint8_t* EbzipPageSource::Slice(int64_t index) {
  CachedSlice* entry = nullptr;
  if (auto found = slot_.find(index); found != slot_.end()) {
    entry = &cache_[found->second];
    recent_.splice(recent_.begin(), recent_, entry->recency);
  } else {
    size_t slot;
    if (static_cast<int64_t>(cache_.size()) < capacity_) {
      slot = cache_.size();
      cache_.emplace_back();
      recent_.push_front(slot);
    } else {
      // Reuse the entry used longest ago.
      slot = recent_.back();
      recent_.splice(recent_.begin(), recent_, std::prev(recent_.end()));
      slot_.erase(cache_[slot].index);
    }
    entry = &cache_[slot];
    entry->recency = recent_.begin();
    entry->index = -1;
    if (!LoadSlice(index, entry)) return nullptr;
    entry->index = index;
    slot_[index] = slot;
    ++inflations_;
  }
  if (!VerifyInOrder(*entry)) return nullptr;
  return entry->bytes.data();
}

bool EbzipPageSource::SliceBounds(int64_t index, int64_t* start, int64_t* end) {
  if (index < 0 || index >= sliceCount_) return false;
  const int64_t held = static_cast<int64_t>(window_.size()) / offsetWidth_;
  if (windowFirst_ < 0 || index < windowFirst_ || index + 1 >= windowFirst_ + held) {
    const int64_t entries = std::min(kIndexWindow, sliceCount_ + 1 - index);
    window_.resize(static_cast<size_t>(entries * offsetWidth_));
    windowFirst_ = -1;
    const int64_t at = static_cast<int64_t>(ebzip::kHeaderSize) + index * offsetWidth_;
    if (stored_->ReadAt(at, window_.data(), window_.size()) != static_cast<int64_t>(window_.size()))
      return false;
    windowFirst_ = index;
  }
  const uint8_t* entry = window_.data() + (index - windowFirst_) * offsetWidth_;
  *start = static_cast<int64_t>(ebzip::ReadBigEndian(entry, offsetWidth_));
  *end = static_cast<int64_t>(ebzip::ReadBigEndian(entry + offsetWidth_, offsetWidth_));
  return *start >= indexEnd_ && *end > *start && *end <= storedSize_;
}

bool EbzipPageSource::LoadSlice(int64_t index, CachedSlice* out) {
  int64_t start = 0;
  int64_t end = 0;
  if (!SliceBounds(index, &start, &end)) return false;
  const int64_t length = end - start;
  // zlib never needs this much for one slice; a larger claim is damage, and
  // must not make us allocate whatever the index says.
  if (length > 2 * sliceSize_ + 1024) return false;

  std::vector<uint8_t>& bytes = out->bytes;
  bytes.resize(static_cast<size_t>(sliceSize_));
  out->adler.reset();
  if (length == sliceSize_) return stored_->ReadAt(start, bytes.data(), bytes.size()) == length;
  storedBytes_.resize(static_cast<size_t>(length));
  if (stored_->ReadAt(start, storedBytes_.data(), storedBytes_.size()) != length) return false;
  if (!inflater_->Inflate(storedBytes_.data(), storedBytes_.size(), bytes.data(), bytes.size()))
    return false;
  out->adler = static_cast<uint32_t>(inflater_->stream.adler);
  return true;
}

bool EbzipPageSource::VerifyInOrder(const CachedSlice& slice) {
  if (checksumFailed_) return false;
  if (slice.index != verifiedSlices_) return true;
  // The padding of the last slice is not part of the original data.
  const int64_t valid = std::min(sliceSize_, Size() - slice.index * sliceSize_);
  if (slice.adler && valid == sliceSize_) {
    // zlib has summed this slice already while checking it.
    runningAdler_ = static_cast<uint32_t>(
        adler32_combine(runningAdler_, *slice.adler, static_cast<z_off_t>(valid)));
  } else {
    runningAdler_ =
        static_cast<uint32_t>(adler32(runningAdler_, slice.bytes.data(), static_cast<uInt>(valid)));
  }
  ++verifiedSlices_;
  if (verifiedSlices_ == sliceCount_ && runningAdler_ != header_.adler) {
    checksumFailed_ = true;
    return false;
  }
  return true;
}

}  // namespace morva
