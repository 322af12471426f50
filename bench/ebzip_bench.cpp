// Reading a compressed body: edict-full's body is compressed at level 0
// (one page a slice) once into a temporary directory, then read through TDisk
// sequentially and at random pages, beside the plain body for comparison.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <random>
#include <vector>

#include "bench/bench_support.h"
#include "engine/book/tdisk.h"
#include "tools/mkbook/ebzip_writer.h"

namespace morva::bench {
namespace {

const char* const kBody = "edict-full/edfull/data/honmon";

// The compressed copy of the body, made on first use and removed at exit.
class CompressedBody {
 public:
  static const CompressedBody& Get() {
    static const CompressedBody body;
    return body;
  }
  bool ok() const { return ok_; }
  // The name to open: the ".ebz" file is found from it.
  const std::string& path() const { return path_; }

  ~CompressedBody() {
    std::error_code ec;
    if (!dir_.empty()) std::filesystem::remove_all(dir_, ec);
  }

 private:
  CompressedBody() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "morva-bench-XXXXXX").string();
    if (!::mkdtemp(tmpl.data())) return;
    dir_ = tmpl;
    path_ = dir_ + "/honmon";
    ok_ = mkbook::WriteEbzip(SharedBook(kBody), path_ + ".ebz", 0);
  }
  std::string dir_;
  std::string path_;
  bool ok_ = false;
};

void BM_ReadByteCompressedBody(benchmark::State& state) {
  const CompressedBody& body = CompressedBody::Get();
  const int64_t size = TDisk::FileSize(body.path());
  if (!body.ok() || size == 0) {
    state.SkipWithError("edict-full is not present or could not be compressed");
    return;
  }
  SilentReporter reporter;
  TDisk disk(reporter);
  disk.BodyFiles().Add(body.path(), 1);
  disk.SetMultiFile(true);
  uint64_t sum = 0;
  for (auto _ : state) {
    disk.Seek(1, 0);
    for (int64_t i = 0; i < size; ++i) sum += static_cast<unsigned>(disk.ReadByte());
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(state.iterations() * size);
}
BENCHMARK(BM_ReadByteCompressedBody)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Seeks to a random place of a random page and reads a few bytes, the way
// following index rows to entries does.
void RandomLookups(benchmark::State& state, const std::string& path) {
  const int64_t size = TDisk::FileSize(path);
  if (size == 0) {
    state.SkipWithError("edict-full is not present or could not be compressed");
    return;
  }
  SilentReporter reporter;
  TDisk disk(reporter);
  disk.BodyFiles().Add(path, 1);
  disk.SetMultiFile(true);
  const int32_t pages = static_cast<int32_t>(size / kPageSize);
  std::mt19937 rng(42);
  std::uniform_int_distribution<int32_t> page(1, pages);
  std::uniform_int_distribution<int32_t> offset(0, kPageSize - 16);
  uint64_t sum = 0;
  for (auto _ : state) {
    disk.Seek(page(rng), offset(rng));
    for (int i = 0; i < 16; ++i) sum += static_cast<unsigned>(disk.ReadByte());
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations());
}

void BM_RandomPageCompressed(benchmark::State& state) {
  const CompressedBody& body = CompressedBody::Get();
  if (!body.ok()) {
    state.SkipWithError("edict-full is not present or could not be compressed");
    return;
  }
  RandomLookups(state, body.path());
}
BENCHMARK(BM_RandomPageCompressed)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

void BM_RandomPagePlain(benchmark::State& state) { RandomLookups(state, SharedBook(kBody)); }
BENCHMARK(BM_RandomPagePlain)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

}  // namespace
}  // namespace morva::bench

BENCHMARK_MAIN();
