// morva-shots: pictures and measurements of Morva's windows without a display
// (Qt's offscreen platform). Each subcommand lives in a file of its own; this
// header holds what they share.
#pragma once

#include <QString>
#include <QStringList>
#include <string_view>
#include <vector>

#include "engine/book/report.h"

class QWidget;

namespace morva::shots {

// The subcommands; args are the arguments after the subcommand's name. Each
// returns the program's exit status (2 for a usage error).
int RunWindow(const QStringList& args);      // window_automation.cpp
int RunMainWindow(const QStringList& args);  // main_window_shots.cpp
int RunDialogs(const QStringList& args);     // window_shots.cpp
int RunSearch(const QStringList& args);      // search_shots.cpp
int RunEntry(const QStringList& args);       // entry_shot.cpp

// Prints "morva-shots: TEXT" on stderr.
void Complain(const QString& text);

// Failure boxes are not shown: the pictures are taken without anyone to
// answer them.
class QuietReporter final : public Reporter {
 public:
  void Fatal(std::string_view) override {}
  void Warning(std::string_view) override {}
  void RetryOrAbort(std::string_view) override {}
};

// The height of the title bar SaveScreen paints above each window.
constexpr int kTitleHeight = 22;

// A window of a picture. A window placed with move() has its frame there and
// its client area under the title bar; one placed with setGeometry() or
// resize() has its client area there and the title bar above it.
struct Shown {
  QWidget* window;
  bool framePlaced;
};

// The offscreen platform draws no window frames: saves the windows as they
// stand on the screen, each with a plain title bar and its caption painted
// above it, later ones over earlier ones.
bool SaveScreen(const std::vector<Shown>& windows, const QString& path);

}  // namespace morva::shots
