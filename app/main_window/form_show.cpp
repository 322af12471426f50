// TMorvaForm: showing entries — word-list rows in continuous or item
// display, all marked rows, the title page, the back button, copying and
// finding in the content, and drawing the word list.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

#include "app/book_bar/book_bar_widget.h"
#include "app/groups/group_edit_dlg.h"
#include "app/groups/group_menu.h"
#include "app/main_window/find_dialog.h"
#include "app/main_window/tmorva_form.h"
#include "app/main_window/view_settings_of.h"
#include "app/main_window/word_grid.h"
#include "app/main_window/word_list_painter.h"
#include "app/settings/settings_store.h"
#include "engine/book/group_file.h"
#include "engine/book/tdisk.h"
#include "engine/book/text_utils.h"
#include "engine/decode/marked_text_file.h"
#include "engine/search/wordlist.h"
#include "engine/text/unicode.h"
#include "view/qt_conversions.h"
#include "view/tmyscrollbox.h"
#include "view/ttextview.h"

namespace morva {
namespace {

// More marked items than this are written with the progress box.
constexpr int kItemsWithoutProgress = 100;

}  // namespace

void TMorvaForm::ShowItem(int row, bool keepKeys) {
  if (!view_) return;
  if (list_->IsEmpty() || (row == -1 && list_->MarkedCount() == 0) || row >= list_->Count()) {
    view_->Clear();
    return;
  }
  // The list highlights the row whose entry is shown.
  if (row >= 0) drawGrid1_->SetCurrentRow(row);
  if (continuous_) {
    if (row == -1) row = 0;
    const WordlistItem& item = list_->Item(row);
    ShowInView(item.book, item.body);
  } else {
    MarkedTextFile file;
    if (!file.Open(disk_->MarkedTextPath())) return;
    std::string text;
    if (row >= 0) {
      const WordlistItem& item = list_->Item(row);
      content_->FormatItemTo(item.book, item.body, &text);
      file.Append(text);
      file.Close();
      ShowInView(item.book, item.body);
    } else {
      static const std::string caption = Sjis("内容を一時ﾌｧｲﾙへ出力中");
      const int marked = list_->MarkedCount();
      ProgressBox* progress = marked > kItemsWithoutProgress ? progress_ : nullptr;
      if (progress != nullptr) {
        progress->Open(caption, marked);
        SetBusy(true);
      }
      int first = -1;
      int written = 0;
      for (int i = 0; i < list_->Count(); ++i) {
        const WordlistItem& item = list_->Item(i);
        if (!item.mark) continue;
        if (first < 0) first = i;
        text.clear();
        content_->FormatItemTo(item.book, item.body, &text);
        file.Append(text);
        ++written;
        // Cancel keeps what was written so far.
        if (progress != nullptr && progress->Step(written)) break;
      }
      file.Close();
      if (progress != nullptr) {
        progress->Close();
        SetBusy(false);
      }
      const WordlistItem& item = list_->Item(first);
      ShowInView(item.book, item.body);
    }
  }
  if (activeTab_ == kIndexTab) {
    SetStatus({});
    if (settings_.focusReturn && !keepKeys) comboBox1_->setFocus();
  }
  if (layout_ == kConditionOnly && !keepKeys) SetWindowLayout(kContentOnly);
}

// The title page is no body address, so continuous display cannot load the
// text around it: the view shows it in item mode, and goes back to the
// chosen mode before it shows anything else.
void TMorvaForm::UseViewMode(bool itemMode) {
  if (!view_) return;
  const bool wasTitlePage = viewItemMode_;
  viewItemMode_ = itemMode;
  const ViewSettings wanted = CurrentViewSettings();
  if (view_->settings().scroll == wanted.scroll) return;
  // A title page cannot be laid out as a stretch of body text.
  if (wasTitlePage && !itemMode) view_->Clear();
  view_->SetSettings(wanted);
}

ViewSettings TMorvaForm::CurrentViewSettings() const {
  ViewSettings settings = ViewSettingsOf(settings_);
  settings.scroll = continuous_ && !viewItemMode_;
  return settings;
}

void TMorvaForm::ShowInView(int book, BookAddress at) {
  UseViewMode(false);
  view_->Show(book, at.page, at.offset);
}

void TMorvaForm::ShowAddress(int book, BookAddress at) {
  if (!view_) return;
  if (!continuous_ && !content_->FormatItem(book, at)) return;
  ShowInView(book, at);
}

void TMorvaForm::ShowTitlePage() {
  if (!view_ || session_->book() < 0 || !disk_->SelectSubbook(session_->book())) return;
  if (!content_->CopyrightPage()) return;
  UseViewMode(true);
  view_->Show(session_->book(), 0, 0);
}

void TMorvaForm::Back() {
  if (!view_) return;
  UseViewMode(false);
  view_->Back();
}

bool TMorvaForm::WordListEmpty() const { return list_->IsEmpty(); }

void TMorvaForm::ButtonAllClick() {
  list_->SetMarks(true);
  ShowItem(-1);
}

void TMorvaForm::SetContinuous(bool on) {
  continuous_ = on;
  ApplyEngineAndViewSettings();
}

void TMorvaForm::ButtonItemClick() {
  SetContinuous(!continuous_);
  ApplyDisplaySettings();
}

void TMorvaForm::MenuSeqClick() {
  SetContinuous(!continuous_);
  RefreshLayout();
}

void TMorvaForm::DrawWordListCell(QPainter& painter, int row, const QRect& rect, bool current) {
  // Nothing is drawn while a long operation runs: decoding headings would
  // move the disk under it.
  if (busy_) return;
  WordListLook look;
  look.dicColor = settings_.dicColor;
  look.dicName = settings_.dicName;
  look.charHeight = CharHeight();
  listPainter_->Paint(painter, row, rect, current, drawGrid1_->hasFocus(), look);
}

// ---- Copying and finding -----------------------------------------------------

namespace {

// The edit of the focused control: a line edit, or the edit of an editable
// combo box (the search box keeps the focus itself, not its edit).
QLineEdit* FocusedEdit() {
  QWidget* focus = QApplication::focusWidget();
  if (auto* edit = qobject_cast<QLineEdit*>(focus)) return edit;
  if (auto* box = qobject_cast<QComboBox*>(focus)) return box->lineEdit();
  return nullptr;
}

}  // namespace

void TMorvaForm::CopyCommand() {
  QWidget* focus = QApplication::focusWidget();
  if (view_ &&
      (focus == myScrollBox1_ || (focus != nullptr && myScrollBox1_->isAncestorOf(focus)))) {
    view_->CopySelection();
    return;
  }
  // The box's copy changes the clipboard only when text is selected; the
  // clipboard watch ignores that change, and only that one.
  QLineEdit* edit = FocusedEdit();
  if (edit == nullptr || !edit->hasSelectedText() || edit->echoMode() != QLineEdit::Normal) return;
  emit clipboardAboutToChange();
  edit->copy();
}

void TMorvaForm::PasteCommand() {
  if (QLineEdit* edit = FocusedEdit()) edit->paste();
}

void TMorvaForm::CopyContent() {
  if (view_) view_->CopySelection();
}

void TMorvaForm::SearchContentClick() {
  if (!view_) return;
  if (view_->HasSelection()) {
    const std::string selected = view_->SelectionText(true, 99);
    if (!selected.empty()) findDialog1_->SetFindText(QStringFromSjis(selected));
  }
  view_->SetAnchor({0, 0});
  findDialog1_->show();
  findDialog1_->raise();
  findDialog1_->activateWindow();
}

void TMorvaForm::FindNext() {
  if (!view_ || findDialog1_->FindText().isEmpty()) return;
  view_->Find(SjisFromQString(findDialog1_->FindText()), findDialog1_->MatchCase());
}

// ---- Groups ------------------------------------------------------------------

void TMorvaForm::RebuildGroupMenu() {
  BuildGroupMenu(*menuGroup_, editGroupAction_, GroupNames(GroupFilePath(store_->SettingsDir())),
                 [this](const std::string& name) { OpenGroup(name); });
}

void TMorvaForm::BarRefilled(const std::vector<DicMenuItem>& menu) {
  FillDicMenu(menu);
  if (view_) view_->Clear();
  settings_.group.clear();
  CheckGroupMenuItem(-1);
  SetTitle();
}

void TMorvaForm::BooksFound() {
  RefreshLayout();
  OpenBook(-1, kIndexTab);
}

void TMorvaForm::GroupsEdited(GroupEditResult result, const std::string& before) {
  const std::string open = before;
  if (result != GroupEditResult::kNothingSaved) RebuildGroupMenu();
  if (result == GroupEditResult::kAccepted) {
    OpenGroup(settings_.group);
    return;
  }
  // ｷｬﾝｾﾙ leaves the window as it was; a save on the way changed only the
  // file, so the menu marks the open group where it now stands.
  settings_.group = open;
  if (result == GroupEditResult::kSaved) {
    const std::optional<GroupSection> section =
        open.empty() ? std::nullopt : FindGroup(GroupFilePath(store_->SettingsDir()), open, 0);
    CheckGroupMenuItem(section ? section->index : -1);
  }
}
}  // namespace morva
