#include "tools/mkbook/ebzip_writer.h"

#include <sys/stat.h>
#include <zlib.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

#include "engine/book/ebzip_format.h"

namespace morva::mkbook {

namespace fs = std::filesystem;

std::optional<std::string> EncodeEbzip(std::string_view plain, int level, uint32_t mtime) {
  if (level < 0 || level > ebzip::kMaxLevel || plain.size() > ebzip::kMaxOriginalSize)
    return std::nullopt;
  ebzip::Header header;
  header.level = level;
  header.originalSize = plain.size();
  header.mtime = mtime;
  header.adler = static_cast<uint32_t>(adler32_z(
      adler32_z(0, nullptr, 0), reinterpret_cast<const Bytef*>(plain.data()), plain.size()));

  const size_t sliceSize = static_cast<size_t>(ebzip::SliceSize(level));
  const int64_t count = ebzip::SliceCount(header);
  const int width = ebzip::OffsetWidth(header.originalSize);
  const uint64_t maxOffset = width == 4 ? UINT32_MAX : (uint64_t{1} << (8 * width)) - 1;

  std::string slices;
  std::vector<uint64_t> offsets;
  offsets.reserve(static_cast<size_t>(count) + 1);
  uint64_t next = static_cast<uint64_t>(ebzip::IndexEnd(header));
  std::string slice(sliceSize, '\0');
  std::vector<Bytef> packed(compressBound(static_cast<uLong>(sliceSize)));
  for (int64_t i = 0; i < count; ++i) {
    // The last slice is padded with zeros to full size.
    const size_t from = static_cast<size_t>(i) * sliceSize;
    const size_t n = std::min(sliceSize, plain.size() - from);
    std::fill(std::copy_n(plain.data() + from, n, slice.begin()), slice.end(), '\0');

    uLongf packedSize = static_cast<uLongf>(packed.size());
    const bool ok =
        compress2(packed.data(), &packedSize, reinterpret_cast<const Bytef*>(slice.data()),
                  static_cast<uLong>(sliceSize), Z_DEFAULT_COMPRESSION) == Z_OK;
    // A slice whose stored length is the slice size is read as stored, so
    // zlib data must be strictly shorter to be kept.
    if (ok && packedSize < sliceSize) {
      slices.append(reinterpret_cast<const char*>(packed.data()), packedSize);
    } else {
      slices += slice;
    }
    offsets.push_back(next);
    next = ebzip::IndexEnd(header) + slices.size();
  }
  offsets.push_back(next);
  if (next > maxOffset) return std::nullopt;

  std::string out = ebzip::EncodeHeader(header);
  for (uint64_t offset : offsets) ebzip::AppendBigEndian(&out, offset, width);
  out += slices;
  return out;
}

namespace {

bool ReadWholeFile(const std::string& path, std::string* bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

uint32_t ModificationTime(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 || st.st_mtime < 0) return 0;
  return static_cast<uint32_t>(st.st_mtime);
}

// Catalog files keep their plain form; so do files already compressed and
// decompressed ".org" bodies. The name is compared as a CD-ROM name: any case,
// ";1" version suffix or trailing "." ignored.
bool StaysPlain(std::string name) {
  const size_t semi = name.rfind(';');
  if (semi != std::string::npos) name.erase(semi);
  if (!name.empty() && name.back() == '.') name.pop_back();
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const auto endsWith = [&name](std::string_view suffix) {
    return name.size() >= suffix.size() &&
           name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
  };
  return name == "catalog" || name == "catalogs" || endsWith(".ebz") || endsWith(".org");
}

enum class Outcome { kWritten, kNotDescribable, kFailed };

Outcome Compress(const std::string& plainPath, const std::string& outPath, int level) {
  std::string plain;
  if (!ReadWholeFile(plainPath, &plain)) return Outcome::kFailed;
  const std::optional<std::string> packed = EncodeEbzip(plain, level, ModificationTime(plainPath));
  if (!packed) return Outcome::kNotDescribable;
  {
    std::ofstream out(outPath, std::ios::binary | std::ios::trunc);
    if (out && out.write(packed->data(), static_cast<std::streamsize>(packed->size())) &&
        out.flush())
      return Outcome::kWritten;
  }
  std::error_code ignored;
  fs::remove(outPath, ignored);
  return Outcome::kFailed;
}

}  // namespace

bool WriteEbzip(const std::string& plainPath, const std::string& outPath, int level) {
  return Compress(plainPath, outPath, level) == Outcome::kWritten;
}

bool CompressVolume(const std::string& dir, int level) {
  if (level < 0 || level > ebzip::kMaxLevel) return false;
  std::error_code ec;
  // Collect first: the walk must not meet the files it writes.
  std::vector<fs::path> files;
  for (auto it = fs::recursive_directory_iterator(dir, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    if (it->is_regular_file(ec) && !StaysPlain(it->path().filename().string()))
      files.push_back(it->path());
  }
  if (ec) return false;
  for (const fs::path& plain : files) {
    const std::string outPath = plain.string() + ".ebz";
    switch (Compress(plain.string(), outPath, level)) {
      case Outcome::kWritten:
        if (!fs::remove(plain, ec)) return false;
        break;
      case Outcome::kNotDescribable: break;
      case Outcome::kFailed: return false;
    }
  }
  return true;
}

}  // namespace morva::mkbook
