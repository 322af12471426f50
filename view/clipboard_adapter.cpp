#include "view/clipboard_adapter.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QString>

#include "engine/text/unicode.h"

namespace morva {

void QtClipboard::SetText(std::string_view sjis) {
  // Text on this platform's clipboard ends its lines with LF alone.
  QString text = QString::fromStdString(SjisToUtf8(sjis));
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  if (onOwnChange) onOwnChange();
  QGuiApplication::clipboard()->setText(text);
}

}  // namespace morva
