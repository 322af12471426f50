#include "view/clipboard_adapter.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QString>

#include "engine/text/unicode.h"

namespace morva {

void QtClipboard::SetText(std::string_view sjis) {
  if (onOwnChange) onOwnChange();
  QGuiApplication::clipboard()->setText(QString::fromStdString(SjisToUtf8(sjis)));
}

}  // namespace morva
