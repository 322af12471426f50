#include "view/clipboard_adapter.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QString>

namespace morva {
namespace {

// Text on this platform's clipboard and selection ends its lines with LF alone.
QString PlatformText(std::string_view utf8) {
  QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}

}  // namespace

void QtClipboard::SetText(std::string_view utf8) {
  const QString text = PlatformText(utf8);
  emit aboutToChange();
  QGuiApplication::clipboard()->setText(text);
}

void QtClipboard::SetSelectionText(std::string_view utf8) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  // Marking a change that never comes would swallow the next real one.
  if (!clipboard->supportsSelection() || utf8.empty()) return;
  const QString text = PlatformText(utf8);
  emit selectionAboutToChange();
  clipboard->setText(text, QClipboard::Selection);
}

}  // namespace morva
