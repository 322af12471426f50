// The content view: laying out about 24,000 bytes of marked text (goal under
// 5 ms), painting a full 40-line pane on the offscreen platform (goal under
// 8 ms), the lines repainted when the view scrolls by one line, and painting
// external characters as bitmaps and as the characters a Unicode map gives
// them (goal: within 10 % of the same text with real characters).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QScrollBar>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/bench_support.h"
#include "engine/book/tdisk.h"
#include "engine/book/text_utils.h"
#include "tools/mkbook/demo_book.h"
#include "view/display_fonts.h"
#include "view/tbrows.h"
#include "view/tmyscrollbox.h"
#include "view/ttextview.h"

namespace morva::bench {
namespace {

// Dictionary-like marked text: headwords, grammar notes in italics, English
// glosses and cross-references, as content decoding writes them.
std::string SampleMarkedText(size_t bytes) {
  const std::string heading = Sjis("かんじ【漢字】");
  const std::string gloss =
      "\x10(n)\x11\x04 Chinese characters; kanji; the characters used in writing Japanese";
  const std::string reference = "\x01" + Sjis("参照：ひらがな【平仮名】") +
                                "\x02\x2E"
                                "R0000008C0628";
  const std::string body = Sjis("日本語の文章を書くために用いられる文字。音読みと訓読みがある。");
  std::string text;
  while (text.size() < bytes) {
    text += "\x09\x21\x03" + heading + "\x04\r\n\x09\x22" + gloss + "\r\n";
    text += body + body + "\r\n" + reference + "\r\n";
  }
  return text;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

ViewSettings ProportionalSettings() {
  ViewSettings settings;
  settings.font0.textFace = Sjis("ＭＳ Ｐゴシック");
  return settings;
}

void LayOut(benchmark::State& state, const ViewSettings& settings) {
  SilentReporter reporter;
  TDisk disk(reporter);
  const std::string text = SampleMarkedText(24000);
  WriteFile(disk.MarkedTextPath(), text);
  DisplayFonts fonts(settings);
  TBrows brows(reporter, disk.MarkedTextPath());
  brows.SetMetrics(fonts.Set(0).metrics.get());
  brows.SetColumns(80);
  for (auto _ : state) benchmark::DoNotOptimize(brows.LayOut(0));
  state.counters["bytes"] = static_cast<double>(text.size());
  state.counters["lines"] = brows.LineCount();
}

void BM_LayOut24000BytesFixedPitch(benchmark::State& state) { LayOut(state, ViewSettings{}); }
BENCHMARK(BM_LayOut24000BytesFixedPitch)->Unit(benchmark::kMillisecond);

void BM_LayOut24000BytesProportional(benchmark::State& state) {
  LayOut(state, ProportionalSettings());
}
BENCHMARK(BM_LayOut24000BytesProportional)->Unit(benchmark::kMillisecond);

// A shown pane of 40 visible lines.
struct Pane {
  explicit Pane(const ViewSettings& s) : settings(s), fonts(s) {
    settings.scroll = false;
    WriteFile(disk.MarkedTextPath(), SampleMarkedText(24000));
    const int h = fonts.Set(0).lineHeight;
    pane.resize(700, 40 * h + 2 * pane.frameWidth());
    pane.show();
    view = std::make_unique<TTextView>(disk, pane, fonts, settings);
    view->Show(1, 1, 0);
    QApplication::processEvents();
  }
  SilentReporter reporter;
  TDisk disk{reporter};
  ViewSettings settings;
  DisplayFonts fonts;
  TMyScrollBox pane;
  std::unique_ptr<TTextView> view;
};

void Paint(benchmark::State& state, const ViewSettings& settings) {
  Pane p(settings);
  p.view->ResetLinesPainted();
  int paints = 0;
  for (auto _ : state) {
    p.pane.viewport()->repaint();
    ++paints;
  }
  state.counters["visible"] = p.view->VisibleLines();
  state.counters["lines/paint"] =
      paints > 0 ? static_cast<double>(p.view->LinesPainted()) / paints : 0;
}

void BM_PaintFullPane(benchmark::State& state) { Paint(state, ViewSettings{}); }
BENCHMARK(BM_PaintFullPane)->Unit(benchmark::kMillisecond);

void BM_PaintFullPaneProportional(benchmark::State& state) { Paint(state, ProportionalSettings()); }
BENCHMARK(BM_PaintFullPaneProportional)->Unit(benchmark::kMillisecond);

// Down then Up, each followed by the paint it causes.
void BM_ScrollOneLine(benchmark::State& state) {
  Pane p{ViewSettings{}};
  p.view->ResetLinesPainted();
  int scrolls = 0;
  for (auto _ : state) {
    p.view->Key(scrolls % 2 == 0 ? Qt::Key_Down : Qt::Key_Up);
    QApplication::processEvents();
    ++scrolls;
  }
  state.counters["lines/scroll"] =
      scrolls > 0 ? static_cast<double>(p.view->LinesPainted()) / scrolls : 0;
}
BENCHMARK(BM_ScrollOneLine)->Unit(benchmark::kMicrosecond);

// A pane showing the demo book's sub-book with the sample text in which
// every "字" is a full-width character of the given kind.
enum class CharacterKind { kText, kBitmap, kMapped };

struct BookPane {
  explicit BookPane(CharacterKind kind) : fonts(settings) {
    const std::filesystem::path volume =
        std::filesystem::path(disk.MarkedTextPath()).parent_path() /
        ("morva-bench-book-" + std::to_string(::getpid()));
    mkbook::BuildDemoBook().volume.WriteTo(volume);
    disk.settings().unicodeMaps = true;
    bar = {BookBarEntry{}, BookBarEntry{}};
    bar[1].location = volume.string();
    bar[1].subbook = 0;
    disk.SetBookList(&bar);
    if (kind == CharacterKind::kMapped) {
      disk.SelectSubbook(1);
      const std::string name =
          std::filesystem::path(disk.subbook().subbookDirectory).filename().string();
      WriteFile((volume / (name + ".map")).string(), "zA121\tu5B57\n");
      disk.ForgetCurrentSubbook();
    }
    disk.SelectSubbook(1);
    std::string text = SampleMarkedText(24000);
    if (kind != CharacterKind::kText) {
      const std::string character = Sjis("字");
      for (size_t at = text.find(character); at != std::string::npos; at = text.find(character, at))
        text.replace(at, character.size(),
                     "\x0B"
                     "1\xA1\x21");
    }
    WriteFile(disk.MarkedTextPath(), text);
    settings.scroll = false;
    const int h = fonts.Set(0).lineHeight;
    pane.resize(700, 40 * h + 2 * pane.frameWidth());
    pane.show();
    view = std::make_unique<TTextView>(disk, pane, fonts, settings);
    view->Show(1, 1, 0);
    QApplication::processEvents();
    volume_ = volume;
  }
  ~BookPane() { std::filesystem::remove_all(volume_); }
  SilentReporter reporter;
  TDisk disk{reporter};
  BookBar bar;
  ViewSettings settings;
  DisplayFonts fonts;
  TMyScrollBox pane;
  std::unique_ptr<TTextView> view;
  std::filesystem::path volume_;
};

void BM_PaintExternalCharacters(benchmark::State& state) {
  BookPane p(static_cast<CharacterKind>(state.range(0)));
  // A book that does not open would measure plain text three times.
  if (p.disk.CurrentSubbook() != 1) state.SkipWithError("the demo book does not open");
  for (auto _ : state) p.pane.viewport()->repaint();
}
// 0: real characters, 1: bitmaps, 2: mapped to the same character.
BENCHMARK(BM_PaintExternalCharacters)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

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
