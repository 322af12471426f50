#include "view/dump_window/tdump_form.h"

#include <QAction>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStringList>
#include <algorithm>
#include <string>
#include <vector>

#include "engine/book/tdisk.h"
#include "engine/decode/dump.h"
#include "engine/text/unicode.h"
#include "view/display_fonts.h"
#include "view/qt_conversions.h"

namespace morva {
namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

// The widest dump line: "%04X", 16 bytes as " %02X", a blank and 16 columns.
constexpr int kDumpColumns = 4 + 16 * 3 + 1 + 16;

// FixedSys does not exist here: the fixed-pitch fallback face, 19 pixels high
// unless a dump line would then not fit the window's width.
QFont DumpFont(int room) {
  QFont font(DisplayFonts::ResolveFace("FixedSys"));
  font.setStyleHint(QFont::TypeWriter);
  for (int size = 19; size > 8; --size) {
    font.setPixelSize(size);
    if (QFontMetrics(font).horizontalAdvance(QString(kDumpColumns, QLatin1Char('0'))) <= room)
      break;
  }
  return font;
}

}  // namespace

TDumpForm::TDumpForm(TDisk& disk, QWidget* mainWindow) : disk_(disk) {
  setObjectName(QStringLiteral("DumpForm"));
  setWindowTitle(U("ﾊﾞｲﾅﾘﾀﾞﾝﾌﾟ"));
  memo_ = new QPlainTextEdit(this);
  memo_->setObjectName(QStringLiteral("Memo"));
  memo_->setReadOnly(true);
  memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
  memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  const int room = kClientWidth - memo_->verticalScrollBar()->sizeHint().width() -
                   2 * memo_->frameWidth() -
                   2 * static_cast<int>(memo_->document()->documentMargin());
  memo_->setFont(DumpFont(room));
  // Ctrl+C and Ctrl+A go to the menu items, not to the text box's own
  // handling, so that a copy is always flagged as the program's own.
  memo_->installEventFilter(this);
  setCentralWidget(memo_);

  QMenu* file = menuBar()->addMenu(U("ﾌｧｲﾙ(&F)"));
  QAction* close = file->addAction(U("閉じる(&C)"), this, &TDumpForm::Close1Click);
  close->setObjectName(QStringLiteral("Close1"));
  QMenu* edit = menuBar()->addMenu(U("編集(&E)"));
  QAction* copy = edit->addAction(U("ｺﾋﾟｰ(&C)"), this, &TDumpForm::Copy1Click);
  copy->setObjectName(QStringLiteral("Copy1"));
  copy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
  edit->addSeparator();
  QAction* all = edit->addAction(U("すべて選択(&L)"), this, &TDumpForm::SelectAll1Click);
  all->setObjectName(QStringLiteral("SelectAll1"));
  all->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
  QMenu* view = menuBar()->addMenu(U("表示(&V)"));
  QAction* prior = view->addAction(U("前のﾍﾟｰｼﾞ(&P)"), this, &TDumpForm::PriorClick);
  prior->setObjectName(QStringLiteral("Prior"));
  QAction* next = view->addAction(U("次のﾍﾟｰｼﾞ(&N)"), this, &TDumpForm::NextClick);
  next->setObjectName(QStringLiteral("Next"));

  // A single, non-sizable frame with the designed client area.
  const int height = kClientHeight + menuBar()->sizeHint().height();
  setFixedSize(kClientWidth, height);
  if (mainWindow != nullptr) {
    const QRect m = mainWindow->frameGeometry();
    move(m.left() + (m.width() - kClientWidth) / 2, m.top() + (m.height() - height) / 2);
  }
}

void TDumpForm::ShowDump(int subbook, BookAddress start) {
  show();
  raise();
  activateWindow();
  subbook_ = subbook;
  page_ = subbook >= 0 ? std::max(start.page, 0) : 0;
  offset_ = start.offset;
  if (page_ > 0) Redo();
}

void TDumpForm::PriorClick() {
  if (page_ <= 0) return;
  --page_;
  offset_ = 0;
  Redo();
}

void TDumpForm::NextClick() {
  if (page_ == 0) return;
  ++page_;
  offset_ = 0;
  Redo();
}

void TDumpForm::Redo() {
  const std::vector<std::string> lines = DumpPage(disk_, subbook_, page_, offset_);
  QStringList text;
  text.reserve(static_cast<qsizetype>(lines.size()));
  for (const std::string& line : lines) text << QStringFromSjis(line);
  memo_->setPlainText(text.join(QLatin1Char('\n')));
}

bool TDumpForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == memo_ && event->type() == QEvent::ShortcutOverride) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::SelectAll)) return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

void TDumpForm::Copy1Click() {
  if (!memo_->textCursor().hasSelection()) return;
  emit clipboardAboutToChange();
  memo_->copy();
}

void TDumpForm::SelectAll1Click() { memo_->selectAll(); }

void TDumpForm::Close1Click() { hide(); }

}  // namespace morva
