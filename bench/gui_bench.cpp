// The main window on edict-full: a word typed into the search box, 検索, and
// the first entry shown and painted together with the word list; and the
// memory the program holds with the book open (VmRSS after the searches).
// Runs on the offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <fstream>
#include <memory>
#include <string>

#include "app/main_window/tmorva_form.h"
#include "bench/bench_support.h"
#include "engine/search/wordlist.h"
#include "view/tmyscrollbox.h"

namespace morva::bench {
namespace {

double ResidentMb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
  return 0;
}

// One window over edict-full for every benchmark of the run.
struct FullBookWindow {
  FullBookWindow() {
    FormOptions options;
    options.settingsFile = dir.filePath(QStringLiteral("MORVA.INI")).toStdString();
    options.readStartupRequest = false;
    options.saveSettings = false;
    options.reporter = &reporter;
    options.screenArea = QRect(0, 0, 1280, 800);
    form = std::make_unique<TMorvaForm>(std::move(options));
    form->resize(1000, 700);
    form->show();
    QApplication::processEvents();
    form->OpenSingleBook(SharedBook("edict-full"));
    QApplication::processEvents();
  }
  QTemporaryDir dir;
  SilentReporter reporter;
  std::unique_ptr<TMorvaForm> form;
};

FullBookWindow& Window() {
  static FullBookWindow window;
  return window;
}

void BM_SearchAndShowFirstEntry(benchmark::State& state) {
  TMorvaForm& form = *Window().form;
  if (form.CurrentBook() < 0) {
    state.SkipWithError("edict-full is not present");
    return;
  }
  auto* box = form.findChild<QComboBox*>(QStringLiteral("ComboBox1"));
  auto* grid = form.findChild<QWidget*>(QStringLiteral("DrawGrid1"));
  auto* pane = form.findChild<TMyScrollBox*>(QStringLiteral("MyScrollBox1"));
  const QString words[] = {QStringLiteral("あい"), QStringLiteral("water"),
                           QStringLiteral("かんじ"), QStringLiteral("dog"),
                           QStringLiteral("にほん")};
  size_t k = 0;
  int hits = 0;
  for (auto _ : state) {
    box->lineEdit()->setText(words[k++ % std::size(words)]);
    form.SearchClicked(false);
    form.ShowItem(0);
    // Paint now what the user sees change: the list and the entry.
    static_cast<QAbstractScrollArea*>(grid)->viewport()->repaint();
    pane->viewport()->repaint();
    hits += form.wordlist().Count();
  }
  state.counters["hits_per_search"] =
      static_cast<double>(hits) / static_cast<double>(state.iterations());
  state.counters["VmRSS_MB"] = ResidentMb();
}
BENCHMARK(BM_SearchAndShowFirstEntry)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
}  // namespace morva::bench

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
