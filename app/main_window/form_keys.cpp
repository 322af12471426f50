// TMorvaForm: the keys the window sees before its controls — Ctrl showing
// the marked books, Esc switching the pane layout, and the search box's
// Return, Ctrl+Return and paging keys.
#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include "app/book_bar/book_bar_widget.h"
#include "app/main_window/tmorva_form.h"
#include "view/ttextview.h"

namespace morva {

bool TMorvaForm::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::Resize:
      for (size_t tab = 0; tab < tabSheets_.size(); ++tab)
        if (watched == tabSheets_[tab]) LayOutTabPage(static_cast<int>(tab));
      break;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      // Whatever window has the keys (the find box, a dialog): the bar shows
      // the marks exactly while Ctrl is held.
      TrackCtrl(*static_cast<QKeyEvent*>(event));
      [[fallthrough]];
    case QEvent::ShortcutOverride: {
      auto* widget = qobject_cast<QWidget*>(watched);
      if (widget != nullptr && widget->window() == this)
        return PreviewKey(widget, static_cast<QKeyEvent*>(event));
      break;
    }
    default: break;
  }
  return QMainWindow::eventFilter(watched, event);
}

void TMorvaForm::TrackCtrl(const QKeyEvent& event) {
  // The event of the Ctrl key itself may carry the state before it.
  const bool held = event.key() == Qt::Key_Control ? event.type() == QEvent::KeyPress
                                                   : (event.modifiers() & Qt::ControlModifier) != 0;
  booksGrid_->ShowMarks(held);
}

void TMorvaForm::TrackCtrlNow() {
  booksGrid_->ShowMarks((QGuiApplication::queryKeyboardModifiers() & Qt::ControlModifier) != 0);
}

// True when the key was taken here; the control then never sees it.
bool TMorvaForm::PreviewKey(QWidget* target, QKeyEvent* event) {
  const int key = event->key();
  const Qt::KeyboardModifiers modifiers = event->modifiers();
  const bool inSearchBox = target == comboBox1_ || target == comboBox1_->lineEdit();
  auto* edit = qobject_cast<QLineEdit*>(target);
  if (target == comboBox1_) edit = comboBox1_->lineEdit();

  if (event->type() == QEvent::ShortcutOverride) {
    // 項目内容をｺﾋﾟｰ (Ctrl+A) wins over the box's own select-all, and ｺﾋﾟｰ
    // (Ctrl+C) over every box's own copy, so that the copy is marked as the
    // program's own change of the clipboard.
    return (inSearchBox && event->matches(QKeySequence::SelectAll)) ||
           (edit != nullptr && event->matches(QKeySequence::Copy));
  }
  if (key == Qt::Key_Control || event->type() != QEvent::KeyPress) return false;

  // A box cuts by itself; the clipboard watch is told that this change is
  // the program's own when there is something to cut.
  if (edit != nullptr && event->matches(QKeySequence::Cut) && edit->hasSelectedText() &&
      !edit->isReadOnly() && edit->echoMode() == QLineEdit::Normal)
    emit clipboardAboutToChange();

  if (key == Qt::Key_Escape && settings_.escKey) {
    SetWindowLayout(layout_ != kContentOnly ? kContentOnly : kConditionOnly);
    return true;
  }
  if (!inSearchBox) return false;
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    // 検索 is the default button; with Ctrl the search covers all books.
    SearchClicked((modifiers & Qt::ControlModifier) != 0);
    return true;
  }
  const bool plain = (modifiers & (Qt::ShiftModifier | Qt::AltModifier | Qt::ControlModifier)) == 0;
  const bool paging =
      key == Qt::Key_PageUp || key == Qt::Key_PageDown || key == Qt::Key_Up || key == Qt::Key_Down;
  if (paging && plain && settings_.scrollKey) {
    if (view_) view_->Key(key);
    return true;
  }
  return false;
}

}  // namespace morva
