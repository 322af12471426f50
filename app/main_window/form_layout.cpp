// TMorvaForm: the window's layout — display settings, pane layouts, the
// resizing rules of the panels, the tabs, the status bar and the title.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <algorithm>

#include "app/book_bar/book_bar_widget.h"
#include "app/main_window/tmorva_form.h"
#include "app/main_window/tpanel.h"
#include "app/main_window/word_grid.h"
#include "app/main_window/word_list_painter.h"
#include "engine/book/tdisk.h"
#include "engine/book/text_utils.h"
#include "engine/search/menu.h"
#include "engine/search/wordlist.h"
#include "engine/text/unicode.h"
#include "view/qt_conversions.h"
#include "view/tmyscrollbox.h"
#include "view/ttextview.h"

namespace morva {
namespace {

// Margins inside a tab page.
constexpr int kPageMargin = 4;

}  // namespace

// The character height of the display: the list font of the books in JIS
// text, which the book bar, the search box and the word list follow.
int TMorvaForm::CharHeight() const {
  return std::max(8, QFontMetrics(fonts_.Set(0).list).height());
}

// ---- Display settings --------------------------------------------------------

void TMorvaForm::ApplyDisplaySettings() {
  cds1_->setText(settings_.searchDialog ? QStringLiteral("ﾄﾞﾗｲﾌﾞをｻｰﾁする(&S)...")
                                        : QStringLiteral("ﾄﾞﾗｲﾌﾞをｻｰﾁする(&S)"));
  SetTitle();
  if (!fontsCreated_) {
    fonts_.Create(CurrentViewSettings());
    fontsCreated_ = true;
  }
  const int ch = CharHeight();

  LayoutBar();

  // The search box in the face of the open book's kind at the character
  // height; the compound fields likewise.
  QFont boxFont = font();
  if (const std::string face = SearchBoxFace(); !face.empty())
    boxFont.setFamily(DisplayFonts::ResolveFace(face));
  boxFont.setPixelSize(ch);
  comboBox1_->setFont(boxFont);
  for (size_t i = 0; i < multi_.labels.size(); ++i) {
    multi_.labels[i]->setFont(boxFont);
    multi_.edits[i]->setFont(boxFont);
  }

  drawGrid1_->SetRowHeight(ch * 12 / 10);
  listPainter_->Invalidate();

  menuSeq_->setChecked(continuous_);
  buttonItem_->setText(continuous_ ? QStringLiteral("連続表示") : QStringLiteral("項目表示"));
  buttonAll_->setEnabled(!continuous_);

  panel1_->setVisible(menuDicBar_->isChecked());
  panel21_->setVisible(menuMode_->isChecked());
  QPalette palette = myScrollBox1_->viewport()->palette();
  palette.setColor(QPalette::Window, QColorFromStored(settings_.backColor));
  // The hint on an empty pane is written in the text colour.
  palette.setColor(QPalette::WindowText, QColorFromStored(settings_.textColor));
  myScrollBox1_->viewport()->setPalette(palette);
  myScrollBox1_->setFocusPolicy(settings_.scrollKey ? Qt::ClickFocus : Qt::StrongFocus);
  if (view_) view_->SetSettings(CurrentViewSettings());

  LayOutConditionPane();
  LayOutContentPane();
}

void TMorvaForm::SettingsChanged() {
  continuous_ = settings_.scroll;
  ApplyEngineAndViewSettings();
  fonts_.Create(CurrentViewSettings());
  fontsCreated_ = true;
  ApplyDisplaySettings();
}

void TMorvaForm::RefreshLayout() {
  ApplyDisplaySettings();
  if (view_) view_->Clear();
  list_->Empty();
  FillWordList();
  PageControl1Change(activeTab_);
  SetWindowLayout(layout_);
}

void TMorvaForm::LayoutBar() {
  BookBarDisplay display;
  display.charHeight = CharHeight();
  display.dicButtonSize = settings_.dicButtonSize;
  display.dicColor = settings_.dicColor;
  display.barDicName = settings_.barDicName;
  display.fontFamily = DisplayFonts::ResolveFace(settings_.font0.face1);
  booksGrid_->ApplyDisplay(display);
  booksGrid_->BarChanged();
  panel1_->setFixedHeight(booksGrid_->PanelHeight());
  LayOutBookBarPanel();
}

// ---- Window layouts ----------------------------------------------------------

void TMorvaForm::SetWindowLayout(int layout) {
  layout = std::clamp(layout, 0, 2);
  // The condition pane's width is remembered whenever both panes stood.
  if (layout_ == kBothPanes && splitterSized_ && panel2_->isVisible() && panel3_->isVisible())
    keyWidth_ = panel2_->width();
  layout_ = layout;
  panel2_->setVisible(layout != kContentOnly);
  panel3_->setVisible(layout != kConditionOnly);
  if (layout == kBothPanes) {
    // The splitter spans the client width; before the first showing it may
    // not have been laid out yet.
    const int total = std::max(splitter_->width(), width());
    splitter_->setSizes({keyWidth_, std::max(1, total - keyWidth_ - splitter_->handleWidth())});
    splitterSized_ = shown_;
  }
  CheckLayoutItem();
}

void TMorvaForm::CheckLayoutItem() {
  for (size_t tag = 0; tag < layoutItems_.size(); ++tag)
    layoutItems_[tag]->setChecked(static_cast<int>(tag) == layout_);
}

// ---- Resizing ----------------------------------------------------------------

void TMorvaForm::LayOutBookBarPanel() {
  const int h = booksGrid_->Metrics().RowHeight();
  booksGrid_->setGeometry(1, 1, std::max(1, panel1_->width() - 3), h);
}

void TMorvaForm::LayOutConditionPane() {
  const int w = panel2_->width();
  const int h = panel2_->height();
  int bottom = h;
  if (panel21_->isVisibleTo(panel2_)) {
    const int buttonHeight = std::max(22, buttonItem_->sizeHint().height());
    const int itemWidth =
        std::max(56, buttonItem_->fontMetrics().horizontalAdvance(QStringLiteral("連続表示")) + 16);
    panel21_->setGeometry(0, h - buttonHeight - 4, w, buttonHeight + 4);
    buttonItem_->setGeometry(1, 2, itemWidth, buttonHeight);
    buttonAll_->setGeometry(itemWidth + 2, 2, std::max(10, w - itemWidth - 3), buttonHeight);
    bottom = h - buttonHeight - 4;
  }
  pageControl1_->setGeometry(0, 0, w, bottom);
}

// The page's own controls, then the word list under them down to 2 pixels
// above the bottom of the tab control.
void TMorvaForm::LayOutTabPage(int tab) {
  QWidget* page = tabSheets_[static_cast<size_t>(tab)];
  const int w = page->width();
  if (tab == kIndexTab) {
    const int ch = CharHeight();
    const int boxHeight = std::max(ch + 8, comboBox1_->sizeHint().height());
    comboBox1_->setGeometry(kPageMargin, kPageMargin, std::max(20, w - 2 * kPageMargin), boxHeight);
    const int buttonTop = kPageMargin + std::max(ch + 16, boxHeight + 4);
    const int buttonHeight = indexSearchButton_->sizeHint().height();
    const int searchWidth = std::max(64, indexSearchButton_->sizeHint().width());
    const int right = w - kPageMargin;
    indexSearchButton_->setGeometry(right - searchWidth, buttonTop, searchWidth, buttonHeight);
    buttonHint_->setGeometry(right - searchWidth - 4 - buttonHeight, buttonTop, buttonHeight,
                             buttonHeight);
  } else if (tab == kMultiTab) {
    StackMultiControls();
  }
  if (drawGrid1_->parentWidget() == page) {
    const int top = TabControlsBottom(tab) + kPageMargin;
    drawGrid1_->setGeometry(2, top, std::max(10, w - 4), std::max(10, page->height() - top - 2));
  }
}

int TMorvaForm::TabControlsBottom(int tab) const {
  int bottom = 0;
  for (QWidget* child :
       tabSheets_[static_cast<size_t>(tab)]->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    if (child == drawGrid1_ || !child->isVisibleTo(tabSheets_[static_cast<size_t>(tab)])) continue;
    bottom = std::max(bottom, child->geometry().bottom() + 1);
  }
  return bottom;
}

// Labels and fields stacked downward from the first label's place, each the
// character height + 4 high (or what the field needs), 2 more pixels between
// one pair and the next; the form stepper and 検索 under the last field.
void TMorvaForm::StackMultiControls() {
  QWidget* page = tabSheets_[kMultiTab];
  const int w = std::max(20, page->width() - 2 * kPageMargin);
  const int ch = CharHeight();
  int y = kPageMargin;
  for (size_t i = 0; i < multi_.labels.size(); ++i) {
    QLabel* label = multi_.labels[i];
    QLineEdit* edit = multi_.edits[i];
    if (!label->isVisibleTo(page) && !edit->isVisibleTo(page)) continue;
    const int labelHeight = ch + 4;
    label->setGeometry(kPageMargin, y, w, labelHeight);
    y += labelHeight;
    const int editHeight = std::max(ch + 4, edit->sizeHint().height());
    edit->setGeometry(kPageMargin, y, w, editHeight);
    y += editHeight + 2;
  }
  const int buttonHeight = multi_.searchButton->sizeHint().height();
  const int searchWidth = std::max(64, multi_.searchButton->sizeHint().width());
  multi_.searchButton->setGeometry(kPageMargin + w - searchWidth, y + 2, searchWidth, buttonHeight);
  const int spinWidth = std::max(48, multi_.upDown->sizeHint().width());
  multi_.upDown->setGeometry(kPageMargin + w - searchWidth - 4 - spinWidth, y + 2, spinWidth,
                             buttonHeight);
}

void TMorvaForm::LayOutContentPane() {
  const int margin = 1;
  const int backWidth = std::max(46, buttonBack_->sizeHint().width());
  const int h = panel31_->height();
  const int barWidth = std::max(10, panel31_->width() - 2 * margin - backWidth - 1);
  statusBar1_->setGeometry(margin, 0, barWidth, h);
  buttonBack_->setGeometry(margin + barWidth + 1, 0, backWidth, h);
}

// ---- Tabs --------------------------------------------------------------------

QWidget* TMorvaForm::TabSheet(int tab) const {
  return tab >= 0 && tab < 4 ? tabSheets_[static_cast<size_t>(tab)] : nullptr;
}

void TMorvaForm::PageControl1Change(int tab) {
  if (tab < 0 || tab > 3) return;
  const int previous = activeTab_;
  activeTab_ = tab;
  if (pageControl1_->currentIndex() != tab) {
    const QSignalBlocker blocker(pageControl1_);
    pageControl1_->setCurrentIndex(tab);
  }
  // The book is opened afresh: its information file may have changed.
  if (session_->book() >= 0) {
    disk_->ForgetCurrentSubbook();
    disk_->SelectSubbook(session_->book());
  }
  if (view_) view_->Clear();
  list_->Empty();
  FillWordList();
  SetStatus({});
  SetStatusPanel0({});

  if (previous == kMultiTab && tab != kMultiTab) emit compoundTabLeft();
  if (previous == kGeneralTab && tab != kGeneralTab) emit generalTabLeft();

  // The word list moves under the controls of the tab.
  QWidget* page = tabSheets_[static_cast<size_t>(tab)];
  if (drawGrid1_->parentWidget() != page) {
    drawGrid1_->setParent(page);
    drawGrid1_->show();
  }
  switch (tab) {
    case kIndexTab: comboBox1_->setFocus(); break;
    case kMultiTab: emit compoundTabEntered(); break;
    case kMenuTab:
      if (session_->book() >= 0) MenuSearch(*disk_, *list_, session_->book());
      FillWordList();
      break;
    case kGeneralTab: emit generalTabEntered(); break;
    default: break;
  }
  LayOutTabPage(tab);
  tabItems_[static_cast<size_t>(tab)]->setChecked(true);
}

void TMorvaForm::TabClicked(int tab) {
  if (tab == kMultiTab) emit compoundNextFormRequested();
  else if (tab == kGeneralTab) emit generalTabEntered();
}

void TMorvaForm::ToolTabItem(int tab) {
  if (tab == activeTab_) {
    if (tab == kMultiTab) TabClicked(tab);
  } else if (pageControl1_->isTabVisible(tab)) {
    ActivateTab(tab);
  }
  tabItems_[static_cast<size_t>(activeTab_)]->setChecked(true);
}

void TMorvaForm::ShowSearchTabs(const BookTabs& tabs) {
  const QSignalBlocker blocker(pageControl1_);
  pageControl1_->setTabVisible(kIndexTab, tabs.index);
  pageControl1_->setTabVisible(kMultiTab, tabs.compound);
  pageControl1_->setTabVisible(kMenuTab, tabs.menu);
  pageControl1_->setTabVisible(kGeneralTab, true);
  tabItems_[kIndexTab]->setEnabled(tabs.index);
  tabItems_[kMultiTab]->setEnabled(tabs.compound);
  tabItems_[kMenuTab]->setEnabled(tabs.menu);
}

void TMorvaForm::ActivateTab(int tab) { PageControl1Change(tab); }

// ---- Status and title --------------------------------------------------------

void TMorvaForm::SetStatus(const std::string& textSjis) {
  if (textSjis.empty()) {
    statusPanels_[1]->setText(QStringFromSjis(openTitle_));
  } else {
    static const std::string format = Sjis("%s　【%s】");
    statusPanels_[1]->setText(
        QStringFromSjis(Format(format.c_str(), openTitle_.c_str(), textSjis.c_str())));
  }
}

void TMorvaForm::SetStatusPanel0(const std::string& textSjis) {
  statusPanels_[0]->setText(QStringFromSjis(textSjis));
}

QString TMorvaForm::StatusText(int panel) const {
  return panel == 0 || panel == 1 ? statusPanels_[static_cast<size_t>(panel)]->text() : QString();
}

void TMorvaForm::SetTitle() {
  titleGroup_ = settings_.group;
  setWindowTitle(titleGroup_.empty() ? QStringLiteral("Morva")
                                     : QStringLiteral("Morva - ") + QStringFromSjis(titleGroup_));
}

}  // namespace morva
