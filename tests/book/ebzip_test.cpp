#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "engine/book/ebzip_source.h"
#include "engine/book/file_lookup.h"
#include "engine/book/tdisk.h"
#include "tests/support/recording_reporter.h"
#include "tests/support/test_dirs.h"
#include "tools/mkbook/ebzip_writer.h"

namespace morva {
namespace {

namespace fs = std::filesystem;
using mkbook::EncodeEbzip;
using testing::ReadFile;
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
  std::optional<std::string> packed = EncodeEbzip(plain, level);
  EXPECT_TRUE(packed.has_value());
  return packed.value_or("");
}

// A compressed file assembled by hand from stored slices, so tests can shape
// any slice and do not depend on the writer.
std::string Assemble(int level, uint64_t originalSize, uint32_t adler,
                     const std::vector<std::string>& stored) {
  ebzip::Header h;
  h.level = level;
  h.originalSize = originalSize;
  h.adler = adler;
  const int width = ebzip::OffsetWidth(originalSize);
  std::string out = ebzip::EncodeHeader(h);
  uint64_t at =
      static_cast<uint64_t>(out.size()) + (stored.size() + 1) * static_cast<uint64_t>(width);
  for (const std::string& s : stored) {
    ebzip::AppendBigEndian(&out, at, width);
    at += s.size();
  }
  ebzip::AppendBigEndian(&out, at, width);
  for (const std::string& s : stored) out += s;
  return out;
}

std::string Deflate(std::string_view bytes) {
  std::string out(compressBound(static_cast<uLong>(bytes.size())), '\0');
  uLongf n = static_cast<uLongf>(out.size());
  compress(reinterpret_cast<Bytef*>(out.data()), &n, reinterpret_cast<const Bytef*>(bytes.data()),
           static_cast<uLong>(bytes.size()));
  out.resize(n);
  return out;
}

uint32_t Adler(std::string_view bytes) {
  return static_cast<uint32_t>(adler32(adler32(0, nullptr, 0),
                                       reinterpret_cast<const Bytef*>(bytes.data()),
                                       static_cast<uInt>(bytes.size())));
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

// Every page and every byte read through TDisk from the book file at path
// equals plain.
void ExpectServes(const std::string& path, const std::string& plain) {
  ASSERT_EQ(TDisk::FileSize(path), static_cast<int64_t>(plain.size()));
  OneFileDisk f(path);
  const int pages = static_cast<int>((plain.size() + kPageSize - 1) / kPageSize);
  for (int p = 1; p <= pages; ++p) {
    ASSERT_EQ(f.disk.ReadPage(p), 0) << "page " << p;
    const size_t from = static_cast<size_t>(p - 1) * kPageSize;
    std::string expected = plain.substr(from, kPageSize);
    expected.resize(kPageSize, '\0');
    ASSERT_EQ(std::string(reinterpret_cast<const char*>(f.disk.PageBuffer()), kPageSize), expected)
        << "page " << p;
  }
  ASSERT_EQ(f.disk.Seek(1, 0), 0);
  for (size_t i = 0; i < plain.size(); ++i)
    ASSERT_EQ(f.disk.ReadByte(), static_cast<uint8_t>(plain[i])) << "byte " << i;
  EXPECT_TRUE(f.reporter.boxes().empty());
}

// ---- Round trips -------------------------------------------------------------

class EbzipLevelTest : public ::testing::TestWithParam<int> {};

TEST_P(EbzipLevelTest, MixedDataReadsBackThroughTDisk) {
  TempDir dir;
  // Text and random stretches give compressed and stored slices; the odd
  // size leaves a padded last slice that cuts a page.
  const std::string plain = TextBytes(40000) + RandomBytes(70001, 7) + TextBytes(9000);
  WriteFile(dir / "honmon.ebz", Encode(plain, GetParam()));
  ExpectServes(dir.str() + "/honmon", plain);
}

INSTANTIATE_TEST_SUITE_P(Levels, EbzipLevelTest, ::testing::Values(0, 2, 5));

TEST(EbzipRoundTrip, OddSizesAtSliceBoundaries) {
  TempDir dir;
  for (size_t size : {size_t{1}, size_t{2047}, size_t{2048}, size_t{2049}, size_t{3 * 2048 + 5}}) {
    SCOPED_TRACE(size);
    const std::string plain =
        TextBytes(size / 2) + RandomBytes(size - size / 2, static_cast<unsigned>(size));
    WriteFile(dir / "start.ebz", Encode(plain, 0));
    ExpectServes(dir.str() + "/start", plain);
  }
}

// ---- Finding compressed files ------------------------------------------------------

TEST(EbzipLookup, PlainFileIsPreferredAndCompressedFoundInAnyCase) {
  TempDir dir;
  const std::string plain = TextBytes(5000);
  const std::string other = TextBytes(7000);
  WriteFile(dir / "DATA/HONMON.EBZ", Encode(plain, 1));
  ExpectServes(dir.str() + "/data/honmon", plain);
  EXPECT_TRUE(IsCompressedBookFile(dir.str() + "/data/honmon"));

  WriteFile(dir / "DATA/HONMON", other);
  ExpectServes(dir.str() + "/data/honmon", other);
  EXPECT_FALSE(IsCompressedBookFile(dir.str() + "/data/honmon"));

  WriteFile(dir / "Gaiji/Gai16F.Ebz;1", Encode(plain, 0));
  ExpectServes(dir.str() + "/gaiji/gai16f", plain);

  WriteFile(dir / "data/honmon2.org", other);
  ExpectServes(dir.str() + "/data/honmon2", other);
  EXPECT_FALSE(FindBookFile(dir.str() + "/data/honmon3"));
}

TEST(EbzipLookup, FileSearchUnderADirectoryMatchesCompressedNames) {
  TempDir dir;
  WriteFile(dir / "sub/idx/ZHYOKI.IDX.ebz", Encode(TextBytes(3000), 0));
  std::string found;
  ASSERT_TRUE(TDisk::FindFileUnderDirectory(dir.str(), "zhyoki.idx", &found));
  EXPECT_EQ(found, dir.str() + "/sub/idx/ZHYOKI.IDX.ebz");
  WriteFile(dir / "sub/idx/zhyoki.idx", TextBytes(3000));
  ASSERT_TRUE(TDisk::FindFileUnderDirectory(dir.str(), "zhyoki.idx", &found));
  EXPECT_EQ(found, dir.str() + "/sub/idx/zhyoki.idx");
}

// ---- Slice cache ----------------------------------------------------------------

TEST(EbzipCache, SequentialReadInflatesEverySliceOnce) {
  const std::string plain = TextBytes(300000);
  for (int level : {0, 5}) {
    SCOPED_TRACE(level);
    auto source = EbzipPageSource::Open(MemoryPageSource(Encode(plain, level)));
    ASSERT_TRUE(source);
    const int64_t slices =
        static_cast<int64_t>((plain.size() + (2048u << level) - 1) / (2048u << level));
    std::string got(plain.size(), '\0');
    // Page by page, then byte by byte, as TDisk and a dump would read.
    for (size_t at = 0; at < plain.size(); at += kPageSize)
      source->ReadAt(static_cast<int64_t>(at), reinterpret_cast<uint8_t*>(got.data() + at),
                     std::min<size_t>(kPageSize, plain.size() - at));
    EXPECT_EQ(got, plain);
    EXPECT_EQ(source->InflationCount(), slices);

    auto again = EbzipPageSource::Open(MemoryPageSource(Encode(plain, level)));
    uint8_t b;
    for (size_t at = 0; at < plain.size(); ++at)
      ASSERT_EQ(again->ReadAt(static_cast<int64_t>(at), &b, 1), 1);
    EXPECT_EQ(again->InflationCount(), slices);
  }
}

TEST(EbzipCache, ReadsInAnyOrderGiveTheSameBytesAndStopAtTheEnd) {
  // More slices than one read-ahead of index entries holds.
  const std::string plain = TextBytes(300 * 2048) + RandomBytes(5000, 9);
  auto source = EbzipPageSource::Open(MemoryPageSource(Encode(plain, 0)));
  ASSERT_TRUE(source);
  std::mt19937 rng(5);
  std::string buf(3000, '\0');
  for (int i = 0; i < 500; ++i) {
    const size_t at = rng() % plain.size();
    const int64_t got = source->ReadAt(static_cast<int64_t>(at),
                                       reinterpret_cast<uint8_t*>(buf.data()), buf.size());
    ASSERT_EQ(got, static_cast<int64_t>(std::min(buf.size(), plain.size() - at)));
    ASSERT_EQ(buf.substr(0, static_cast<size_t>(got)), plain.substr(at, static_cast<size_t>(got)));
  }
  auto* dst = reinterpret_cast<uint8_t*>(buf.data());
  EXPECT_EQ(source->ReadAt(static_cast<int64_t>(plain.size()), dst, 10), 0);
  EXPECT_EQ(source->ReadAt(int64_t{1} << 40, dst, 10), 0);
  EXPECT_EQ(source->ReadAt(-1, dst, 10), -1);
}

TEST(EbzipCache, KeepsTheMostRecentlyUsedSlices) {
  constexpr int kCached = static_cast<int>(EbzipPageSource::kMinSlices);
  constexpr int kSlices = kCached + 8;
  auto source = EbzipPageSource::Open(MemoryPageSource(Encode(TextBytes(kSlices * 2048), 0)), 0);
  ASSERT_TRUE(source);
  ASSERT_EQ(source->CachedSlices(), kCached);
  uint8_t b;
  const auto touch = [&](int slice) { return source->ReadAt(slice * 2048 + 7, &b, 1); };
  for (int s = 0; s < kCached; ++s) touch(s);
  touch(0);  // 0 is now the most recent, 1 the oldest
  touch(kSlices - 1);
  EXPECT_EQ(source->InflationCount(), kCached + 1);
  touch(0);
  EXPECT_EQ(source->InflationCount(), kCached + 1);
  touch(1);
  EXPECT_EQ(source->InflationCount(), kCached + 2);
}

// ---- Damaged files ---------------------------------------------------------------

// A damaged compressed body opened through TDisk gives a book-file failure box.
class EbzipDamageTest : public ::testing::Test {
 protected:
  // Writes the body, reads every page, then (with the file opened afresh)
  // every byte; returns the boxes of both.
  std::vector<RecordedBox> ReadAllOf(const std::string& packed) {
    WriteFile(dir_ / "honmon.ebz", packed);
    OneFileDisk pages(dir_.str() + "/honmon");
    for (int p = 1; p <= 4; ++p) pages.disk.ReadPage(p);
    OneFileDisk bytes(dir_.str() + "/honmon");
    if (bytes.disk.Seek(1, 0) == 0)
      for (size_t i = 0; i < plain_.size(); ++i) bytes.disk.ReadByte();
    std::vector<RecordedBox> boxes = pages.reporter.boxes();
    boxes.insert(boxes.end(), bytes.reporter.boxes().begin(), bytes.reporter.boxes().end());
    return boxes;
  }
  static bool Has(const std::vector<RecordedBox>& boxes, RecordedBox::Kind kind,
                  const std::string& text) {
    return std::any_of(boxes.begin(), boxes.end(),
                       [&](const RecordedBox& b) { return b.kind == kind && b.Utf8() == text; });
  }
  std::string CannotOpen() const { return "ﾌｧｲﾙ：" + dir_.str() + "/honmon を開けない．"; }

  TempDir dir_;
  const std::string plain_ = TextBytes(3 * 2048 + 100);  // four slices at level 0
  const std::string good_ = Encode(plain_, 0);
  std::vector<std::string> Slices() const {
    std::vector<std::string> s;
    for (size_t at = 0; at < plain_.size(); at += 2048) {
      std::string slice = plain_.substr(at, 2048);
      slice.resize(2048, '\0');
      s.push_back(Deflate(slice));
    }
    return s;
  }
};

TEST_F(EbzipDamageTest, DamagedHeaderCannotBeOpened) {
  std::string badMagic = good_;
  badMagic[2] = 'x';
  std::string badLevel = good_;
  badLevel[5] = 0x16;
  std::string badMode = good_;
  badMode[5] = 0x20;
  std::string hugeSize = good_;  // an index that cannot fit in the file
  hugeSize[8] = 0x01;
  for (const std::string& packed :
       {badMagic, badLevel, badMode, hugeSize, good_.substr(0, 21), std::string()}) {
    const auto boxes = ReadAllOf(packed);
    EXPECT_TRUE(Has(boxes, RecordedBox::kRetry, CannotOpen()));
  }
  EXPECT_EQ(TDisk::FileSize(dir_.str() + "/honmon"), 0);
}

TEST_F(EbzipDamageTest, BadIndexFailsTheRead) {
  const int width = ebzip::OffsetWidth(plain_.size());
  const size_t entry2 = ebzip::kHeaderSize + 2 * width;
  std::string outside = good_;  // slice 1 ends, slice 2 starts beyond the file
  outside[entry2] = static_cast<char>(0xFF);
  std::string backwards = good_;  // slice 2 starts before slice 1
  backwards[entry2] = 0;
  backwards[entry2 + 1] = 40;
  std::string intoIndex = good_;  // slice 0 starts inside the index
  intoIndex[ebzip::kHeaderSize] = 0;
  intoIndex[ebzip::kHeaderSize + 1] = 0;
  for (const std::string& packed : {outside, backwards, intoIndex}) {
    const auto boxes = ReadAllOf(packed);
    EXPECT_TRUE(Has(boxes, RecordedBox::kRetry, kSeekError));
  }
  // Bytes after the last offset are not data.
  EXPECT_TRUE(ReadAllOf(good_ + "trailing bytes").empty());
}

TEST_F(EbzipDamageTest, SliceThatDoesNotInflateToItsSizeFailsTheRead) {
  ASSERT_TRUE(ReadAllOf(Assemble(0, plain_.size(), Adler(plain_), Slices())).empty());
  std::vector<std::string> corrupt = Slices();
  corrupt[1][corrupt[1].size() / 2] ^= 0x55;
  std::vector<std::string> shortSlice = Slices();
  shortSlice[2] = Deflate(plain_.substr(4096, 2000));
  std::vector<std::string> longSlice = Slices();
  longSlice[2] = Deflate(plain_.substr(4096, 2000) + plain_.substr(0, 2000));
  std::vector<std::string> cut = Slices();
  cut[1].resize(cut[1].size() - 5);  // no end of stream
  std::vector<std::string> rawTooShort = Slices();
  rawTooShort[1] = plain_.substr(2048, 2047);
  for (const auto& slices : {corrupt, shortSlice, longSlice, cut, rawTooShort}) {
    const auto boxes = ReadAllOf(Assemble(0, plain_.size(), Adler(plain_), slices));
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
  const auto boxes = ReadAllOf(packed);
  EXPECT_TRUE(Has(boxes, RecordedBox::kWarning, kInputError));
}

TEST_F(EbzipDamageTest, RandomDamageNeverCrashes) {
  std::mt19937 rng(11);
  const std::string files[] = {good_, Encode(TextBytes(9000) + RandomBytes(9000, 2), 3)};
  for (int round = 0; round < 600; ++round) {
    std::string packed = files[round % 2];
    const int flips = 1 + static_cast<int>(rng() % 4);
    for (int i = 0; i < flips; ++i)
      packed[rng() % packed.size()] ^= static_cast<char>(1 + rng() % 255);
    if (rng() % 4 == 0) packed.resize(rng() % packed.size());
    auto source = EbzipPageSource::Open(MemoryPageSource(packed));
    if (!source) continue;
    std::vector<uint8_t> buf(3000);
    for (int64_t at = -1; at < source->Size() + 10 && at < 1 << 20; at += 1499)
      source->ReadAt(at, buf.data(), buf.size());
  }
}

}  // namespace
}  // namespace morva
