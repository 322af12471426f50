// Reading real books: opening a volume and selecting a sub-book, formatting
// one entry, and rendering the whole body as plain text (morva-cli text).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "bench/bench_support.h"
#include "cli/reading.h"
#include "engine/book/tdisk.h"
#include "engine/decode/content.h"

namespace morva::bench {
namespace {

BookBar OneBook(const std::string& dir) {
  BookBar bar(2);
  bar[1].shortName = "book";
  bar[1].location = dir;
  bar[1].subbook = 0;
  return bar;
}

// Open the volume, read its catalog and index page, build the font cache.
void BM_OpenAndSelect(benchmark::State& state, const char* book) {
  SilentReporter reporter;
  BookBar bar = OneBook(SharedBook(book));
  for (auto _ : state) {
    TDisk disk(reporter);
    disk.SetBookList(&bar);
    if (!disk.SelectSubbook(1)) state.SkipWithError("the book is not present");
  }
}
BENCHMARK_CAPTURE(BM_OpenAndSelect, ebstudio_sample, "ebstudio-sample")
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_OpenAndSelect, edict_small, "edict-small")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_OpenAndSelect, edict_full, "edict-full")->Unit(benchmark::kMicrosecond);

// The starts of the first 20,000 entries of edict-full, found by walking the
// body item by item once.
std::vector<BookAddress> EntryStarts(TDisk& disk) {
  std::vector<BookAddress> starts;
  TContent content(disk);
  std::string marked;
  BookAddress at{disk.subbook().indexes.Start(0x00), 0};
  while (starts.size() < 20000) {
    starts.push_back(at);
    marked.clear();
    const BookAddress next = content.FormatItemTo(1, at, &marked);
    if (TDisk::CompareAddresses(next, at) <= 0) break;
    at = next;
  }
  return starts;
}

// Format item: one entry into the marked-text file, as the view asks for it.
void BM_FormatItem(benchmark::State& state) {
  SilentReporter reporter;
  BookBar bar = OneBook(SharedBook("edict-full"));
  TDisk disk(reporter);
  disk.SetBookList(&bar);
  if (!disk.SelectSubbook(1)) {
    state.SkipWithError("edict-full is not present");
    return;
  }
  const std::vector<BookAddress> starts = EntryStarts(disk);
  TContent content(disk);
  size_t i = 0;
  for (auto _ : state) {
    content.FormatItem(1, starts[i]);
    i = (i + 7919) % starts.size();
  }
}
BENCHMARK(BM_FormatItem)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The whole body as plain UTF-8 text, item by item (what morva-cli text does).
void BM_WholeBodyAsText(benchmark::State& state) {
  SilentReporter reporter;
  BookBar bar = OneBook(SharedBook("edict-full"));
  TDisk disk(reporter);
  disk.SetBookList(&bar);
  if (!disk.SelectSubbook(1)) {
    state.SkipWithError("edict-full is not present");
    return;
  }
  disk.decoderState().gaijiMode = GaijiMode::kText;
  const int64_t bodyBytes = (static_cast<int64_t>(disk.subbook().indexes.End(0x00)) -
                             disk.subbook().indexes.Start(0x00) + 1) *
                            kPageSize;
  size_t out = 0;
  for (auto _ : state) {
    cli::RenderBody(disk, 1, {disk.subbook().indexes.Start(0x00), 0}, cli::TextFormat::kReadable,
                    [&out](std::string& item) {
                      out += item.size();
                      return true;
                    });
  }
  benchmark::DoNotOptimize(out);
  state.SetBytesProcessed(state.iterations() * bodyBytes);
}
BENCHMARK(BM_WholeBodyAsText)->Unit(benchmark::kMillisecond)->MinTime(3.0);

}  // namespace
}  // namespace morva::bench

BENCHMARK_MAIN();
