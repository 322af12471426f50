#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <random>

#include "engine/book/ebzip_source.h"
#include "engine/book/file_lookup.h"
#include "engine/book/tdisk.h"
#include "tests/support/recording_reporter.h"
#include "tests/support/test_dirs.h"
#include "tools/mkbook/ebzip_writer.h"

namespace morva {
namespace {

using testing::RecordedBox;
using testing::RecordingReporter;
using testing::TempDir;
using testing::WriteFile;

constexpr const char* kInputError = "辞書ﾌｧｲﾙの入力ｴﾗｰが発生しました.";
constexpr const char* kSeekError =
    "Seek error at ReadPage.\nPress the cancel button to abort Morva";

std::string RandomBytes(size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>(rng() & 0xFF);
  return s;
}

// Compressible bytes that still differ from slice to slice.
std::string TextBytes(size_t n) {
  std::string s;
  for (int line = 0; s.size() < n; ++line)
    s += "entry " + std::to_string(line) + ": a word and its meaning\n";
  s.resize(n);
  return s;
}

std::string Encode(std::string_view plain, int level) {
  std::optional<std::string> packed = mkbook::EncodeEbzip(plain, level);
  EXPECT_TRUE(packed.has_value());
  return packed.value_or("");
}

// A TDisk whose page space is the one file at path.
struct OneFileDisk {
  explicit OneFileDisk(const std::string& path) {
    disk.BodyFiles().Add(path, 1);
    disk.SetMultiFile(true);
  }
  RecordingReporter reporter;
  TDisk disk{reporter};
};

// Every byte read through TDisk from the book file at path equals plain.
void ExpectServes(const std::string& path, const std::string& plain) {
  ASSERT_EQ(TDisk::FileSize(path), static_cast<int64_t>(plain.size()));
  OneFileDisk f(path);
  ASSERT_EQ(f.disk.Seek(1, 0), 0);
  for (size_t i = 0; i < plain.size(); ++i)
    ASSERT_EQ(f.disk.ReadByte(), static_cast<uint8_t>(plain[i])) << "byte " << i;
  EXPECT_TRUE(f.reporter.boxes().empty());
}

TEST(EbzipTest, FilesOfAnyLevelAndSizeReadBackThroughTDisk) {
  TempDir dir;
  // Text and random stretches give compressed and stored slices; odd sizes
  // leave a padded last slice that cuts a page.
  for (auto [level, size] : {std::pair{0, 1},
                             {0, 2047},
                             {0, 2048},
                             {0, 2049},
                             {0, 3 * 2048 + 5},
                             {2, 119001},
                             {5, 119001}}) {
    SCOPED_TRACE(size);
    const std::string plain =
        TextBytes(size / 2) + RandomBytes(size - size / 2, static_cast<unsigned>(size));
    WriteFile(dir / "start.ebz", Encode(plain, level));
    ExpectServes(dir.str() + "/start", plain);
  }
}

TEST(EbzipTest, PlainFileIsPreferredAndCompressedFoundInAnyCase) {
  TempDir dir;
  const std::string plain = TextBytes(5000);
  const std::string other = TextBytes(7000);
  WriteFile(dir / "DATA/HONMON.EBZ", Encode(plain, 1));
  ExpectServes(dir.str() + "/data/honmon", plain);
  EXPECT_TRUE(IsCompressedBookFile(dir.str() + "/data/honmon"));

  WriteFile(dir / "DATA/HONMON", other);
  ExpectServes(dir.str() + "/data/honmon", other);
  EXPECT_FALSE(IsCompressedBookFile(dir.str() + "/data/honmon"));

  WriteFile(dir / "Gaiji/Gai16F.Ebz;1", Encode(other, 0));
  EXPECT_EQ(TDisk::FileSize(dir.str() + "/gaiji/gai16f"), 7000);
  EXPECT_FALSE(FindBookFile(dir.str() + "/data/honmon3"));
}

// ---- Damaged files ---------------------------------------------------------------

// A damaged compressed body opened through TDisk gives a book-file failure box.
class EbzipDamageTest : public ::testing::Test {
 protected:
  // Writes the body and reads every byte; returns the boxes shown.
  std::vector<RecordedBox> ReadAllOf(const std::string& packed) {
    WriteFile(dir_ / "honmon.ebz", packed);
    OneFileDisk f(dir_.str() + "/honmon");
    if (f.disk.Seek(1, 0) == 0)
      for (size_t i = 0; i < plain_.size(); ++i) f.disk.ReadByte();
    return f.reporter.boxes();
  }
  static bool Has(const std::vector<RecordedBox>& boxes, RecordedBox::Kind kind,
                  const std::string& text) {
    return std::any_of(boxes.begin(), boxes.end(),
                       [&](const RecordedBox& b) { return b.kind == kind && b.Utf8() == text; });
  }
  // Slice i of the plain bytes, padded and deflated.
  std::string Slice(size_t i) const {
    std::string slice = plain_.substr(i * 2048, 2048);
    slice.resize(2048, '\0');
    return Deflate(slice);
  }
  // The file with its first slices stored as given and the rest deflated, so
  // a test can shape any slice without the writer.
  std::string Assemble(std::vector<std::string> stored = {}) const {
    while (stored.size() * 2048 < plain_.size()) stored.push_back(Slice(stored.size()));
    ebzip::Header h;
    h.level = 0;
    h.originalSize = plain_.size();
    h.adler = static_cast<uint32_t>(
        adler32(adler32(0, nullptr, 0), Bytes(plain_), static_cast<uInt>(plain_.size())));
    const int width = ebzip::OffsetWidth(plain_.size());
    std::string out = ebzip::EncodeHeader(h);
    uint64_t at = out.size() + (stored.size() + 1) * static_cast<uint64_t>(width);
    for (const std::string& s : stored) {
      ebzip::AppendBigEndian(&out, at, width);
      at += s.size();
    }
    ebzip::AppendBigEndian(&out, at, width);
    for (const std::string& s : stored) out += s;
    return out;
  }
  static const Bytef* Bytes(std::string_view s) { return reinterpret_cast<const Bytef*>(s.data()); }
  static std::string Deflate(std::string_view bytes) {
    std::string out(compressBound(static_cast<uLong>(bytes.size())), '\0');
    uLongf n = static_cast<uLongf>(out.size());
    compress(reinterpret_cast<Bytef*>(out.data()), &n, Bytes(bytes),
             static_cast<uLong>(bytes.size()));
    out.resize(n);
    return out;
  }

  TempDir dir_;
  const std::string plain_ = TextBytes(3 * 2048 + 100);  // four slices at level 0
  const std::string good_ = Encode(plain_, 0);
};

TEST_F(EbzipDamageTest, DamagedHeaderOrIndexFailsTheOpenOrTheRead) {
  const int width = ebzip::OffsetWidth(plain_.size());
  const size_t entry2 = ebzip::kHeaderSize + 2 * width;
  const auto changed = [this](std::vector<std::pair<size_t, char>> bytes) {
    std::string packed = good_;
    for (auto [at, value] : bytes) packed[at] = value;
    return packed;
  };
  const std::string cannotOpen = "ﾌｧｲﾙ：" + dir_.str() + "/honmon を開けない．";
  const struct {
    std::string packed;
    std::string box;
  } cases[] = {
      {changed({{2, 'x'}}), cannotOpen},   // magic
      {changed({{5, 0x16}}), cannotOpen},  // level
      {changed({{8, 0x01}}), cannotOpen},  // an index that cannot fit in the file
      {good_.substr(0, 21), cannotOpen},
      {"", cannotOpen},
      // Slice 1 ends, slice 2 starts beyond the file; slice 2 starts before
      // slice 1; slice 0 starts inside the index.
      {changed({{entry2, '\xFF'}}), kSeekError},
      {changed({{entry2, 0}, {entry2 + 1, 40}}), kSeekError},
      {changed({{ebzip::kHeaderSize, 0}, {ebzip::kHeaderSize + 1, 0}}), kSeekError},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(Has(ReadAllOf(c.packed), RecordedBox::kRetry, c.box));
    EXPECT_EQ(TDisk::FileSize(dir_.str() + "/honmon") == 0, c.box == cannotOpen);
  }
  // Bytes after the last offset are not data.
  EXPECT_TRUE(ReadAllOf(good_ + "trailing bytes").empty());
}

TEST_F(EbzipDamageTest, SliceThatDoesNotInflateToItsSizeFailsTheRead) {
  ASSERT_TRUE(ReadAllOf(Assemble()).empty());
  std::string corrupt = Slice(1);
  corrupt[corrupt.size() / 2] ^= 0x55;
  const std::string slice2 = plain_.substr(4096, 2000);
  for (const std::string& bad :
       {corrupt, Slice(1).substr(0, Slice(1).size() - 5),  // no end of stream
        plain_.substr(2048, 2047),                         // stored, and a byte short
        Deflate(slice2), Deflate(slice2 + plain_.substr(0, 2000))}) {
    const auto boxes = ReadAllOf(Assemble({Slice(0), bad}));
    EXPECT_TRUE(Has(boxes, RecordedBox::kRetry, kSeekError));
    EXPECT_TRUE(Has(boxes, RecordedBox::kWarning, kInputError));
  }
}

TEST_F(EbzipDamageTest, ChecksumMismatchFailsWhenTheLastSliceIsReadInOrder) {
  std::string packed = good_;
  packed[17] ^= 0x01;
  auto source = EbzipPageSource::Open(MemoryPageSource(packed));
  ASSERT_TRUE(source);
  uint8_t page[kPageSize];
  // Out of order: nothing has been verified yet.
  EXPECT_EQ(source->ReadAt(3 * 2048, page, kPageSize), 100);
  for (int p = 0; p < 3; ++p) EXPECT_EQ(source->ReadAt(p * 2048, page, kPageSize), kPageSize);
  EXPECT_EQ(source->ReadAt(3 * 2048, page, kPageSize), -1);
  EXPECT_EQ(source->ReadAt(0, page, kPageSize), -1);
  // Through TDisk the sequential reader warns, as for an unreadable page.
  EXPECT_TRUE(Has(ReadAllOf(packed), RecordedBox::kWarning, kInputError));
}

}  // namespace
}  // namespace morva
