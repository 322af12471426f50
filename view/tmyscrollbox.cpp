#include "view/tmyscrollbox.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

namespace morva {
namespace {

bool IsPaneKey(int key) {
  return key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp ||
         key == Qt::Key_PageDown;
}

}  // namespace

TMyScrollBox::TMyScrollBox(QWidget* parent) : QAbstractScrollArea(parent) {
  setFocusPolicy(Qt::StrongFocus);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // The pane starts as the form lays it out; the content view replaces range
  // and step when it shows something.
  verticalScrollBar()->setRange(0, 40000);
  verticalScrollBar()->setSingleStep(16);
  verticalScrollBar()->setTracking(true);
  // The owner paints every pixel it is asked for, which lets scrolling move
  // the pixels already on screen instead of repainting them.
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setMouseTracking(true);
  connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
          [this](int action) { ScrollBarAction(Qt::Vertical, action); });
  connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
          [this](int action) { ScrollBarAction(Qt::Horizontal, action); });
}

void TMyScrollBox::ScrollBarAction(Qt::Orientation orientation, int action) {
  QScrollBar* bar = orientation == Qt::Vertical ? verticalScrollBar() : horizontalScrollBar();
  int key = 0;
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub: key = Qt::Key_Up; break;
    case QAbstractSlider::SliderSingleStepAdd: key = Qt::Key_Down; break;
    case QAbstractSlider::SliderPageStepSub: key = Qt::Key_PageUp; break;
    case QAbstractSlider::SliderPageStepAdd: key = Qt::Key_PageDown; break;
    default:
      // Thumb drags, top and bottom keep the base handling; positions are
      // full ints, so ranges beyond 65,535 pixels scroll correctly.
      return;
  }
  if (!Heard(&TMyScrollBox::paneKeyPressed)) return;
  // Cancel the bar's own step; the key decides where the view goes.
  bar->setSliderPosition(bar->value());
  SendKeyDown(key);
}

void TMyScrollBox::SendKeyDown(int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  keyPressEvent(&press);
}

bool TMyScrollBox::event(QEvent* event) {
  // Claim Up and Down before shortcuts and dialog navigation see them.
  if (event->type() == QEvent::ShortcutOverride) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
      event->accept();
      return true;
    }
  }
  return QAbstractScrollArea::event(event);
}

void TMyScrollBox::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  painter.setClipRect(event->rect(), Qt::IntersectClip);
  // The base painting: the background.
  painter.fillRect(event->rect(), viewport()->palette().color(viewport()->backgroundRole()));
  emit painted(painter, event->rect());
}

void TMyScrollBox::keyPressEvent(QKeyEvent* event) {
  if (Heard(&TMyScrollBox::paneKeyPressed) && IsPaneKey(event->key())) {
    emit paneKeyPressed(event->key());
    event->accept();
    return;
  }
  QAbstractScrollArea::keyPressEvent(event);
}

void TMyScrollBox::mousePressEvent(QMouseEvent* event) {
  if (Heard(&TMyScrollBox::mousePressed)) emit mousePressed(event);
  else QAbstractScrollArea::mousePressEvent(event);
}

void TMyScrollBox::mouseMoveEvent(QMouseEvent* event) {
  if (Heard(&TMyScrollBox::mouseMoved)) emit mouseMoved(event);
  else QAbstractScrollArea::mouseMoveEvent(event);
}

void TMyScrollBox::mouseReleaseEvent(QMouseEvent* event) {
  if (Heard(&TMyScrollBox::mouseReleased)) emit mouseReleased(event);
  else QAbstractScrollArea::mouseReleaseEvent(event);
}

void TMyScrollBox::mouseDoubleClickEvent(QMouseEvent* event) {
  // The double-click comes first, then the press it replaces: the view
  // ignores that press by its double-click flag.
  const bool doubleHeard = Heard(&TMyScrollBox::doubleClicked);
  const bool pressHeard = Heard(&TMyScrollBox::mousePressed);
  if (doubleHeard) emit doubleClicked(event);
  if (pressHeard) emit mousePressed(event);
  if (!doubleHeard && !pressHeard) QAbstractScrollArea::mouseDoubleClickEvent(event);
}

void TMyScrollBox::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  emit resized();
}

void TMyScrollBox::scrollContentsBy(int dx, int dy) {
  if (Heard(&TMyScrollBox::scrolled)) emit scrolled();
  else viewport()->scroll(dx, dy);
}

}  // namespace morva
