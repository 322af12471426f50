// Sequential byte reading through TDisk over the whole body of edict-full.
#include <benchmark/benchmark.h>

#include "bench/bench_support.h"
#include "engine/book/tdisk.h"

namespace morva::bench {
namespace {

void BM_ReadByteWholeBody(benchmark::State& state) {
  SilentReporter reporter;
  TDisk disk(reporter);
  const std::string body = SharedBook("edict-full/edfull/data/honmon");
  const int64_t size = TDisk::FileSize(body);
  if (size == 0) {
    state.SkipWithError("edict-full is not present");
    return;
  }
  disk.BodyFiles().Add(body, 1);
  disk.SetMultiFile(true);
  uint64_t sum = 0;
  for (auto _ : state) {
    disk.Seek(1, 0);
    for (int64_t i = 0; i < size; ++i) sum += static_cast<unsigned>(disk.ReadByte());
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(state.iterations() * size);
}
BENCHMARK(BM_ReadByteWholeBody)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
}  // namespace morva::bench

BENCHMARK_MAIN();
