// Where Morva's windows go on the screen. Every top-level window Morva places
// (the main window, help, the image, dump and candidate windows, the general
// search window, the progress box, dialogs) goes through these functions, so
// that its whole frame lies on the usable part of a screen: the part that
// panels and docks leave free.
#pragma once

#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace morva {

// The usable area of the screen that holds `point` (the primary screen when
// no screen does); an empty rectangle when there is no screen at all.
QRect UsableArea(QPoint point);
// The usable area around a window: of the screen its frame's centre is on.
QRect UsableAreaOf(const QWidget& window);

// A frame rectangle moved and, where it is larger, shrunk so that it lies
// wholly inside area. An empty area leaves the rectangle as it is.
QRect FitRect(QRect frame, const QRect& area);

// The frame of size frameSize centred on another frame.
QRect CenteredOn(const QRect& owner, QSize frameSize);

// What the window manager adds around a window's client area. A window not
// shown yet has no frame of its own: it is assumed to get the frame of a
// shown top-level window (window managers frame windows alike), or none.
QMargins FrameMarginsOf(const QWidget& window);

// Gives a top-level window the frame rectangle `frame`, fitted into area
// (the window's own usable area when area is empty). The client area is the
// frame less the window's frame margins; it never goes below the window's
// minimum size.
void PlaceWindow(QWidget& window, const QRect& frame, const QRect& area = {});
// Moves and shrinks a window whose frame no longer fits its usable area.
void KeepOnScreen(QWidget& window, const QRect& area = {});

}  // namespace morva
