// The full-text search through the general search window and its progress
// box (offscreen), against the same search with a progress box that does
// nothing, as the command line runs it. The window's path must cost at most
// 1.3 times the plain search.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QRadioButton>
#include <QWidget>
#include <memory>

#include "app/search_windows/tgeneral_search.h"
#include "app/search_windows/tprogress.h"
#include "bench/bench_support.h"
#include "engine/book/book_list.h"
#include "engine/book/tdisk.h"
#include "engine/search/fulltext.h"
#include "engine/search/wordlist.h"
#include "engine/text/unicode.h"

namespace morva::bench {
namespace {

// A query with few hits, and one that nearly every topic satisfies (a hit
// count, and so a caption, per topic).
constexpr const char* kQueries[] = {"water", "the"};

class NoProgress final : public ProgressBox {
 public:
  void Open(std::string_view, int) override {}
  void SetCaption(std::string_view) override {}
  bool Step(int) override { return false; }
  void Close() override {}
};

struct Book {
  SilentReporter reporter;
  BookBar books{{"EDICT", SharedBook("edict-full"), "", 0, false}};
  TDisk disk{reporter};
  Wordlist hits{reporter};
  FullTextSearch search{disk, hits};

  Book() {
    disk.SetBookList(&books);
    disk.SelectSubbook(0);
  }
};

void BM_FullTextPlain(benchmark::State& state) {
  Book book;
  NoProgress progress;
  const std::string query = Utf8ToSjis(kQueries[state.range(0)]);
  for (auto _ : state) book.search.Search(query, false, "", progress);
  state.counters["hits"] = book.hits.Count();
}
BENCHMARK(BM_FullTextPlain)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_FullTextThroughWindow(benchmark::State& state) {
  Book book;
  QWidget mainWindow;
  mainWindow.resize(538, 417);
  mainWindow.show();
  TProgress progress(&mainWindow);
  TGeneralSearch window(book.disk, book.hits, book.search, progress, &mainWindow);
  window.show();
  window.findChild<QComboBox*>(QStringLiteral("Keyword"))
      ->setEditText(QString::fromLatin1(kQueries[state.range(0)]));
  window.findChild<QRadioButton*>(QStringLiteral("Zenbun"))->click();
  QApplication::processEvents();
  for (auto _ : state) window.ButtonSearchClick();
  state.counters["hits"] = book.hits.Count();
}
BENCHMARK(BM_FullTextThroughWindow)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace morva::bench

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
