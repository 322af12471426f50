#include "view/graph_window/tgraph_form.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QFont>
#include <QHideEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <algorithm>

#include "engine/book/tdisk.h"
#include "engine/book/text_utils.h"
#include "engine/text/unicode.h"
#include "view/display_fonts.h"
#include "view/graph_window/bmp_writer.h"
#include "view/graph_window/picture_widget.h"
#include "view/qt_conversions.h"

namespace morva {
namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

// The "description|pattern" filter of the save dialog in Qt's form.
QString QtFilter(const QString& filter) {
  const qsizetype bar = filter.indexOf(QLatin1Char('|'));
  if (bar < 0) return filter;
  QString patterns = filter.mid(bar + 1);
  patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
  return QStringLiteral("%1 (%2 %3)").arg(filter.left(bar), patterns, patterns.toLower());
}

}  // namespace

const QString& TGraphForm::SaveFilter() {
  static const QString filter = U("BMP - Windows ﾋﾞｯﾄﾏｯﾌﾟ|*.BMP");
  return filter;
}

TGraphForm::TGraphForm(TDisk& disk, QWidget* mainWindow) : disk_(disk), mainWindow_(mainWindow) {
  setObjectName(QStringLiteral("GraphForm"));
  setWindowTitle(U("画像"));
  scroll_ = new QScrollArea(this);
  scroll_->setObjectName(QStringLiteral("ScrollBox1"));
  scroll_->setBackgroundRole(QPalette::Base);
  image1_ = new PictureWidget;
  image1_->setObjectName(QStringLiteral("Image1"));
  connect(image1_, &PictureWidget::pointerMoved, this, &TGraphForm::Image1MouseMove);
  connect(image1_, &PictureWidget::pressed, this, &TGraphForm::Image1MouseDown);
  scroll_->setWidget(image1_);
  setCentralWidget(scroll_);
  BuildMenus();
  UpdateMenus();
}

TGraphForm::~TGraphForm() = default;

void TGraphForm::BuildMenus() {
  auto add = [this](QMenu* menu, const char* caption, const char* name,
                    void (TGraphForm::*slot)()) {
    QAction* a = menu->addAction(U(caption));
    a->setObjectName(QLatin1String(name));
    connect(a, &QAction::triggered, this, slot);
    return a;
  };
  QMenu* file = menuBar()->addMenu(U("ﾌｧｲﾙ(&F)"));
  add(file, "名前をつけて保存(&A)...", "SaveAs1", &TGraphForm::SaveAs1Click);
  add(file, "印刷(&P)...", "Print1", &TGraphForm::Print1Click);
  add(file, "終了(&X)", "Exit1", &TGraphForm::Exit1Click);
  QMenu* edit = menuBar()->addMenu(U("編集(&E)"));
  add(edit, "ｺﾋﾟｰ(&C)...", "Copy1", &TGraphForm::Copy1Click);
  QMenu* view = menuBar()->addMenu(U("表示(&V)"));
  textRefer_ = add(view, "本文(&T)", "TextRefer", &TGraphForm::TextReferClick);
  prevImage_ = add(view, "前の画像(&P)", "PrevImage", &TGraphForm::PrevImageClick);
  nextImage_ = add(view, "次の画像(&N)", "NextImage", &TGraphForm::NextImageClick);
  view->addSeparator();
  zoomGroup_ = new QActionGroup(this);
  zoomGroup_->setExclusive(true);
  static constexpr const char* kCaptions[] = {"25%(&2)",  "50%(&5)",  "75%(&7)",
                                              "100%(&1)", "200%(&0)", "400%(&4)"};
  for (size_t i = 0; i < std::size(kZooms); ++i) {
    const int z = kZooms[i];
    QAction* a = view->addAction(U(kCaptions[i]));
    a->setObjectName(QStringLiteral("Z%1").arg(z));
    a->setCheckable(true);
    a->setData(z);
    a->setChecked(z == zoom_);
    zoomGroup_->addAction(a);
    connect(a, &QAction::triggered, this, [this, z] { SetZoom(z); });
  }
}

void TGraphForm::SetJumpColor(uint32_t color) { jumpColor_ = color; }

void TGraphForm::SetZoom(int zoom) {
  if (std::find(std::begin(kZooms), std::end(kZooms), zoom) == std::end(kZooms)) zoom = 100;
  zoom_ = zoom;
  for (QAction* a : zoomGroup_->actions()) a->setChecked(a->data().toInt() == zoom_);
  ApplyZoom();
  emit zoomChanged(zoom_);
}

void TGraphForm::ApplyZoom() {
  if (width_ <= 0 || height_ <= 0 || marked_.isNull()) return;
  const int w = std::max(1, marked_.width() * zoom_ / 100);
  const int h = std::max(1, marked_.height() * zoom_ / 100);
  image1_->setFixedSize(w, h);
  // The client area holds the picture, within the screen.
  const int frame = 2 * scroll_->frameWidth();
  QSize wanted(w + frame, h + frame + menuBar()->sizeHint().height());
  if (const QScreen* s = screen()) {
    const QSize room = s->availableGeometry().size() - (frameGeometry().size() - size());
    wanted = wanted.boundedTo(room);
  }
  resize(wanted);
}

// ---- Showing -------------------------------------------------------------------

void TGraphForm::ShowImage(int subbook, std::string_view marker,
                           std::string_view textBeforeMarker) {
  const ImageMarker m = ParseImageMarker(marker);
  title_ = PictureTitle(textBeforeMarker);
  emit statusCleared();
  hovered_ = 0;
  // Without a row of its own the picture belongs to the open book.
  subbook_ = subbook >= 0 ? subbook : disk_.CurrentSubbook();
  at_ = m.at;
  width_ = m.width;
  height_ = m.height;
  LoadPicture();
}

void TGraphForm::LoadPicture() {
  regions_ = PictureRegions{};
  const bool selected = subbook_ >= 0 && disk_.SelectSubbook(subbook_);
  if (width_ == 0 || height_ == 0) {
    history_.Push(subbook_, at_, title_);
    if (selected) {
      const ImageDescriptor d = ReadImageDescriptor(disk_, at_);
      at_ = d.picture;
      width_ = d.width;
      height_ = d.height;
      regions_ = d.regions;
    } else {
      at_ = {};
      width_ = height_ = 0;
    }
  }
  if (selected && PictureShowable(at_, width_, height_)) {
    const std::vector<uint8_t> rows = ReadPictureRows(disk_, at_, width_, height_);
    QImage image(width_, height_, QImage::Format_Mono);
    if (!image.isNull() && !rows.empty()) {
      image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
      const int rowBytes = PictureRowBytes(width_);
      for (int y = 0; y < height_; ++y)
        std::copy_n(rows.data() + static_cast<size_t>(y) * static_cast<size_t>(rowBytes), rowBytes,
                    image.scanLine(y));
      picture_ = image;
    }
  }
  MakeMarkedPicture();
  ApplyZoom();
  setWindowTitle(QStringFromSjis(title_) +
                 QStringLiteral(" %1%2%3").arg(width_).arg(QChar(0x00D7)).arg(height_));
  UpdateMenus();
  show();
  raise();
  activateWindow();
}

// The picture with "⇒" drawn to the left of every hot spot in the link colour.
void TGraphForm::MakeMarkedPicture() {
  if (picture_.isNull()) return;
  marked_ = picture_.convertToFormat(QImage::Format_RGB32);
  if (regions_.HotSpotCount() == 0) {
    image1_->SetImage(marked_);
    return;
  }
  QPainter painter(&marked_);
  QFont font(DisplayFonts::ResolveFace(Sjis("ＭＳ ゴシック")));
  font.setPixelSize(24);
  font.setStyleStrategy(QFont::NoAntialias);
  painter.setFont(font);
  painter.setPen(QColorFromStored(jumpColor_));
  painter.setBackground(Qt::white);
  painter.setBackgroundMode(Qt::OpaqueMode);
  const QString arrow(QChar(0x21D2));
  for (int i = PictureRegions::kFirstHotSpot; i < regions_.count; ++i) {
    const PictureRegion& r = regions_.entries[static_cast<size_t>(i)];
    painter.drawText(QRect(r.x - 16, r.y - 12, 48, 48), Qt::AlignLeft | Qt::AlignTop, arrow);
  }
  painter.end();
  image1_->SetImage(marked_);
}

void TGraphForm::UpdateMenus() {
  textRefer_->setEnabled(!regions_.RelatedText().Empty());
  nextImage_->setEnabled(!regions_.NextPicture().Empty());
  prevImage_->setEnabled(history_.Count() >= 2);
}

void TGraphForm::ShowText(BookAddress at) { emit textRequested(subbook_, at); }

void TGraphForm::Beep() {
  if (onBeep) {
    onBeep();
  } else {
    QApplication::beep();
  }
}

// ---- Commands ---------------------------------------------------------------------

void TGraphForm::TextReferClick() {
  if (!regions_.RelatedText().Empty()) ShowText(regions_.RelatedText().target);
}

void TGraphForm::NextImageClick() {
  if (regions_.NextPicture().Empty()) return;
  at_ = regions_.NextPicture().target;
  width_ = height_ = 0;
  LoadPicture();
}

void TGraphForm::PrevImageClick() {
  if (history_.Count() < 2) {
    Beep();
    return;
  }
  history_.Pop();  // the picture now shown
  const std::optional<PictureHistoryEntry> e = history_.Pop();
  title_ = e->title;
  setWindowTitle(QStringFromSjis(title_));
  subbook_ = e->subbook;
  at_ = e->at;
  width_ = height_ = 0;
  LoadPicture();
}

void TGraphForm::Image1MouseMove(int x, int y) {
  const int px = x * 100 / zoom_;
  const int py = y * 100 / zoom_;
  hovered_ = regions_.HotSpotAt(px, py);
  image1_->setCursor(hovered_ > 0 ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TGraphForm::Image1MouseDown(int, int) {
  if (hovered_ <= 0 || hovered_ >= regions_.count) return;
  const PictureRegion r = regions_.entries[static_cast<size_t>(hovered_)];
  if (r.kind == 1) {
    at_ = r.target;
    width_ = 0;
    hovered_ = 0;
    LoadPicture();
  } else {
    ShowText(r.target);
  }
}

void TGraphForm::Copy1Click() {
  if (marked_.isNull()) return;
  emit clipboardAboutToChange();
  QApplication::clipboard()->setImage(marked_);
}

bool TGraphForm::PrintTo(QPrinter& printer) {
  if (marked_.isNull()) return false;
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  const int shownW = marked_.width() * zoom_ / 100;
  const int shownH = marked_.height() * zoom_ / 100;
  const QRect target(0, 0, std::max(1, shownW * printer.logicalDpiX() / 96),
                     std::max(1, shownH * printer.logicalDpiY() / 96));
  painter.drawImage(target, marked_);
  return painter.end();
}

void TGraphForm::Print1Click() {
  if (marked_.isNull()) return;
  QPrinter printer;
  printer.setDocName(QStringFromSjis(title_));
  if (preparePrinter) {
    if (!preparePrinter(printer)) return;
  } else {
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
  }
  PrintTo(printer);
}

bool TGraphForm::SaveBmp(const QString& path) const {
  if (marked_.isNull()) return false;
  // Everything that is not white paper is ink, as a monochrome copy of the
  // shown picture makes it (the marks included).
  const QImage& m = marked_;
  const std::string bytes = EncodeMonochromeBmp(
      m.width(), m.height(), [&m](int x, int y) { return (m.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF; });
  return WriteFileBytes(QFile::encodeName(path).toStdString(), bytes);
}

void TGraphForm::SaveAs1Click() {
  if (marked_.isNull()) return;
  QString name;
  if (saveFileName) {
    name = saveFileName(SaveFilter());
  } else {
    name = QFileDialog::getSaveFileName(this, QString(), QString(), QtFilter(SaveFilter()));
  }
  if (name.isEmpty()) return;
  if (QFileInfo(name).suffix().isEmpty()) name += QStringLiteral(".BMP");
  SaveBmp(name);
}

void TGraphForm::Exit1Click() { hide(); }

void TGraphForm::hideEvent(QHideEvent* event) {
  QMainWindow::hideEvent(event);
  if (event->spontaneous() || !mainWindow_) return;
  const QPoint mine = frameGeometry().topLeft();
  const QPoint main = mainWindow_->frameGeometry().topLeft();
  emit hidden(mine.x() - main.x(), mine.y() - main.y());
}

}  // namespace morva
