#include "app/dialogs/toption_dlg.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/dialogs/color_grid.h"
#include "app/dialogs/radio_group.h"
#include "app/dialogs/up_down.h"
#include "app/settings/settings.h"
#include "app/settings/value_forms.h"
#include "engine/book/report.h"
#include "engine/book/text_utils.h"
#include "engine/text/sjis.h"
#include "engine/text/unicode.h"
#include "view/qt_conversions.h"

namespace morva {
namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }
// File and directory names are kept as the file system's own bytes.
QString FromPath(const std::string& s) { return QFile::decodeName(QByteArray::fromStdString(s)); }
std::string ToPath(const QString& s) { return QFile::encodeName(s).toStdString(); }

constexpr size_t kFaceBytes = 30;
constexpr int kMinBuffer = 3000;
constexpr int kMaxBuffer = 100000;

QCheckBox* Check(const char* caption, const char* name, QWidget* parent) {
  auto* box = new QCheckBox(U(caption), parent);
  box->setObjectName(QLatin1String(name));
  return box;
}

QLineEdit* Edit(const char* name, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QLatin1String(name));
  return edit;
}

QLabel* Label(const char* caption, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(U(caption), parent);
  if (buddy != nullptr) label->setBuddy(buddy);
  return label;
}

std::string FaceOf(const QComboBox* box) {
  return std::string(SjisCut(SjisFromQString(box->currentText().trimmed()), kFaceBytes));
}

int NumberOr(const QString& text, int fallback) {
  return ParseInt(text.toStdString()).value_or(fallback);
}

void SetFace(QComboBox* box, const std::string& sjis) { box->setEditText(QStringFromSjis(sjis)); }

}  // namespace

std::string BufferSizeWarning(int value) {
  return Format(Sjis("ﾊﾞｯﾌｧの大きさが制限(3,000～100,000)外です。%dに変更しました。").c_str(),
                value);
}

QStringList TOptionDlg::ScreenFonts() {
  QStringList families = QFontDatabase::families();
  families.sort(Qt::CaseInsensitive);
  return families;
}

QStringList TOptionDlg::SizeItems(bool with24) {
  QStringList items;
  for (int s : {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72})
    if (s != 24 || with24) items << QString::number(s);
  return items;
}

TOptionDlg::TOptionDlg(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("OptionDlg"));
  setWindowTitle(U("ｵﾌﾟｼｮﾝ"));
  pages_ = new QTabWidget(this);
  pages_->setObjectName(QStringLiteral("PageControl1"));
  pages_->addTab(MakeSearchTab(), U("検索"));
  pages_->addTab(MakeDisplayTab(), U("表示"));
  pages_->addTab(MakeClipboardTab(), U("ｸﾘｯﾌﾟﾎﾞｰﾄﾞ自動検索"));
  pages_->addTab(MakeFilesTab(), U("入出力"));

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("OkButton"));
  ok->setDefault(true);
  auto* cancel = new QPushButton(U("ｷｬﾝｾﾙ"), this);
  cancel->setObjectName(QStringLiteral("CancelButton"));
  auto* help = new QPushButton(U("ﾍﾙﾌﾟ(&H)"), this);
  help->setObjectName(QStringLiteral("ButtonHelp"));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(help, &QPushButton::clicked, this, &TOptionDlg::ButtonHelpClick);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  buttons->addWidget(help);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pages_);
  layout->addLayout(buttons);
}

QComboBox* TOptionDlg::MakeFaceBox(const char* name, QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setObjectName(QLatin1String(name));
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);
  box->setCompleter(nullptr);  // the list never completes what is typed
  // The face lists are filled once, before the stored names are shown, so a
  // stored name that this system lacks still stands in the box.
  box->addItems(ScreenFonts());
  box->setMinimumContentsLength(14);
  box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  return box;
}

QComboBox* TOptionDlg::MakeSizeBox(const char* name, bool with24, QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setObjectName(QLatin1String(name));
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);
  box->setCompleter(nullptr);  // the list never completes what is typed
  box->addItems(SizeItems(with24));
  box->setMinimumContentsLength(3);
  return box;
}

QWidget* TOptionDlg::MakeSearchTab() {
  auto* tab = new QWidget;
  tab->setObjectName(QStringLiteral("TabSearch"));
  zenpo_ = Check("前方一致(&F)", "CheckBoxZenpo", tab);
  kusizasi_ = Check("検索ﾎﾞﾀﾝで串刺し検索(&A)", "Kusizasi", tab);
  buffer_ = Edit("Buffer", tab);
  buffer_->setMaximumWidth(80);
  sort_ = new RadioGroup(U("該当項目ﾘｽﾄの並べ替え(&S)"), {U("しない"), U("格納順"), U("項目名順")},
                         tab);
  sort_->setObjectName(QStringLiteral("Sort"));
  auto_ = Check("全項目を自動表示する(&T)", "Auto", tab);
  copyNumber_ = Check("該当項目数を複写する(&N)", "CopyNumber", tab);
  specialMenu_ = Check("独自ﾒﾆｭｰ検索(&I)", "SpecialMenu", tab);
  arrowShows_ = Check("矢印ｷｰで選んだ項目を表示する(&R)", "ArrowShows", tab);
  searchAsYouType_ = Check("入力中に検索する(&Y)", "SearchAsYouType", tab);

  auto* drives = new QGroupBox(U("辞書ﾄﾞﾗｲﾌﾞのｻｰﾁ"), tab);
  searchDrive_ = Edit("SearchDrive", drives);
  depth_ = Edit("Depth", drives);
  depth_->setMaximumWidth(48);
  upDownDepth_ = new UpDown(depth_, 0, 99, drives);
  upDownDepth_->setObjectName(QStringLiteral("UpDownDepth"));
  searchDlg_ = Check("ﾄﾞﾗｲﾌﾞをｻｰﾁする前にﾀﾞｲｱﾛｸﾞを表示する(&L)", "SearchDlg", drives);
  auto* driveLayout = new QGridLayout(drives);
  driveLayout->addWidget(Label("ｻｰﾁﾄﾞﾗｲﾌﾞ(&D)", searchDrive_, drives), 0, 0);
  driveLayout->addWidget(searchDrive_, 0, 1, 1, 3);
  driveLayout->addWidget(Label("深さ(&P)", depth_, drives), 1, 0);
  driveLayout->addWidget(depth_, 1, 1);
  driveLayout->addWidget(upDownDepth_, 1, 2);
  driveLayout->setColumnStretch(3, 1);
  driveLayout->addWidget(searchDlg_, 2, 0, 1, 4);

  auto* bufferRow = new QHBoxLayout;
  bufferRow->addWidget(Label("連続表示ﾓｰﾄﾞ用ﾊﾞｯﾌｧｻｲｽﾞ(&U)", buffer_, tab));
  bufferRow->addWidget(buffer_);
  bufferRow->addWidget(Label("ﾊﾞｲﾄ", nullptr, tab));
  bufferRow->addStretch();

  auto* left = new QVBoxLayout;
  left->addWidget(zenpo_);
  left->addWidget(kusizasi_);
  left->addWidget(auto_);
  left->addWidget(copyNumber_);
  left->addWidget(specialMenu_);
  left->addWidget(arrowShows_);
  left->addWidget(searchAsYouType_);
  left->addStretch();
  auto* top = new QHBoxLayout;
  top->addLayout(left);
  top->addWidget(sort_);
  auto* layout = new QVBoxLayout(tab);
  layout->addLayout(top);
  layout->addLayout(bufferRow);
  layout->addWidget(drives);
  layout->addStretch();
  return tab;
}

QWidget* TOptionDlg::MakeDisplayTab() {
  auto* tab = new QWidget;
  tab->setObjectName(QStringLiteral("TabDisplay"));
  auto* list = new QGroupBox(U("項目ﾘｽﾄ(&I)"), tab);
  font1_ = MakeFaceBox("Font1", list);
  size1_ = MakeSizeBox("Size1", false, list);
  font3_ = MakeFaceBox("Font3", list);
  auto* listLayout = new QGridLayout(list);
  listLayout->addWidget(Label("ﾌｫﾝﾄ名", font1_, list), 0, 0);
  listLayout->addWidget(font1_, 0, 1);
  listLayout->addWidget(Label("ｻｲｽﾞ", size1_, list), 0, 2);
  listLayout->addWidget(size1_, 0, 3);
  listLayout->addWidget(Label("ﾌｫﾝﾄ名(海外)", font3_, list), 1, 0);
  listLayout->addWidget(font3_, 1, 1);

  auto* content = new QGroupBox(U("項目内容(&C)"), tab);
  font2_ = MakeFaceBox("Font2", content);
  size2_ = MakeSizeBox("Size2", true, content);
  font4_ = MakeFaceBox("Font4", content);
  size4_ = MakeSizeBox("Size4", false, content);
  auto* contentLayout = new QGridLayout(content);
  contentLayout->addWidget(Label("ﾌｫﾝﾄ名", font2_, content), 0, 0);
  contentLayout->addWidget(font2_, 0, 1);
  contentLayout->addWidget(Label("ｻｲｽﾞ", size2_, content), 0, 2);
  contentLayout->addWidget(size2_, 0, 3);
  contentLayout->addWidget(Label("ﾌｫﾝﾄ名(海外)", font4_, content), 1, 0);
  contentLayout->addWidget(font4_, 1, 1);
  contentLayout->addWidget(Label("ｻｲｽﾞ(海外)", size4_, content), 1, 2);
  contentLayout->addWidget(size4_, 1, 3);

  lineSpace_ = Edit("LineSpace", tab);
  lineSpace_->setMaximumWidth(48);
  wordwrap_ = Check("欧文ﾜｰﾄﾞﾗｯﾌﾟ(&W)", "Wordwrap", tab);
  bold_ = new RadioGroup(U("太字(&B)"), {U("しない"), U("ﾀｲﾄﾙ"), U("全て")}, tab);
  bold_->setObjectName(QStringLiteral("Bold"));
  dicButtonSize_ = Check("辞書ボタンの大きさを固定する", "DicButtonSize", tab);

  auto* colours = new QGroupBox(U("色(&O)"), tab);
  colorGrid_ = new ColorGrid(colours);
  colorGrid_->setObjectName(QStringLiteral("ColorGrid"));
  auto* colourButtons = new QHBoxLayout;
  static constexpr const char* kButtons[][2] = {{"文字", "Text"},
                                                {"背景", "Back"},
                                                {"見出し", "Midashi"},
                                                {"参照", "Refer"},
                                                {"特殊文字", "Special"}};
  for (int tag = 0; tag < 5; ++tag) {
    auto* b = new QPushButton(U(kButtons[tag][0]), colours);
    b->setObjectName(QLatin1String(kButtons[tag][1]));
    b->setProperty("Tag", tag);
    b->setFixedWidth(ColorGrid::kCellWidth);
    connect(b, &QPushButton::clicked, this, [this, tag] { ColorButtonClick(tag); });
    colourButtons->addWidget(b);
  }
  colourButtons->addStretch();
  auto* colourLayout = new QVBoxLayout(colours);
  colourLayout->addWidget(colorGrid_);
  colourLayout->addLayout(colourButtons);

  auto* options = new QHBoxLayout;
  auto* optionsLeft = new QVBoxLayout;
  auto* spaceRow = new QHBoxLayout;
  spaceRow->addWidget(Label("行間(&L)", lineSpace_, tab));
  spaceRow->addWidget(lineSpace_);
  spaceRow->addStretch();
  optionsLeft->addLayout(spaceRow);
  optionsLeft->addWidget(wordwrap_);
  optionsLeft->addWidget(dicButtonSize_);
  optionsLeft->addStretch();
  options->addLayout(optionsLeft);
  options->addWidget(bold_);

  auto* layout = new QVBoxLayout(tab);
  layout->addWidget(list);
  layout->addWidget(content);
  layout->addLayout(options);
  layout->addWidget(colours);
  layout->addStretch();
  return tab;
}

QWidget* TOptionDlg::MakeClipboardTab() {
  auto* tab = new QWidget;
  tab->setObjectName(QStringLiteral("TabClipboard"));
  radio1_ = new QRadioButton(U("行わない(&N)"), tab);
  radio1_->setObjectName(QStringLiteral("RadioButton1"));
  radio2_ = new QRadioButton(U("行う(&Y)"), tab);
  radio2_->setObjectName(QStringLiteral("RadioButton2"));
  connect(radio1_, &QRadioButton::clicked, this, &TOptionDlg::ClipRadioButtonClick);
  connect(radio2_, &QRadioButton::clicked, this, &TOptionDlg::ClipRadioButtonClick);
  clipTiming_ = new RadioGroup(
      U("ﾀｲﾐﾝｸﾞ(&T)"), {U("ｸﾘｯﾌﾟﾎﾞｰﾄﾞへｺﾋﾟｰされたとき"), U("Morvaがｱｸﾃｨﾌﾞになったなとき")}, tab);
  clipTiming_->setObjectName(QStringLiteral("ClipTiming"));
  clipAction_ = new RadioGroup(
      U("動作(&A)"),
      {U("ｷｰﾜｰﾄﾞを取り込む"), U("検索を行う"), U("検索を行った後、結果をｸﾘｯﾌﾟﾎﾞｰﾄﾞへｺﾋﾟｰする")},
      tab);
  clipAction_->setObjectName(QStringLiteral("ClipAction"));
  // Text selected in any program (the primary selection) is watched as well.
  watchSelection_ = new QCheckBox(U("他のﾌﾟﾛｸﾞﾗﾑで選択された文字列も対象にする(&S)"), tab);
  watchSelection_->setObjectName(QStringLiteral("WatchSelection"));
  auto* radios = new QHBoxLayout;
  radios->addWidget(radio1_);
  radios->addWidget(radio2_);
  radios->addStretch();
  auto* layout = new QVBoxLayout(tab);
  layout->addLayout(radios);
  layout->addWidget(clipTiming_);
  layout->addWidget(clipAction_);
  layout->addWidget(watchSelection_);
  layout->addStretch();
  return tab;
}

QWidget* TOptionDlg::MakeFilesTab() {
  auto* tab = new QWidget;
  tab->setObjectName(QStringLiteral("TabFiles"));
  dicInfo_ = Edit("DicInfo", tab);
  editor_ = Edit("Editor", tab);
  keywordFile_ = Edit("KeywordFile", tab);
  auto* grid = new QGridLayout;
  static constexpr const char* kCaptions[] = {"辞書個別指定(&D)", "ｴﾃﾞｨﾀ(&E)",
                                              "検索ｷｰﾜｰﾄﾞ出力先(&K)"};
  static constexpr const char* kButtons[] = {"Refer1", "Refer2", "Refer4"};
  QLineEdit* const edits[] = {dicInfo_, editor_, keywordFile_};
  for (int tag = 0; tag < 3; ++tag) {
    auto* refer = new QPushButton(U("参照"), tab);
    refer->setObjectName(QLatin1String(kButtons[tag]));
    refer->setProperty("Tag", tag);
    connect(refer, &QPushButton::clicked, this, [this, tag] { ReferFileClick(tag); });
    grid->addWidget(Label(kCaptions[tag], edits[tag], tab), tag, 0);
    grid->addWidget(edits[tag], tag, 1);
    grid->addWidget(refer, tag, 2);
  }
  grid->setColumnStretch(1, 1);
  scrollKey_ =
      Check("ｷｰﾜｰﾄﾞ入力ﾎﾞｯｸｽにﾌｫｰｶｽがあってもｽｸﾛｰﾙｷｰで項目内容のｽｸﾛｰﾙを行う(&S)", "ScrollKey", tab);
  escKey_ = Check("[ESC]ｷｰで項目内容を全画面表示に切替える(&C)", "EscKey", tab);
  ime_ = Check("かな漢字変換を制御する(&I)", "IME", tab);
  focus_ = Check("項目内容表示後，検索窓にﾌｫｰｶｽを戻す(&O)", "Focus", tab);
  auto* layout = new QVBoxLayout(tab);
  layout->addLayout(grid);
  for (QCheckBox* b : {scrollKey_, escKey_, ime_, focus_}) layout->addWidget(b);
  layout->addStretch();
  return tab;
}

// ---- Filling and applying ---------------------------------------------------------

void TOptionDlg::Fill(const Settings& s) {
  zenpo_->setChecked(s.zenpo);
  kusizasi_->setChecked(s.kusizasi);
  buffer_->setText(QString::number(s.bufferSize));
  sort_->setItemIndex(s.sort);
  auto_->setChecked(s.autoAll);
  copyNumber_->setChecked(s.clipResult);
  specialMenu_->setChecked(s.specialMenu);
  arrowShows_->setChecked(s.arrowShows);
  searchAsYouType_->setChecked(s.searchAsYouType);
  searchDrive_->setText(FromPath(s.searchRoots));
  depth_->setText(QString::number(s.searchDepth));
  searchDlg_->setChecked(s.searchDialog);

  SetFace(font1_, s.font0.face1);
  size1_->setEditText(QString::number(s.font0.size1));
  SetFace(font3_, s.font1.face1);
  SetFace(font2_, s.font0.face2);
  size2_->setEditText(QString::number(s.font0.size2));
  SetFace(font4_, s.font1.face2);
  size4_->setEditText(QString::number(s.font1.size2));
  lineSpace_->setText(QString::number(s.lineSpace));
  wordwrap_->setChecked(s.wordWrap);
  bold_->setItemIndex(s.bold);
  dicButtonSize_->setChecked(s.dicButtonSize);
  colors_ = {s.textColor, s.backColor, s.titleColor, s.jumpColor, s.specialColor};
  colorGrid_->SetColors(colors_);

  const int a = s.autoSearch;
  radio1_->setChecked(a == 0);
  radio2_->setChecked(a != 0);
  clipTiming_->setItemIndex(a >= 1 && a <= 3 ? 1 : 0);
  clipAction_->setItemIndex(a < 4 ? a - 1 : a - 4);
  clipTiming_->setEnabled(a != 0);
  clipAction_->setEnabled(a != 0);
  watchSelection_->setChecked(s.watchSelection);
  watchSelection_->setEnabled(a != 0);

  dicInfo_->setText(FromPath(s.dicInfo));
  editor_->setText(FromPath(s.editor));
  keywordFile_->setText(FromPath(s.keywordFile));
  scrollKey_->setChecked(s.scrollKey);
  escKey_->setChecked(s.escKey);
  ime_->setChecked(s.ime);
  focus_->setChecked(s.focusReturn);
}

void TOptionDlg::Apply(Settings& s, Reporter& reporter) const {
  // 1
  s.zenpo = zenpo_->isChecked();
  s.specialMenu = specialMenu_->isChecked();
  s.kusizasi = kusizasi_->isChecked();
  // 2
  int buffer = NumberOr(buffer_->text(), kMinBuffer);
  if (buffer < kMinBuffer || buffer > kMaxBuffer) {
    buffer = std::clamp(buffer, kMinBuffer, kMaxBuffer);
    reporter.Warning(BufferSizeWarning(buffer));
  }
  s.bufferSize = buffer;
  // 3
  if (sort_->itemIndex() >= 0) s.sort = sort_->itemIndex();
  s.autoAll = auto_->isChecked();
  s.clipResult = copyNumber_->isChecked();
  s.searchRoots = ToPath(searchDrive_->text().trimmed());
  s.searchDepth = NumberOr(depth_->text(), 0);
  s.searchDialog = searchDlg_->isChecked();
  s.arrowShows = arrowShows_->isChecked();
  s.searchAsYouType = searchAsYouType_->isChecked();
  // 4
  s.font0.face1 = FaceOf(font1_);
  s.font1.face1 = FaceOf(font3_);
  s.font0.face2 = FaceOf(font2_);
  s.font1.face2 = FaceOf(font4_);
  s.font0.size1 = NumberOr(size1_->currentText(), 18);
  s.font0.size2 = NumberOr(size2_->currentText(), 18);
  s.font1.size2 = NumberOr(size4_->currentText(), 18);
  s.lineSpace = NumberOr(lineSpace_->text(), 0);
  s.wordWrap = wordwrap_->isChecked();
  if (bold_->itemIndex() >= 0) s.bold = bold_->itemIndex();
  s.textColor = colors_[0];
  s.backColor = colors_[1];
  s.titleColor = colors_[2];
  s.jumpColor = colors_[3];
  s.specialColor = colors_[4];
  s.dicButtonSize = dicButtonSize_->isChecked();
  // 5: with no action chosen, the first (take the word) stands.
  if (radio1_->isChecked()) {
    s.autoSearch = 0;
  } else {
    s.autoSearch =
        std::max(0, clipAction_->itemIndex()) + 1 + (clipTiming_->itemIndex() == 1 ? 0 : 3);
  }
  s.watchSelection = watchSelection_->isChecked();
  // 6
  s.ime = ime_->isChecked();
  s.scrollKey = scrollKey_->isChecked();
  s.escKey = escKey_->isChecked();
  s.focusReturn = focus_->isChecked();
  s.dicInfo = ToPath(dicInfo_->text());
  s.editor = ToPath(editor_->text());
  s.keywordFile = ToPath(keywordFile_->text());
}

// ---- Handlers ---------------------------------------------------------------------

void TOptionDlg::ClipRadioButtonClick() {
  const bool on = radio2_->isChecked();
  clipTiming_->setEnabled(on);
  clipAction_->setEnabled(on);
  watchSelection_->setEnabled(on);
  if (on && clipTiming_->itemIndex() < 0) clipTiming_->setItemIndex(0);
  if (on && clipAction_->itemIndex() < 0) clipAction_->setItemIndex(0);
}

void TOptionDlg::ColorButtonClick(int tag) {
  if (tag < 0 || tag >= static_cast<int>(colors_.size())) return;
  uint32_t& colour = colors_[static_cast<size_t>(tag)];
  std::optional<uint32_t> chosen;
  if (hooks.chooseColor) {
    chosen = hooks.chooseColor(colour);
  } else {
    const QColor initial(colour & 0xFF, colour >> 8 & 0xFF, colour >> 16 & 0xFF);
    const QColor c = QColorDialog::getColor(initial, this);
    if (c.isValid()) chosen = MakeColor(c.red(), c.green(), c.blue());
  }
  if (chosen) colour = *chosen;
  colorGrid_->SetColors(colors_);
}

void TOptionDlg::ReferFileClick(int tag) {
  QLineEdit* const edits[] = {dicInfo_, editor_, keywordFile_};
  if (tag < 0 || tag > 2) return;
  QLineEdit* field = edits[tag];
  std::optional<QString> chosen;
  if (hooks.chooseFile) {
    chosen = hooks.chooseFile(field->text());
  } else {
    const QString name = QFileDialog::getOpenFileName(this, QString(), field->text());
    if (!name.isEmpty()) chosen = name;
  }
  if (chosen) field->setText(*chosen);
}

QString TOptionDlg::HelpTopic() const {
  static const char* const kTopics[] = {"OptionKensaku", "OptionHyoji", "OptionClipboard",
                                        "OptionNyushuturyoku"};
  return QLatin1String(kTopics[std::clamp(pages_->currentIndex(), 0, 3)]);
}

void TOptionDlg::ButtonHelpClick() { emit helpRequested(HelpTopic()); }

}  // namespace morva
