// The failure boxes of the window program: the engine's Reporter shown with
// QMessageBox in the system's captions. The fatal box ends the process at
// once (nothing is saved); Cancel in the retry-or-abort box does too.
//
// Tests and automation replace the box with a function of their own
// (SetBoxFunction), so nothing modal ever appears there.
#pragma once

#include <QString>
#include <functional>

#include "engine/book/report.h"

class QWidget;

namespace morva {

class GuiReporter final : public Reporter {
 public:
  enum class Box { kFatal, kWarning, kRetryOrAbort };
  // Shows a box; returns true for OK (only the retry-or-abort box asks).
  using BoxFunction = std::function<bool(Box box, const QString& caption, const QString& text)>;
  // How the process ends after a fatal box or Cancel; std::_Exit by default.
  using ExitFunction = std::function<void(int code)>;

  explicit GuiReporter(QWidget* parent = nullptr) : parent_(parent) {}

  void SetParent(QWidget* parent) { parent_ = parent; }
  void SetBoxFunction(BoxFunction box) { box_ = std::move(box); }
  void SetExitFunction(ExitFunction exit) { exit_ = std::move(exit); }

  void Fatal(std::string_view text) override;
  void Warning(std::string_view text) override;
  void RetryOrAbort(std::string_view text) override;
  void SetWaitCursor(bool on) override;

 private:
  bool Show(Box box, const char* caption, std::string_view sjis);
  void Exit(int code);

  QWidget* parent_;
  BoxFunction box_;
  ExitFunction exit_;
  int waitDepth_ = 0;
};

}  // namespace morva
