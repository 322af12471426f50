#include "view/multi_refer/tmulti_refer.h"

#include <QAbstractListModel>
#include <QListView>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <algorithm>

#include "engine/search/candidate_list.h"
#include "engine/search/compound_search.h"
#include "engine/text/unicode.h"
#include "view/display_fonts.h"
#include "view/qt_conversions.h"
#include "view/window_place.h"

namespace morva {
namespace {

// Layout of the client area: the grid on the left, the buttons beside it.
constexpr int kMargin = 8;
constexpr int kButtonWidth = 60;
constexpr int kButtonHeight = 25;

}  // namespace

// The grid's rows: as many as the browsed list has; the display role gives a
// row's text as the field would take it (for accessibility and tests).
class TMultiRefer::Rows final : public QAbstractListModel {
 public:
  explicit Rows(TMultiRefer& refer) : QAbstractListModel(&refer), refer_(refer) {}

  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : refer_.RowCount();
  }
  QVariant data(const QModelIndex& index, int role) const override {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    return QStringFromSjis(CandidateDisplayText(refer_.RowText(index.row())));
  }
  void Reset() {
    beginResetModel();
    endResetModel();
  }

 private:
  TMultiRefer& refer_;
};

// Draws every cell of DrawGrid1 through DrawGrid1DrawCell.
class TMultiRefer::RowPainter final : public QStyledItemDelegate {
 public:
  explicit RowPainter(TMultiRefer& refer) : QStyledItemDelegate(&refer), refer_(refer) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    painter->save();
    refer_.DrawGrid1DrawCell(*painter, index.row(), option.rect,
                             (option.state & QStyle::State_Selected) != 0);
    painter->restore();
  }
  QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
    return {kColumnWidth, kRowHeight};
  }

 private:
  TMultiRefer& refer_;
};

TMultiRefer::TMultiRefer(TDisk& disk, CompoundSearch& search, const DisplayFonts& fonts,
                         QWidget* parent)
    : QDialog(parent, Qt::Tool), search_(search), fonts_(fonts), painter_(disk) {
  setObjectName(QStringLiteral("TMultiRefer"));
  setWindowTitle(DefaultCaption());
  // Showing the list must leave the focus in the field's edit.
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFixedSize(kClientWidth, kClientHeight);

  grid_ = new QListView(this);
  grid_->setObjectName(QStringLiteral("DrawGrid1"));
  model_ = new Rows(*this);
  grid_->setModel(model_);
  grid_->setItemDelegate(new RowPainter(*this));
  grid_->setUniformItemSizes(true);
  grid_->setSelectionMode(QAbstractItemView::SingleSelection);
  grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  QPalette gridPalette = grid_->palette();
  gridPalette.setColor(QPalette::Base, gridPalette.color(QPalette::Button));
  grid_->setPalette(gridPalette);
  const int frame = 2 * grid_->frameWidth();
  const int gridWidth = kColumnWidth + grid_->verticalScrollBar()->sizeHint().width() + frame;
  grid_->setGeometry(kMargin, kMargin, gridWidth, kClientHeight - 2 * kMargin);

  const int buttonX = kMargin + gridWidth + kMargin;
  const int buttonWidth = std::min(kButtonWidth, kClientWidth - kMargin - buttonX);
  button1_ = new QPushButton(QStringLiteral("選択(&S)"), this);
  button1_->setObjectName(QStringLiteral("Button1"));
  button1_->setDefault(true);
  button1_->setAutoDefault(false);
  button1_->setGeometry(buttonX, kMargin, buttonWidth, kButtonHeight);
  button2_ = new QPushButton(QStringLiteral("戻る(&Q)"), this);
  button2_->setObjectName(QStringLiteral("Button2"));
  button2_->setAutoDefault(false);
  button2_->setGeometry(buttonX, kMargin + kButtonHeight + kMargin, buttonWidth, kButtonHeight);

  connect(button1_, &QPushButton::clicked, this, &TMultiRefer::Button1Click);
  connect(button2_, &QPushButton::clicked, this, &TMultiRefer::Button2Click);
  connect(grid_, &QListView::doubleClicked, this, &TMultiRefer::Button1Click);
}

TMultiRefer::~TMultiRefer() = default;

QString TMultiRefer::DefaultCaption() const { return QStringLiteral("複合検索参照"); }

void TMultiRefer::ShowList(int field, const QString& caption) {
  field_ = field;
  setWindowTitle(caption.isEmpty() ? DefaultCaption() : caption);
  Reload();
  show();
  KeepOnScreen(*this);
  raise();
}

void TMultiRefer::HideList() {
  hide();
  field_ = -1;
  setWindowTitle(DefaultCaption());
  rows_.clear();
  model_->Reset();
}

void TMultiRefer::Reload() {
  // The book may have changed: glyphs are fetched again.
  painter_.Forget();
  rows_.assign(field_ >= 0 && search_.CurrentField() == field_
                   ? static_cast<size_t>(search_.CandidateCount())
                   : 0u,
               std::nullopt);
  model_->Reset();
  SetCurrentRow(0);
  grid_->scrollToTop();
}

const std::string& TMultiRefer::RowText(int row) {
  static const std::string kNone;
  if (row < 0 || row >= RowCount()) return kNone;
  std::optional<std::string>& text = rows_[static_cast<size_t>(row)];
  if (!text) text = search_.CurrentField() == field_ ? search_.CandidateText(row) : std::string();
  return *text;
}

int TMultiRefer::CurrentRow() const {
  const QModelIndex index = grid_->currentIndex();
  return index.isValid() ? index.row() : -1;
}

void TMultiRefer::SetCurrentRow(int row) {
  if (row < 0 || row >= RowCount()) return;
  grid_->setCurrentIndex(model_->index(row));
}

void TMultiRefer::Button1Click() {
  const int row = CurrentRow();
  if (field_ < 0 || row < 0 || search_.CurrentField() != field_) return;
  switch (search_.SelectCandidate(row)) {
    case CompoundSearch::Selection::kNested: Reload(); break;
    case CompoundSearch::Selection::kValue: emit valueChosen(field_); break;
    case CompoundSearch::Selection::kNone: break;
  }
}

void TMultiRefer::Button2Click() {
  if (field_ < 0 || search_.CurrentField() != field_) return;
  search_.Back();
  Reload();
  // The caption shows the field's present value; an empty field keeps its
  // label there rather than a blank title.
  const CompoundSearch::Field& field = search_.field(field_);
  const std::string& caption = field.text.empty() ? field.label : field.text;
  setWindowTitle(caption.empty() ? DefaultCaption()
                                 : QStringFromSjis(CandidateDisplayText(caption)));
  show();
  emit wentBack(field_);
}

void TMultiRefer::DrawGrid1DrawCell(QPainter& painter, int row, const QRect& rect, bool selected) {
  const QPalette& colours = grid_->palette();
  painter.fillRect(rect, colours.color(selected ? QPalette::Highlight : QPalette::Button));
  const QFont& font = fonts_.Set(0).list;
  painter.setFont(font);
  painter.setPen(colours.color(selected ? QPalette::HighlightedText : QPalette::ButtonText));
  painter.setClipRect(rect);
  const GaijiTextPainter::Cell cell = GaijiTextPainter::CellOf(QFontMetrics(font));
  painter_.Draw(painter, rect.left() + cell.lineHeight * 3 / 10, rect.top(), RowText(row), cell);
}

}  // namespace morva
