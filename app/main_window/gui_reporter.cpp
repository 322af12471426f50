#include "app/main_window/gui_reporter.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdlib>

#include "engine/text/unicode.h"
#include "view/qt_conversions.h"

namespace morva {

bool GuiReporter::Show(Box box, const char* caption, std::string_view sjis) {
  const QString title = QString::fromUtf8(caption);
  const QString text = QStringFromSjis(sjis);
  if (box_) return box_(box, title, text);
  // A box must not sit behind a wait cursor.
  const bool waiting = waitDepth_ > 0;
  if (waiting) QApplication::setOverrideCursor(Qt::ArrowCursor);
  bool ok = true;
  switch (box) {
    case Box::kFatal: QMessageBox::critical(parent_, title, text); break;
    case Box::kWarning: QMessageBox::warning(parent_, title, text); break;
    case Box::kRetryOrAbort:
      ok = QMessageBox::warning(parent_, title, text, QMessageBox::Ok | QMessageBox::Cancel,
                                QMessageBox::Ok) == QMessageBox::Ok;
      break;
  }
  if (waiting) QApplication::restoreOverrideCursor();
  return ok;
}

void GuiReporter::Exit(int code) {
  if (exit_) exit_(code);
  else std::_Exit(code);
}

void GuiReporter::Fatal(std::string_view text) {
  Show(Box::kFatal, kFatalCaption, text);
  Exit(1);
}

void GuiReporter::Warning(std::string_view text) { Show(Box::kWarning, kWarningCaption, text); }

void GuiReporter::RetryOrAbort(std::string_view text) {
  if (!Show(Box::kRetryOrAbort, kRetryCaption, text)) Exit(1);
}

void GuiReporter::SetWaitCursor(bool on) {
  if (on) {
    if (waitDepth_++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
  } else if (waitDepth_ > 0) {
    if (--waitDepth_ == 0) QApplication::restoreOverrideCursor();
  }
}

}  // namespace morva
