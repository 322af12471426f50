#include "app/groups/group_edit_dlg.h"

#include <QApplication>
#include <QColorDialog>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include "app/drive_search/drive_search_command.h"
#include "app/settings/value_forms.h"
#include "engine/book/report.h"
#include "engine/book/text_utils.h"
#include "engine/text/sjis.h"
#include "engine/text/unicode.h"
#include "view/qt_conversions.h"
#include "view/window_place.h"

namespace morva {
namespace {

// The colour column shows a bar in the row's colour instead of its text.
class ColourBarDelegate final : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    painter->fillRect(option.rect, option.palette.color(QPalette::Base));
    const QString text = index.data().toString();
    if (text.isEmpty()) return;
    const QRect bar(option.rect.left() + 3, option.rect.top() + 4, 10, option.rect.height() - 8);
    painter->fillRect(bar, QColorFromStored(ParseGroupColour(text.toStdString())));
  }
};

QPushButton* Button(const char* name, const char* caption, QWidget* parent) {
  auto* button = new QPushButton(QString::fromUtf8(caption), parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  return button;
}

}  // namespace

const char* TGroupEditDlg::NewGroupName() { return "新規グループ"; }

TGroupEditDlg::TGroupEditDlg(std::string settingsDir, std::string& groupSetting,
                             const std::string& searchRoots, int depth, GroupEditHooks hooks,
                             QWidget* parent)
    : QDialog(parent),
      settingsDir_(std::move(settingsDir)),
      groupSetting_(groupSetting),
      hooks_(std::move(hooks)) {
  setObjectName(QStringLiteral("GroupEditDlg"));
  setWindowTitle(QStringLiteral("辞書ｸﾞﾙｰﾌﾟ編集"));

  groupName_ = new QLineEdit(this);
  groupName_->setObjectName(QStringLiteral("GroupName"));
  auto* groupNameLabel = new QLabel(QStringLiteral("ｸﾞﾙｰﾌﾟ名(&G)"), this);
  groupNameLabel->setBuddy(groupName_);

  group_ = new QTableWidget(GroupTable::kRows - 1, GroupTable::kColumns, this);
  group_->setObjectName(QStringLiteral("Group"));
  QStringList titles;
  for (int c = 0; c < GroupTable::kColumns; ++c)
    titles << QString::fromUtf8(GroupTable::ColumnTitle(c));
  group_->setHorizontalHeaderLabels(titles);
  for (int c = 0; c < GroupTable::kColumns; ++c) {
    if (GroupTable::ColumnWidth(c) == 0) group_->setColumnHidden(c, true);
    else group_->setColumnWidth(c, GroupTable::ColumnWidth(c));
  }
  group_->setItemDelegateForColumn(GroupTable::kColour, new ColourBarDelegate(group_));
  group_->setSelectionMode(QAbstractItemView::SingleSelection);
  group_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  auto* groupLabel = new QLabel(QStringLiteral("ｸﾞﾙｰﾌﾟ・ﾃｰﾌﾞﾙ"), this);

  title_ = new QTableWidget(0, 2, this);
  title_->setObjectName(QStringLiteral("Title"));
  title_->setSelectionBehavior(QAbstractItemView::SelectRows);
  title_->setSelectionMode(QAbstractItemView::SingleSelection);
  title_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  title_->horizontalHeader()->hide();
  title_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  title_->setColumnWidth(0, 120);
  title_->setColumnWidth(1, 120);
  auto* titleLabel = new QLabel(QStringLiteral("ｻｰﾁされた辞書"), this);

  // The folders to search, as the SearchRoots setting holds them: file
  // names keep their case.
  searchDrive_ = new QLineEdit(QFile::decodeName(QByteArray::fromStdString(searchRoots)), this);
  searchDrive_->setObjectName(QStringLiteral("SearchDrive"));
  auto* driveLabel = new QLabel(QStringLiteral("ﾄﾞﾗｲﾌﾞ(&V)"), this);
  driveLabel->setBuddy(searchDrive_);
  depth_ = new QSpinBox(this);
  depth_->setObjectName(QStringLiteral("Depth"));
  depth_->setRange(0, 99);
  depth_->setValue(depth);
  auto* depthLabel = new QLabel(QStringLiteral("深さ"), this);

  QPushButton* search = Button("Search", "ﾄﾞﾗｲﾌﾞｻｰﾁ(&S)", this);
  QPushButton* add = Button("Add", ">", this);
  QPushButton* all = Button("All", ">>", this);
  QPushButton* up = Button("Up", "上へ(&U)", this);
  QPushButton* down = Button("Down", "下へ(&D)", this);
  QPushButton* del = Button("Delete", "削除(&D)", this);
  QPushButton* colour = Button("Color", "色参照(&C)", this);
  QPushButton* next = Button("NextGroup", "次のｸﾞﾙｰﾌﾟ(&N)", this);
  QPushButton* deleteGroup = Button("DeleteGroup", "ｸﾞﾙｰﾌﾟを削除(&X)", this);
  QPushButton* help = Button("ButtonHelp", "ﾍﾙﾌﾟ(&H)", this);
  QPushButton* ok = Button("OKBtn", "OK", this);
  QPushButton* cancel = Button("CancelBtn", "ｷｬﾝｾﾙ", this);
  ok->setDefault(true);

  connect(search, &QPushButton::clicked, this, &TGroupEditDlg::Search);
  connect(add, &QPushButton::clicked, this, &TGroupEditDlg::AddSelected);
  connect(all, &QPushButton::clicked, this, &TGroupEditDlg::AddAll);
  connect(up, &QPushButton::clicked, this, &TGroupEditDlg::MoveUp);
  connect(down, &QPushButton::clicked, this, &TGroupEditDlg::MoveDown);
  connect(del, &QPushButton::clicked, this, &TGroupEditDlg::DeleteRow);
  connect(colour, &QPushButton::clicked, this, &TGroupEditDlg::ChooseColour);
  connect(next, &QPushButton::clicked, this, &TGroupEditDlg::NextGroup);
  connect(deleteGroup, &QPushButton::clicked, this, &TGroupEditDlg::DeleteGroup);
  connect(help, &QPushButton::clicked, this,
          [this] { emit helpRequested(QStringLiteral("Group")); });
  connect(ok, &QPushButton::clicked, this, [this] {
    if (Save()) accept();
  });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(group_, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
    if (filling_ || !item) return;
    table_.Cell(item->row() + 1, item->column()) = SjisFromQString(item->text());
  });

  // Layout: name on top; the table on the left; the search side on the
  // right with the > and >> buttons between; buttons along the bottom.
  auto* nameRow = new QHBoxLayout;
  nameRow->addWidget(groupNameLabel);
  nameRow->addWidget(groupName_, 1);
  auto* left = new QVBoxLayout;
  left->addLayout(nameRow);
  left->addWidget(groupLabel);
  left->addWidget(group_, 1);
  auto* middle = new QVBoxLayout;
  middle->addStretch();
  middle->addWidget(add);
  middle->addWidget(all);
  middle->addStretch();
  auto* searchRow = new QGridLayout;
  searchRow->addWidget(driveLabel, 0, 0);
  searchRow->addWidget(searchDrive_, 0, 1);
  searchRow->addWidget(depthLabel, 1, 0);
  searchRow->addWidget(depth_, 1, 1);
  searchRow->addWidget(search, 2, 0, 1, 2);
  auto* right = new QVBoxLayout;
  right->addWidget(titleLabel);
  right->addWidget(title_, 1);
  right->addLayout(searchRow);
  auto* body = new QHBoxLayout;
  body->addLayout(left, 3);
  body->addLayout(middle);
  body->addLayout(right, 2);
  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {up, down, del, colour, next, deleteGroup, help}) buttons->addWidget(b);
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* outer = new QVBoxLayout(this);
  outer->addLayout(body, 1);
  outer->addLayout(buttons);
  resize(760, 420);
  // In the middle of the usable screen area around the main window.
  const QRect area =
      UsableArea(parent != nullptr ? parent->window()->frameGeometry().center() : QPoint());
  PlaceWindow(*this, CenteredOn(area, size().grownBy(FrameMarginsOf(*this))), area);

  // Start at the open group; without one, at a new group after the last.
  const std::string path = GroupFilePath(settingsDir_);
  std::optional<GroupSection> open;
  if (!groupSetting_.empty()) open = FindGroup(path, groupSetting_, 0);
  ShowGroup(open ? open->index : static_cast<int>(GroupNames(path).size()));
}

void TGroupEditDlg::ShowGroup(int index) {
  index_ = index;
  std::optional<GroupSection> section = FindGroup(GroupFilePath(settingsDir_), "", index);
  if (section) {
    groupName_->setText(QStringFromSjis(section->name));
    table_.Load(section->lines);
  } else {
    groupName_->setText(QString::fromUtf8(NewGroupName()));
    table_.Clear();
  }
  TableToGrid();
}

void TGroupEditDlg::TableToGrid() {
  filling_ = true;
  for (int r = 1; r < GroupTable::kRows; ++r) {
    for (int c = 0; c < GroupTable::kColumns; ++c) {
      const QString text = QStringFromSjis(table_.Cell(r, c));
      if (QTableWidgetItem* item = group_->item(r - 1, c)) item->setText(text);
      else group_->setItem(r - 1, c, new QTableWidgetItem(text));
    }
  }
  filling_ = false;
}

int TGroupEditDlg::SelectedRow() const {
  const int row = group_->currentRow();
  return row < 0 ? -1 : row + 1;
}

void TGroupEditDlg::SelectRow(int row) {
  const int column = std::max(0, group_->currentColumn());
  group_->setCurrentCell(row - 1, column);
}

void TGroupEditDlg::Search() {
  title_->setRowCount(0);
  found_.clear();
  const QString roots = searchDrive_->text().trimmed();
  if (hooks_.searchFolders)
    found_ = hooks_.searchFolders(QFile::encodeName(roots).toStdString(), depth_->value());
  // The list grows ten rows at a time, as it fills.
  title_->setRowCount(static_cast<int>((found_.size() + 9) / 10 * 10));
  for (int i = 0; i < static_cast<int>(found_.size()); ++i) {
    const FoundSubbook& book = found_[static_cast<size_t>(i)];
    title_->setItem(i, 0, new QTableWidgetItem(QStringFromSjis(book.title)));
    title_->setItem(i, 1, new QTableWidgetItem(QStringFromSjis(book.PathColumn())));
  }
  if (found_.empty())
    Warn(Sjis("ﾌｫﾙﾀﾞ「") + SjisFromQString(roots) + Sjis("」に") + NoBookFoundMessage());
}

void TGroupEditDlg::AddFound(int titleRow) {
  if (titleRow < 0 || titleRow >= static_cast<int>(found_.size())) return;
  table_.Add(found_[static_cast<size_t>(titleRow)]);
}

void TGroupEditDlg::AddSelected() {
  AddFound(title_->currentRow());
  TableToGrid();
}

void TGroupEditDlg::AddAll() {
  for (int i = 0; i < static_cast<int>(found_.size()); ++i) AddFound(i);
  TableToGrid();
}

void TGroupEditDlg::MoveUp() {
  const int row = SelectedRow();
  if (!table_.MoveUp(row)) {
    hooks_.beep ? hooks_.beep() : QApplication::beep();
    return;
  }
  TableToGrid();
  SelectRow(row - 1);
}

void TGroupEditDlg::MoveDown() {
  const int row = SelectedRow();
  if (!table_.MoveDown(row)) {
    hooks_.beep ? hooks_.beep() : QApplication::beep();
    return;
  }
  TableToGrid();
  SelectRow(row + 1);
}

void TGroupEditDlg::DeleteRow() {
  const int row = SelectedRow();
  if (row < 1) return;
  table_.Delete(row);
  TableToGrid();
}

void TGroupEditDlg::ChooseColour() {
  const int row = SelectedRow();
  if (row < 1) return;
  const uint32_t present = ParseGroupColour(table_.Cell(row, GroupTable::kColour));
  std::optional<uint32_t> chosen;
  if (hooks_.chooseColour) {
    chosen = hooks_.chooseColour(present);
  } else {
    const QColor c = QColorDialog::getColor(QColorFromStored(present), this);
    if (c.isValid()) chosen = MakeColor(c.red(), c.green(), c.blue());
  }
  if (!chosen) return;
  table_.Cell(row, GroupTable::kColour) = FormatGroupColour(*chosen);
  TableToGrid();
}

GroupEditResult TGroupEditDlg::Result() const {
  if (result() == QDialog::Accepted) return GroupEditResult::kAccepted;
  return saved_ ? GroupEditResult::kSaved : GroupEditResult::kNothingSaved;
}

void TGroupEditDlg::Warn(const std::string& text) {
  if (hooks_.warning) hooks_.warning(text);
  else QMessageBox::warning(this, QString::fromUtf8(kWarningCaption), QStringFromSjis(text));
}

namespace {

// Why a value cannot be saved, in words (Shift-JIS); row 0 for the name.
std::string ProblemText(int row, int column, GroupTextProblem kind) {
  const std::string where = row == 0     ? Sjis("ｸﾞﾙｰﾌﾟ名")
                            : column < 0 ? Format(Sjis("%d行目").c_str(), row)
                                         : Format(Sjis("%d行目の「%s」").c_str(), row,
                                                  Sjis(GroupTable::ColumnTitle(column)).c_str());
  switch (kind) {
    case GroupTextProblem::kLineBreak: return where + Sjis("に改行は使えません．");
    case GroupTextProblem::kCloseBracket: return where + Sjis("に「]」は使えません．");
    case GroupTextProblem::kComma:
      if (column == GroupTable::kPath)
        return where + Sjis("は「ﾌｫﾙﾀﾞ,番号」の形にしてください（ﾌｫﾙﾀﾞ名に「,」は使えません）．");
      return where + Sjis("に「,」は使えません．");
    case GroupTextProblem::kOpenBracket: return where + Sjis("は「[」で始められません．");
    case GroupTextProblem::kTooLong:
      return where + Format(Sjis("が長すぎます（%zuﾊﾞｲﾄまで）．").c_str(), kGroupLineLimit);
  }
  return where;
}

}  // namespace

bool TGroupEditDlg::Save() {
  const std::string name(SjisCut(SjisFromQString(groupName_->text()), 79));
  // The file has no escaping: text that would read back as something else
  // is refused before anything is written. The name is written only with a
  // used row (a group saved empty is dropped).
  const std::optional<GroupTextProblem> nameProblem =
      table_.LastUsedRow() > 0 ? GroupNameProblem(name) : std::nullopt;
  if (const std::optional<GroupTextProblem> problem = nameProblem) {
    Warn(ProblemText(0, 0, *problem) + Sjis("\n保存していません．"));
    groupName_->setFocus();
    return false;
  }
  if (const std::optional<GroupTable::Problem> problem = table_.FindProblem()) {
    Warn(ProblemText(problem->row, problem->column, problem->kind) + Sjis("\n保存していません．"));
    group_->setCurrentCell(problem->row - 1, std::max(0, problem->column));
    return false;
  }
  const std::string path = GroupFilePath(settingsDir_);
  std::error_code error;
  if (!SaveGroup(path, GroupBackupPath(settingsDir_), index_, name, table_, &error)) {
    Warn(Sjis("ｸﾞﾙｰﾌﾟﾌｧｲﾙ ") + SjisFromQString(QFile::decodeName(QByteArray::fromStdString(path))) +
         Sjis(" を保存できません：") + error.message() +
         Sjis("\n編集中の内容はそのまま残っています．"));
    return false;
  }
  saved_ = true;
  groupSetting_ = name;
  return true;
}

void TGroupEditDlg::NextGroup() {
  const QString name = groupName_->text();
  const bool dropped = table_.LastUsedRow() == 0;
  if (!Save()) return;
  if (name.isEmpty() || name == QString::fromUtf8(NewGroupName())) ShowGroup(0);
  // A group saved empty is gone; the next one has moved into its place.
  else ShowGroup(dropped ? index_ : index_ + 1);
}

void TGroupEditDlg::DeleteGroup() {
  // The rows come back when the save fails.
  const GroupTable kept = table_;
  table_.Clear();
  if (!Save()) {
    table_ = kept;
    return;
  }
  ShowGroup(index_);
}

}  // namespace morva
