#include "view/clipboard_adapter.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QString>

#include "engine/text/unicode.h"

namespace morva {
namespace {

// Text on this platform's clipboard and selection ends its lines with LF alone.
QString PlatformText(std::string_view sjis) {
  QString text = QString::fromStdString(SjisToUtf8(sjis));
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}

}  // namespace

void QtClipboard::SetText(std::string_view sjis) {
  const QString text = PlatformText(sjis);
  if (onOwnChange) onOwnChange();
  QGuiApplication::clipboard()->setText(text);
}

void QtClipboard::SetSelectionText(std::string_view sjis) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  // Marking a change that never comes would swallow the next real one.
  if (!clipboard->supportsSelection() || sjis.empty()) return;
  const QString text = PlatformText(sjis);
  if (onOwnSelectionChange) onOwnSelectionChange();
  clipboard->setText(text, QClipboard::Selection);
}

}  // namespace morva
