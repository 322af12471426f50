// Searching edict-full: one exact index lookup, 10,000 random lookups of the
// answer key's index keys (each must find its entry), and a full-text search
// for a word that occurs nowhere.
#include <benchmark/benchmark.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "engine/book/tdisk.h"
#include "engine/book/text_utils.h"
#include "engine/search/fulltext.h"
#include "engine/search/index_search.h"
#include "engine/search/wordlist.h"
#include "engine/text/unicode.h"
#include "tools/mkbook/ebzip_writer.h"

namespace morva::bench {
namespace {

class NoProgress : public ProgressBox {
 public:
  void Open(std::string_view, int) override {}
  void SetCaption(std::string_view) override {}
  bool Step(int) override { return false; }
  void Close() override {}
};

// edict-full opened with exact matching (ZENPO off), so that a key finds its
// own entries only.
struct FullBook {
  SilentReporter reporter;
  BookBar bar;
  TDisk disk{reporter};
  bool ready = false;

  explicit FullBook(const std::string& location = SharedBook("edict-full")) {
    bar.resize(2);
    bar[1].shortName = "full";
    bar[1].location = location;
    bar[1].subbook = 0;
    disk.settings().zenpo = false;
    disk.SetBookList(&bar);
    ready = disk.SelectSubbook(1);
  }
};

struct KeyedEntry {
  std::string key;  // Shift-JIS, as stored in the index
  BookAddress body;
};

// The first word-index key and the body address of every entry of the
// answer key (UTF-8, tab-separated, gzip-compressed, one header line).
std::vector<KeyedEntry> ReadKeys(const std::string& path) {
  std::vector<KeyedEntry> entries;
  gzFile file = gzopen(path.c_str(), "rb");
  if (!file) return entries;
  std::string line;
  std::vector<char> chunk(1 << 16);
  int keyColumn = -1;
  int posColumn = -1;
  auto fields = [](const std::string& l) {
    std::vector<std::string> out(1);
    for (char c : l) {
      if (c == '\t') out.emplace_back();
      else out.back() += c;
    }
    return out;
  };
  while (gzgets(file, chunk.data(), static_cast<int>(chunk.size()))) {
    line += chunk.data();
    if (line.empty() || line.back() != '\n') continue;
    line.pop_back();
    const std::vector<std::string> f = fields(line);
    line.clear();
    if (keyColumn < 0) {
      for (size_t i = 0; i < f.size(); ++i) {
        if (f[i] == "word_keys_normalized") keyColumn = static_cast<int>(i);
        if (f[i] == "text_pos") posColumn = static_cast<int>(i);
      }
      if (keyColumn < 0 || posColumn < 0) break;
      continue;
    }
    if (static_cast<int>(f.size()) <= std::max(keyColumn, posColumn)) continue;
    const std::string& keys = f[static_cast<size_t>(keyColumn)];
    const std::string key = keys.substr(0, keys.find('|'));
    const std::string& pos = f[static_cast<size_t>(posColumn)];
    const size_t colon = pos.find(':');
    if (key.empty() || key.find('\\') != std::string::npos || colon == std::string::npos) continue;
    entries.push_back(
        {Utf8ToSjis(key), {std::stoi(pos.substr(0, colon)), std::stoi(pos.substr(colon + 1))}});
  }
  gzclose(file);
  return entries;
}

bool Finds(const Wordlist& list, BookAddress body) {
  return std::any_of(list.Items().begin(), list.Items().end(),
                     [body](const WordlistItem& item) { return item.body == body; });
}

// One exact lookup of a key through the forward notation index.
void BM_ExactLookup(benchmark::State& state) {
  FullBook book;
  if (!book.ready) {
    state.SkipWithError("edict-full is not present");
    return;
  }
  Wordlist hits(book.reporter);
  const SearchContext context{book.disk, 1};
  const std::string key = Sjis("いっせんまん");
  for (auto _ : state) {
    SearchWord(context, hits, key);
    benchmark::DoNotOptimize(hits.Count());
  }
  state.counters["hits"] = hits.Count();
}
BENCHMARK(BM_ExactLookup)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

// edict-full with its book files compressed at level 0, made once in a
// temporary folder that is removed at exit.
class CompressedFullBook {
 public:
  static const std::string& Location() {
    static const CompressedFullBook book;
    return book.dir_;
  }
  ~CompressedFullBook() {
    std::error_code ec;
    if (!dir_.empty()) std::filesystem::remove_all(dir_, ec);
  }

 private:
  CompressedFullBook() {
    std::string tmpl = (std::filesystem::temp_directory_path() / "morva-bench-XXXXXX").string();
    if (!::mkdtemp(tmpl.data())) return;
    dir_ = tmpl + "/edict-full";
    std::error_code ec;
    std::filesystem::copy(SharedBook("edict-full"), dir_, std::filesystem::copy_options::recursive,
                          ec);
    for (auto& e : std::filesystem::recursive_directory_iterator(dir_, ec))
      std::filesystem::permissions(e.path(), std::filesystem::perms::owner_write,
                                   std::filesystem::perm_options::add, ec);
    if (ec || !mkbook::CompressVolume(dir_, 0)) dir_.clear();
  }
  std::string dir_;
};

// 10,000 lookups of random entries' keys; every one must find its entry. The
// same lookups run on the compressed copy of the book for comparison.
void BM_RandomLookups(benchmark::State& state, bool compressed) {
  FullBook book(compressed ? CompressedFullBook::Location() : SharedBook("edict-full"));
  const std::vector<KeyedEntry> entries = ReadKeys(SharedBook("edict-full.tsv.gz"));
  if (!book.ready || entries.empty()) {
    state.SkipWithError("edict-full or its answer key is not present");
    return;
  }
  std::mt19937 rng(2024);
  std::vector<const KeyedEntry*> chosen;
  for (int i = 0; i < 10000; ++i) chosen.push_back(&entries[rng() % entries.size()]);
  Wordlist hits(book.reporter);
  const SearchContext context{book.disk, 1};
  int found = 0;
  for (auto _ : state) {
    found = 0;
    for (const KeyedEntry* e : chosen) {
      SearchWord(context, hits, e->key);
      found += Finds(hits, e->body);
    }
  }
  state.counters["lookups"] = static_cast<double>(chosen.size());
  state.counters["found"] = found;
}
BENCHMARK_CAPTURE(BM_RandomLookups, plain, false)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_RandomLookups, compressed, true)->Unit(benchmark::kMillisecond)->Iterations(3);

// A full-text search for a word that occurs nowhere: the whole body is read.
void BM_FullTextNowhere(benchmark::State& state) {
  FullBook book;
  if (!book.ready) {
    state.SkipWithError("edict-full is not present");
    return;
  }
  const int64_t bodyBytes = (int64_t{book.disk.subbook().indexes.End(0x00)} -
                             book.disk.subbook().indexes.Start(0x00) + 1) *
                            kPageSize;
  Wordlist hits(book.reporter);
  FullTextSearch search(book.disk, hits);
  NoProgress progress;
  const std::string query = Sjis("zzqqxyzzy");
  for (auto _ : state) {
    search.Search(query, false, "", progress);
    benchmark::DoNotOptimize(hits.Count());
  }
  state.SetBytesProcessed(state.iterations() * bodyBytes);
  state.counters["hits"] = hits.Count();
}
BENCHMARK(BM_FullTextNowhere)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
}  // namespace morva::bench

BENCHMARK_MAIN();
