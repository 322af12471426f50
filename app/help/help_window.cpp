#include "app/help/help_window.h"

#include <QAction>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

namespace morva {
namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

const char kMorvaContents[] = "morva.html";
const char kTitlesContents[] = "morvatitle.html";

}  // namespace

const std::vector<HelpTopic>& HelpWindow::Topics() {
  static const std::vector<HelpTopic> topics = {
      {"Hajimeni", "start.html", "はじめに",
       "画面 構成 ウィンドウ 辞書名バー 項目リスト 項目内容 ステータス", HelpFile::kMorva},
      {"Kido", "start.html", "起動のしかた",
       "起動 コマンドライン 引数 グループ 設定ファイル MORVA.INI 二重起動", HelpFile::kMorva},
      {"SakuinKensaku", "search.html", "索引検索",
       "索引 検索 前方一致 後方一致 完全一致 * 検索ボックス and or not 串刺し 履歴 語尾",
       HelpFile::kMorva},
      {"Kusizasi", "search.html", "複数の辞書を検索する（串刺し検索）",
       "串刺し Ctrl 印 グループ 辞書名バー", HelpFile::kMorva},
      {"FukugoKensaku", "search.html", "複合検索", "複合 検索 条件 項目 複合検索参照",
       HelpFile::kMorva},
      {"MenuKensaku", "search.html", "メニュー検索", "メニュー 目次 独自メニュー",
       HelpFile::kMorva},
      {"SogoKensaku", "search.html", "総合検索（条件検索・クロス検索・全文検索）",
       "総合 全文検索 条件検索 クロス検索 再開", HelpFile::kMorva},
      {"Hyoji", "content.html", "項目内容の表示",
       "表示 連続表示 項目表示 全て表示 後退 スクロール 並べ替え", HelpFile::kMorva},
      {"Copy", "content.html", "コピーと画面語検索",
       "コピー クリップボード 画面語検索 出典 SOURCE 項目内容を検索 次を検索", HelpFile::kMorva},
      {"Gazo", "content.html", "画像の表示・印刷・保存",
       "画像 図 拡大 縮小 印刷 保存 BMP ホットスポット 前の画像 次の画像", HelpFile::kMorva},
      {"Onsei", "content.html", "音声（CD オーディオ）", "音 音声 CD オーディオ 再生",
       HelpFile::kMorva},
      {"Dump", "content.html", "バイナリダンプ", "ダンプ バイナリ ページ 16進", HelpFile::kMorva},
      {"Editor", "content.html", "エディタ起動", "エディタ ファイル 出力 テキスト xdg-open",
       HelpFile::kMorva},
      {"Group", "group.html", "辞書グループ", "グループ MORVA.GRP 編集 辞書名バー 略称 色 区切り",
       HelpFile::kMorva},
      {"DriveSearch", "group.html", "ドライブサーチ",
       "ドライブ サーチ 深さ マウント media ホームディレクトリ", HelpFile::kMorva},
      {"OptionKensaku", "options.html", "オプション：検索",
       "オプション 検索 前方一致 バッファ 並べ替え サーチドライブ 深さ", HelpFile::kMorva},
      {"OptionHyoji", "options.html", "オプション：表示",
       "オプション 表示 フォント サイズ 行間 ワードラップ 太字 色", HelpFile::kMorva},
      {"OptionClipboard", "options.html", "オプション：クリップボード自動検索",
       "オプション クリップボード 自動検索 タイミング 動作", HelpFile::kMorva},
      {"OptionNyushuturyoku", "options.html", "オプション：入出力",
       "オプション 入出力 辞書個別指定 エディタ キーワード スクロールキー ESC かな漢字変換 "
       "フォーカス",
       HelpFile::kMorva},
      {"DicInfo", "options.html", "辞書個別指定（MORVA.DAT）",
       "辞書個別指定 MORVA.DAT SOURCE NEGLECT ENDING 外字", HelpFile::kMorva},
      {"Keys", "start.html", "キー操作一覧", "キー ショートカット Ctrl F1 F3 ESC",
       HelpFile::kMorva},
      {"TitleList", "morvatitle.html", "動作確認済みの辞書",
       "動作確認 CD-ROM カタログ catalogs catalog 圧縮 ebz", HelpFile::kTitles},
  };
  return topics;
}

HelpFile HelpWindow::FileFromName(const std::string& name) {
  const QString base =
      QString::fromStdString(name).section(QLatin1Char('/'), -1).section(QLatin1Char('\\'), -1);
  return base.compare(QLatin1String("MORVATITLE.HLP"), Qt::CaseInsensitive) == 0 ? HelpFile::kTitles
                                                                                 : HelpFile::kMorva;
}

QUrl HelpWindow::ContentsUrl(HelpFile file) {
  return QUrl(QStringLiteral("qrc:/help/") +
              QLatin1String(file == HelpFile::kTitles ? kTitlesContents : kMorvaContents));
}

QUrl HelpWindow::TopicUrl(const QString& name) {
  for (const HelpTopic& t : Topics()) {
    if (name == QLatin1String(t.name)) {
      QUrl url(QStringLiteral("qrc:/help/") + QLatin1String(t.page));
      url.setFragment(name);
      return url;
    }
  }
  return {};
}

QStringList HelpWindow::FindTopics(HelpFile file, const QString& text) {
  const QStringList words =
      text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
  QStringList names;
  for (const HelpTopic& t : Topics()) {
    if (t.file != file) continue;
    const QString haystack =
        U(t.title) + QLatin1Char(' ') + U(t.keywords) + QLatin1Char(' ') + QLatin1String(t.name);
    const bool all = std::all_of(words.begin(), words.end(), [&](const QString& w) {
      return haystack.contains(w, Qt::CaseInsensitive);
    });
    if (all) names << QLatin1String(t.name);
  }
  return names;
}

HelpWindow::HelpWindow(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(U("Morva ﾍﾙﾌﾟ"));
  setAttribute(Qt::WA_DeleteOnClose, false);
  if (parent != nullptr) setWindowFlag(Qt::Window);
  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("HelpBrowser"));
  browser_->setOpenExternalLinks(true);
  setCentralWidget(browser_);

  QToolBar* bar = addToolBar(U("ﾍﾙﾌﾟ"));
  bar->setObjectName(QStringLiteral("HelpToolBar"));
  bar->setMovable(false);
  QAction* contents = bar->addAction(U("目次(&C)"), this, [this] { ShowContents(file_); });
  contents->setObjectName(QStringLiteral("HelpContents"));
  QAction* back = bar->addAction(U("戻る(&B)"), browser_, &QTextBrowser::backward);
  back->setObjectName(QStringLiteral("HelpBack"));
  QAction* forward = bar->addAction(U("進む(&N)"), browser_, &QTextBrowser::forward);
  forward->setObjectName(QStringLiteral("HelpForward"));
  QAction* find = bar->addAction(U("ﾄﾋﾟｯｸの検索(&S)"), this, &HelpWindow::ShowFinder);
  find->setObjectName(QStringLiteral("HelpFind"));
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
  back->setEnabled(false);
  forward->setEnabled(false);

  auto* dock = new QDockWidget(U("ﾄﾋﾟｯｸの検索"), this);
  dock->setObjectName(QStringLiteral("HelpFinder"));
  dock->setFeatures(QDockWidget::DockWidgetClosable);
  finder_ = dock;
  auto* panel = new QWidget(dock);
  auto* label = new QLabel(U("検索する語(&W)"), panel);
  keyword_ = new QLineEdit(panel);
  keyword_->setObjectName(QStringLiteral("Keyword"));
  label->setBuddy(keyword_);
  topicList_ = new QListWidget(panel);
  topicList_->setObjectName(QStringLiteral("TopicList"));
  auto* layout = new QVBoxLayout(panel);
  layout->addWidget(label);
  layout->addWidget(keyword_);
  layout->addWidget(topicList_);
  dock->setWidget(panel);
  addDockWidget(Qt::LeftDockWidgetArea, dock);
  dock->hide();
  connect(keyword_, &QLineEdit::textChanged, this, &HelpWindow::FilterTopics);
  connect(keyword_, &QLineEdit::returnPressed, this, &HelpWindow::ShowChosenTopic);
  connect(topicList_, &QListWidget::itemActivated, this, &HelpWindow::ShowChosenTopic);
  connect(topicList_, &QListWidget::itemClicked, this, &HelpWindow::ShowChosenTopic);

  resize(760, 560);
}

QUrl HelpWindow::currentUrl() const { return browser_->source(); }

void HelpWindow::Open(const QUrl& url) {
  browser_->setSource(url);
  show();
  raise();
  activateWindow();
}

void HelpWindow::ShowContents(HelpFile file) {
  file_ = file;
  Open(ContentsUrl(file));
}

void HelpWindow::ShowTopic(const QString& name) {
  const QUrl url = TopicUrl(name);
  Open(url.isEmpty() ? ContentsUrl(file_) : url);
}

void HelpWindow::ShowFinder() {
  if (browser_->source().isEmpty()) Open(ContentsUrl(file_));
  FilterTopics();
  finder_->show();
  show();
  raise();
  keyword_->setFocus();
}

void HelpWindow::FilterTopics() {
  topicList_->clear();
  for (const QString& name : FindTopics(file_, keyword_->text())) {
    for (const HelpTopic& t : Topics()) {
      if (name != QLatin1String(t.name)) continue;
      auto* item = new QListWidgetItem(U(t.title), topicList_);
      item->setData(Qt::UserRole, name);
    }
  }
  if (topicList_->count() > 0) topicList_->setCurrentRow(0);
}

void HelpWindow::ShowChosenTopic() {
  const QListWidgetItem* item = topicList_->currentItem();
  if (item != nullptr) browser_->setSource(TopicUrl(item->data(Qt::UserRole).toString()));
}

}  // namespace morva
