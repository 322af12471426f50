// The copy and paste commands of the 編集 menu and the content view's context
// menu. Copies of the content go through the view (TTextView::CopySelection
// adds the book's source line to long or multi-line copies and flags the
// change as the program's own through its clipboard adapter).
#pragma once

#include <functional>

class QWidget;

namespace morva {

class TTextView;

// CopySelection: copies the selected text, when there is a selection.
void CopySelection(TTextView& view);
// CopyAll: selects everything shown (when anything is) and copies it.
void CopyAll(TTextView& view);
// 項目内容をｺﾋﾟｰ (Ctrl+A) and the context menu's ｺﾋﾟｰ: the selection, else
// everything shown.
void MenuCopyContent(TTextView& view);
// ｺﾋﾟｰ (Ctrl+C): the focused control's own copy when the focus is not in the
// content pane, else as 項目内容をｺﾋﾟｰ. ownChange is called before a control
// copies, since that also changes the clipboard.
void CopyCommand(QWidget* focus, const QWidget* contentPane, TTextView& view, const std::function<void()>& ownChange);
// 貼り付け (Ctrl+V): the focused control's own paste.
void PasteCommand(QWidget* focus);

}  // namespace morva
