// TProgress: the progress box of long operations (full-text search, drive
// search, writing many entries): a bar (ProgressBar1, 0 to a maximum given on
// opening), the operation's caption as the window title, and a cancel button
// (Button1 "ｷｬﾝｾﾙ").
//
// The main window owns one TProgress for the whole run and hands it to every
// long operation, so at most one box exists: Open closes a box still open,
// makes a new one owned by the owner window, disables the owner and shows the
// box beside it without modality; Close destroys the box and enables the
// owner again. The cancel button (or closing the box) sets the cancelled flag
// and enables the owner at once.
//
// Step always records the position but shows it and lets Qt process pending
// input only when kInputIntervalMs has passed since it last did, so that a
// loop stepping once per topic costs little more than the loop itself.
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QString>
#include <memory>
#include <string>
#include <string_view>

#include "engine/book/report.h"

class QDialog;
class QProgressBar;
class QWidget;

namespace morva {

class TProgress final : public ProgressBox {
 public:
  static constexpr int kInputIntervalMs = 15;

  // owner: the window that is disabled while the box is open and that owns
  // the box; it must outlive every open box.
  explicit TProgress(QWidget* owner);
  ~TProgress() override;
  TProgress(const TProgress&) = delete;
  TProgress& operator=(const TProgress&) = delete;

  // caption: Shift-JIS.
  void Open(std::string_view caption, int maximum) override;
  void SetCaption(std::string_view caption) override;
  bool Step(int position) override;
  void Close() override;

  // What the cancel button does.
  void Cancel();

  bool IsOpen() const { return box_ != nullptr; }
  bool Cancelled() const { return cancelled_; }
  // The box window while it is open, else nullptr.
  QDialog* Box() const { return box_; }
  // The caption and position last set (shown on the box at the next
  // processing of input).
  QString Caption() const;
  int Position() const { return position_; }

 private:
  class Window;

  void ApplyCaption();

  QWidget* owner_;
  QPointer<QDialog> box_;
  QPointer<QProgressBar> bar_;
  bool cancelled_ = false;
  int maximum_ = 0;
  int position_ = 0;
  std::string caption_;  // Shift-JIS
  bool captionShown_ = true;
  QElapsedTimer sinceInput_;
};

}  // namespace morva
