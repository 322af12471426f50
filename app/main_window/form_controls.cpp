// TMorvaForm: the controls of the window, made in code with the system's
// names. Positions inside the panels are set by the layout code
// (form_layout.cpp) whenever a panel changes size.
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QValidator>

#include "app/book_bar/book_bar_widget.h"
#include "app/main_window/find_dialog.h"
#include "app/main_window/tmorva_form.h"
#include "app/main_window/tpanel.h"
#include "app/main_window/word_grid.h"
#include "engine/book/text_utils.h"
#include "engine/text/unicode.h"
#include "view/qt_conversions.h"
#include "view/tmyscrollbox.h"
#include "view/ttextview.h"

namespace morva {
namespace {

// The search box takes at most kMaxSearchWord bytes of Shift-JIS text.
class SjisLengthValidator final : public QValidator {
 public:
  SjisLengthValidator(size_t maxBytes, QObject* parent) : QValidator(parent), maxBytes_(maxBytes) {}
  State validate(QString& input, int&) const override {
    return SjisFromQString(input).size() <= maxBytes_ ? Acceptable : Invalid;
  }

 private:
  size_t maxBytes_;
};

constexpr size_t kSearchBoxBytes = 127;

// UpDown1: its value is the compound form's number from 0, as the status
// bar's "n/count" counts from 1, so the box shows the number + 1.
class FormStepper final : public QSpinBox {
 public:
  using QSpinBox::QSpinBox;

 protected:
  QString textFromValue(int value) const override { return QString::number(value + 1); }
  int valueFromText(const QString& text) const override { return text.toInt() - 1; }
  QValidator::State validate(QString& text, int&) const override {
    bool number = false;
    const int value = text.toInt(&number) - 1;
    if (text.isEmpty()) return QValidator::Intermediate;
    return number && value >= minimum() && value <= maximum() ? QValidator::Acceptable
                                                              : QValidator::Invalid;
  }
};

QPushButton* MakeButton(const char* name, const QString& text, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  return button;
}

}  // namespace

void TMorvaForm::BuildControls() {
  // The form font: ＭＳ Ｐゴシック, 12 pixels (a Japanese proportional face here).
  QFont formFont(DisplayFonts::ResolveFace(Sjis("ＭＳ Ｐゴシック")));
  formFont.setPixelSize(12);
  setFont(formFont);
  setWindowTitle(QStringLiteral("Morva"));

  auto* central = new QWidget(this);
  central->setObjectName(QStringLiteral("Client"));
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  setCentralWidget(central);

  // Panel1: the book bar.
  panel1_ = new TPanel("Panel1", central);
  booksGrid_ = new BookBarWidget(bar_, session_->bookSlot(), panel1_);
  connect(booksGrid_, &BookBarWidget::bookClicked, this,
          [this](int entry) { SelectBook(*this, bar_, entry); });
  connect(booksGrid_, &BookBarWidget::separatorClicked, this,
          [this](int entry, const QList<int>&) { SelectBook(*this, bar_, entry); });
  connect(panel1_, &TPanel::resized, this, &TMorvaForm::LayOutBookBarPanel);
  column->addWidget(panel1_);

  splitter_ = new QSplitter(Qt::Horizontal, central);
  splitter_->setObjectName(QStringLiteral("SplitterEx1"));
  splitter_->setHandleWidth(4);
  splitter_->setChildrenCollapsible(false);
  splitter_->setToolTip(QStringLiteral("ｻｲｽﾞの変更"));
  column->addWidget(splitter_, 1);

  // Panel2: the condition pane.
  panel2_ = new TPanel("Panel2", splitter_);
  panel2_->setMinimumWidth(60);
  pageControl1_ = new QTabWidget(panel2_);
  pageControl1_->setObjectName(QStringLiteral("PageControl1"));
  pageControl1_->setUsesScrollButtons(false);
  pageControl1_->tabBar()->setExpanding(false);
  const char* sheetNames[] = {"IndexTabSheet", "MultiTabSheet", "MenuTabSheet", "GeneralTabSheet"};
  const QString sheetCaptions[] = {QStringLiteral("索引"), QStringLiteral("複合"),
                                   QStringLiteral("ﾒﾆｭｰ"), QStringLiteral("総合")};
  for (int tab = 0; tab < 4; ++tab) {
    auto* sheet = new QWidget;
    sheet->setObjectName(QString::fromLatin1(sheetNames[tab]));
    sheet->setProperty("Tag", tab);
    sheet->installEventFilter(this);  // resizing lays its controls out
    pageControl1_->addTab(sheet, sheetCaptions[tab]);
    tabSheets_[static_cast<size_t>(tab)] = sheet;
  }
  connect(pageControl1_, &QTabWidget::currentChanged, this, [this](int tab) {
    if (tab >= 0 && tab != activeTab_) PageControl1Change(tab);
  });
  connect(pageControl1_, &QTabWidget::tabBarClicked, this, [this](int tab) {
    if (tab == activeTab_) TabClicked(tab);
  });

  // The 索引 tab.
  QWidget* index = tabSheets_[kIndexTab];
  comboBox1_ = new QComboBox(index);
  comboBox1_->setObjectName(QStringLiteral("ComboBox1"));
  comboBox1_->setEditable(true);
  comboBox1_->setInsertPolicy(QComboBox::NoInsert);
  comboBox1_->setCompleter(nullptr);  // no inline completion from the history
  comboBox1_->setMaxVisibleItems(20);
  comboBox1_->setValidator(new SjisLengthValidator(kSearchBoxBytes, comboBox1_));
  indexSearchButton_ = MakeButton("IndexSearchButton", QStringLiteral("検索"), index);
  indexSearchButton_->setDefault(true);
  connect(indexSearchButton_, &QPushButton::clicked, this, [this] { IndexSearchButtonClick(); });
  buttonHint_ = MakeButton("ButtonHint", QStringLiteral("?"), index);
  connect(buttonHint_, &QPushButton::clicked, this,
          [this] { emit helpTopicRequested(currentHelpFile_, "SakuinKensaku"); });

  // The 複合 tab: its fields; the compound search drives them.
  QWidget* multi = tabSheets_[kMultiTab];
  for (int i = 0; i < 5; ++i) {
    auto* label = new QLabel(multi);
    label->setObjectName(QStringLiteral("MultiLabel%1").arg(i + 1));
    label->setProperty("Tag", i);
    auto* edit = new QLineEdit(multi);
    edit->setObjectName(QStringLiteral("MultiEdit%1").arg(i + 1));
    edit->setProperty("Tag", i);
    multi_.labels[static_cast<size_t>(i)] = label;
    multi_.edits[static_cast<size_t>(i)] = edit;
  }
  multi_.upDown = new FormStepper(multi);
  multi_.upDown->setObjectName(QStringLiteral("UpDown1"));
  multi_.upDown->setWrapping(true);
  multi_.upDown->setRange(0, 0);
  multi_.upDown->setToolTip(QStringLiteral("別の複合検索"));
  multi_.searchButton = MakeButton("MultiSearchButton", QStringLiteral("検索"), multi);
  multi_.searchButton->setDefault(true);
  connect(multi_.searchButton, &QPushButton::clicked, this, [this] { IndexSearchButtonClick(); });

  // The word list: it moves into the page of the active tab, under the
  // tab's own controls.
  drawGrid1_ = new TWordGrid(index);
  connect(drawGrid1_, &TWordGrid::cellPainted, this, &TMorvaForm::DrawWordListCell);
  connect(drawGrid1_, &TWordGrid::rowChosen, this, [this](int row) { ShowItem(row); });
  ConnectListAndTyping();

  // Panel21: the display-mode buttons under the list.
  panel21_ = new QWidget(panel2_);
  panel21_->setObjectName(QStringLiteral("Panel21"));
  buttonItem_ = MakeButton("ButtonItem", QStringLiteral("項目表示"), panel21_);
  connect(buttonItem_, &QPushButton::clicked, this, [this] { ButtonItemClick(); });
  buttonAll_ = MakeButton("ButtonAll", QStringLiteral("全て表示"), panel21_);
  buttonAll_->setEnabled(false);
  connect(buttonAll_, &QPushButton::clicked, this, [this] { ButtonAllClick(); });
  connect(panel2_, &TPanel::resized, this, &TMorvaForm::LayOutConditionPane);

  // Panel3: the content pane with the status bar and 後退 under it.
  panel3_ = new QWidget(splitter_);
  panel3_->setObjectName(QStringLiteral("Panel3"));
  auto* content = new QVBoxLayout(panel3_);
  content->setContentsMargins(0, 0, 0, 0);
  content->setSpacing(0);
  myScrollBox1_ = new TMyScrollBox(panel3_);
  myScrollBox1_->setObjectName(QStringLiteral("MyScrollBox1"));
  content->addWidget(myScrollBox1_, 1);
  panel31_ = new TPanel("Panel31", panel3_);
  content->addWidget(panel31_);
  statusBar1_ = new QWidget(panel31_);
  statusBar1_->setObjectName(QStringLiteral("StatusBar1"));
  auto* panels = new QHBoxLayout(statusBar1_);
  panels->setContentsMargins(0, 1, 0, 1);
  panels->setSpacing(2);
  for (int i = 0; i < 2; ++i) {
    auto* panel = new QLabel(statusBar1_);
    panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setIndent(3);
    panel->setTextFormat(Qt::PlainText);
    statusPanels_[static_cast<size_t>(i)] = panel;
  }
  statusPanels_[0]->setFixedWidth(100);
  panels->addWidget(statusPanels_[0]);
  panels->addWidget(statusPanels_[1], 1);
  statusPanels_[1]->setMinimumWidth(10);
  buttonBack_ = MakeButton("ButtonBack", QStringLiteral("後退"), panel31_);
  buttonBack_->setEnabled(false);
  connect(buttonBack_, &QPushButton::clicked, this, [this] { Back(); });
  panel31_->setFixedHeight(std::max(22, buttonBack_->sizeHint().height()));
  connect(panel31_, &TPanel::resized, this, &TMorvaForm::LayOutContentPane);

  splitter_->setStretchFactor(0, 0);
  splitter_->setStretchFactor(1, 1);

  findDialog1_ = new TFindDialog(this);
  connect(findDialog1_, &TFindDialog::findRequested, this, &TMorvaForm::FindNext);
}

}  // namespace morva
