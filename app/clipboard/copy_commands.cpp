#include "app/clipboard/copy_commands.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMetaObject>
#include <QWidget>

#include "view/ttextview.h"

namespace morva {
namespace {

// The object that carries copy() and paste() for a focused control: an
// editable combo box's line edit, or the control itself.
QObject* EditTarget(QWidget* focus) {
  if (auto* combo = qobject_cast<QComboBox*>(focus); combo != nullptr && combo->lineEdit() != nullptr)
    return combo->lineEdit();
  return focus;
}

bool InsidePane(const QWidget* focus, const QWidget* pane) {
  for (const QWidget* w = focus; w != nullptr; w = w->parentWidget())
    if (w == pane) return true;
  return false;
}

}  // namespace

void CopySelection(TTextView& view) {
  if (view.HasSelection()) view.CopySelection();
}

void CopyAll(TTextView& view) {
  if (view.LineCount() < 1) return;
  view.SelectAll();
  view.CopySelection();
}

void MenuCopyContent(TTextView& view) {
  if (view.HasSelection()) {
    CopySelection(view);
  } else {
    CopyAll(view);
  }
}

void CopyCommand(QWidget* focus, const QWidget* contentPane, TTextView& view, const std::function<void()>& ownChange) {
  if (focus != nullptr && !InsidePane(focus, contentPane)) {
    QObject* target = EditTarget(focus);
    if (target->metaObject()->indexOfMethod("copy()") < 0) return;
    if (ownChange) ownChange();
    QMetaObject::invokeMethod(target, "copy");
    return;
  }
  MenuCopyContent(view);
}

void PasteCommand(QWidget* focus) {
  if (focus == nullptr) return;
  QObject* target = EditTarget(focus);
  if (target->metaObject()->indexOfMethod("paste()") >= 0) QMetaObject::invokeMethod(target, "paste");
}

}  // namespace morva
