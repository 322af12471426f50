// TMorvaForm as the host of the book bar, the groups and the start-up
// search: opening books, the 辞書 and ｸﾞﾙｰﾌﾟ menus, the search box's face.
#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QTabWidget>

#include "app/book_bar/book_bar_widget.h"
#include "app/book_bar/dic_menu.h"
#include "app/groups/group_menu.h"
#include "app/main_window/tmorva_form.h"
#include "engine/book/tdisk.h"
#include "engine/text/sjis.h"

namespace morva {

void TMorvaForm::OpenBook(int entry, int preferredTab) {
  const int previous = session_->book();
  const OpenBookFaces faces{settings_.font0.face1, settings_.font1.face1};
  openTitle_.clear();
  // The title is known once the book is selected; OpenBook shows the status.
  const int opened = morva::OpenBook(*disk_, bar_, session_->bookSlot(), entry, preferredTab, faces,
                                     *this, *reporter_);
  if (opened >= 0 && disk_->SelectSubbook(opened)) {
    openTitle_ = disk_->subbook().title;
    SetStatus({});
  }
  if (previous != session_->book()) booksGrid_->update();
  ShowFirstStartHint();
}

void TMorvaForm::OpenBookOnIndexTab(int entry) { OpenBook(entry, kIndexTab); }

bool TMorvaForm::SearchBoxEmpty() const { return comboBox1_->currentText().isEmpty(); }

void TMorvaForm::SetSearchBoxFace(const std::string& faceSjis) {
  // The book just opened (if any) is the selected one: the box keeps its
  // kind, so that a face changed in the options reaches the box at once.
  searchBoxSingleByte_ = disk_->CurrentSubbook() >= 0 && disk_->SingleByteBook();
  QFont boxFont = comboBox1_->font();
  boxFont.setFamily(DisplayFonts::ResolveFace(faceSjis));
  comboBox1_->setFont(boxFont);
}

std::string TMorvaForm::SearchBoxFace() const {
  return searchBoxSingleByte_ ? settings_.font1.face1 : settings_.font0.face1;
}

void TMorvaForm::SetSearchBoxImeMode(int mode) { ApplyImeMode(*comboBox1_, mode); }

void TMorvaForm::CheckDicMenuItem(int entry) { morva::CheckDicMenuItem(*menuDic_, entry); }

void TMorvaForm::ScrollBarToCell(int entry) { booksGrid_->ScrollToCell(entry); }

void TMorvaForm::ResetVolumes() { disk_->CloseSubbook(); }

void TMorvaForm::FillDicMenu(const std::vector<DicMenuItem>& items) {
  morva::FillDicMenu(*menuDic_, items, [this](int entry) {
    booksGrid_->setFocus();
    SelectBook(*this, bar_, entry);
  });
}

void TMorvaForm::CheckGroupMenuItem(int groupIndex) {
  morva::CheckGroupMenuItem(*menuGroup_, groupIndex);
}

void TMorvaForm::RedrawBookBar() {
  booksGrid_->ShowMarks(false);
  booksGrid_->update();
}

void TMorvaForm::BringToFront() {
  if (isMinimized()) showNormal();
  raise();
  activateWindow();
}

void TMorvaForm::OpenSingleBook(const std::string& directory) {
  BookBarEntry book;
  book.shortName = "?";  // replaced by the title's beginning once it is known
  book.location = directory;
  book.subbook = 0;
  book.colour = 0x0000FF;  // red
  book.mark = true;
  disk_->CloseSubbook();
  bar_ = {BookBarEntry{}, book};
  settings_.group.clear();
  OpenBook(1, kIndexTab);
  if (session_->book() == 1) {
    bar_[1].shortName = std::string(SjisCut(disk_->subbook().title, 6));
    if (bar_[1].shortName.empty()) bar_[1].shortName = "BOOK";
    bar_[1].title = disk_->subbook().title;
    FillDicMenu({{1, disk_->subbook().title}});
    CheckDicMenuItem(1);
  }
  LayoutBar();
  SetTitle();
}

}  // namespace morva
