// The layout of a compressed book file (".ebz"), shared by the reader
// (ebzip_source.h) and the writer in tools/mkbook.
//
//   +0   5  magic "EBZip"
//   +5   1  mode (high nibble, always 1) and level 0-5 (low nibble)
//   +6   2  reserved, written as 0
//   +8   6  size of the original file, big-endian
//   +14  4  Adler-32 of the original data, big-endian
//   +18  4  modification time of the original file, big-endian
//   +22     index: slice count + 1 big-endian offsets from the start of the
//           file, each where a slice's stored bytes begin; the last one is
//           where the data ends. Offsets are 2, 3 or 4 bytes wide by the
//           original size (OffsetWidth).
//   ...     slices: the original cut into SliceSize(level) pieces, the last
//           one zero-padded to full size; each stored as zlib data, or as is
//           when its stored length equals the slice size.
// Bytes after the last offset are not part of the data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

namespace morva::ebzip {

inline constexpr char kMagic[5] = {'E', 'B', 'Z', 'i', 'p'};
inline constexpr size_t kMagicSize = sizeof(kMagic);
inline constexpr size_t kHeaderSize = 5 + 1 + 2 + 6 + 4 + 4;
inline constexpr int kMode = 1;
inline constexpr int kMaxLevel = 5;
inline constexpr uint64_t kMaxOriginalSize = (uint64_t{1} << 48) - 1;

struct Header {
  int level = 0;
  uint64_t originalSize = 0;
  uint32_t adler = 1;  // Adler-32 of no data
  uint32_t mtime = 0;
};

inline int64_t SliceSize(int level) { return int64_t{2048} << level; }

inline int OffsetWidth(uint64_t originalSize) {
  if (originalSize < (uint64_t{1} << 16)) return 2;
  if (originalSize < (uint64_t{1} << 24)) return 3;
  return 4;
}

inline int64_t SliceCount(const Header& h) {
  const int64_t slice = SliceSize(h.level);
  return static_cast<int64_t>((h.originalSize + static_cast<uint64_t>(slice) - 1) /
                              static_cast<uint64_t>(slice));
}

// Where the slices may begin: after the header and the whole index.
inline int64_t IndexEnd(const Header& h) {
  return static_cast<int64_t>(kHeaderSize) + (SliceCount(h) + 1) * OffsetWidth(h.originalSize);
}

inline bool HasMagic(const uint8_t* p, size_t n) {
  return n >= kMagicSize && std::memcmp(p, kMagic, kMagicSize) == 0;
}

// Big-endian unsigned integer of `width` bytes (at most 8).
inline uint64_t ReadBigEndian(const uint8_t* p, int width) {
  uint64_t v = 0;
  for (int i = 0; i < width; ++i) v = v << 8 | p[i];
  return v;
}

inline void AppendBigEndian(std::string* out, uint64_t v, int width) {
  for (int i = width - 1; i >= 0; --i) out->push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// The header at p (n bytes available), or nothing when the bytes are not a
// header this reader understands: wrong magic, mode or level, or too short.
inline std::optional<Header> DecodeHeader(const uint8_t* p, size_t n) {
  if (n < kHeaderSize || !HasMagic(p, n)) return std::nullopt;
  if ((p[5] >> 4) != kMode || (p[5] & 0x0F) > kMaxLevel) return std::nullopt;
  Header h;
  h.level = p[5] & 0x0F;
  h.originalSize = ReadBigEndian(p + 8, 6);
  h.adler = static_cast<uint32_t>(ReadBigEndian(p + 14, 4));
  h.mtime = static_cast<uint32_t>(ReadBigEndian(p + 18, 4));
  return h;
}

inline std::string EncodeHeader(const Header& h) {
  std::string out(kMagic, kMagicSize);
  out.push_back(static_cast<char>(kMode << 4 | (h.level & 0x0F)));
  AppendBigEndian(&out, 0, 2);
  AppendBigEndian(&out, h.originalSize, 6);
  AppendBigEndian(&out, h.adler, 4);
  AppendBigEndian(&out, h.mtime, 4);
  return out;
}

}  // namespace morva::ebzip
