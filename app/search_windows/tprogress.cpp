#include "app/search_windows/tprogress.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "engine/text/unicode.h"
#include "view/qt_conversions.h"
#include "view/window_place.h"

namespace morva {
namespace {

constexpr int kBoxWidth = 300;

}  // namespace

// The box window. Escape and the window's close button cancel instead of
// closing: only Close ends the box, once the operation has stopped.
class TProgress::Window final : public QDialog {
 public:
  Window(TProgress& progress, QWidget* owner) : QDialog(owner), progress_(progress) {}

 protected:
  void reject() override { progress_.Cancel(); }
  void closeEvent(QCloseEvent* event) override {
    event->ignore();
    progress_.Cancel();
  }

 private:
  TProgress& progress_;
};

TProgress::TProgress(QWidget* owner) : owner_(owner) {}

TProgress::~TProgress() { Close(); }

void TProgress::Open(std::string_view caption, int maximum) {
  Close();
  cancelled_ = false;
  maximum_ = std::max(0, maximum);
  position_ = 0;
  caption_ = std::string(caption);
  captionShown_ = false;

  auto* box = new Window(*this, owner_);
  box->setObjectName(QStringLiteral("TProgress"));
  box->setModal(false);
  auto* bar = new QProgressBar(box);
  bar->setObjectName(QStringLiteral("ProgressBar1"));
  bar->setRange(0, maximum_);
  bar->setValue(0);
  auto* button = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), box);
  button->setObjectName(QStringLiteral("Button1"));
  button->setAutoDefault(false);
  QObject::connect(button, &QPushButton::clicked, box, [this] { Cancel(); });
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(button);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(box);
  layout->addWidget(bar);
  layout->addLayout(buttons);
  box->setFixedWidth(kBoxWidth);
  box->adjustSize();
  box_ = box;
  bar_ = bar;
  ApplyCaption();

  if (owner_ != nullptr) {
    owner_->setEnabled(false);
    // A disabled owner disables the windows it owns; the box stays usable.
    box->setEnabled(true);
    const QWidget* frame = owner_->window();
    PlaceWindow(*box, CenteredOn(frame->frameGeometry(), box->frameGeometry().size()));
  }
  box->show();
  QCoreApplication::processEvents();
  sinceInput_.start();
}

void TProgress::SetCaption(std::string_view caption) {
  if (caption == caption_) return;
  caption_ = std::string(caption);
  captionShown_ = false;
}

void TProgress::ApplyCaption() {
  if (box_ == nullptr || captionShown_) return;
  box_->setWindowTitle(Caption());
  captionShown_ = true;
}

bool TProgress::Step(int position) {
  position_ = std::clamp(position, 0, maximum_);
  if (!sinceInput_.isValid() || sinceInput_.elapsed() >= kInputIntervalMs) {
    // The bar paints at once whenever its value changes; it is given the
    // position here, where the box is shown anyway.
    if (bar_ != nullptr) bar_->setValue(position_);
    ApplyCaption();
    QCoreApplication::processEvents();
    sinceInput_.start();
  }
  return cancelled_;
}

void TProgress::Cancel() {
  cancelled_ = true;
  if (owner_ != nullptr) owner_->setEnabled(true);
}

void TProgress::Close() {
  if (box_ == nullptr) return;
  // The box belongs to the owner as a Qt child, so it is deleted here or with
  // the owner, whichever comes first.
  delete box_.data();
  box_ = nullptr;
  bar_ = nullptr;
  if (owner_ != nullptr) owner_->setEnabled(true);
}

QString TProgress::Caption() const { return QStringFromSjis(caption_); }

}  // namespace morva
