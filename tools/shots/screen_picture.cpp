// The pictures of several windows with painted title bars, and the
// subcommands' shared messages.
#include <QImage>
#include <QPainter>
#include <QWidget>
#include <cstdio>

#include "tools/shots/shots.h"

namespace morva::shots {

void Complain(const QString& text) { std::fprintf(stderr, "morva-shots: %s\n", qPrintable(text)); }

bool SaveScreen(const std::vector<Shown>& windows, const QString& path) {
  auto client = [](const Shown& w) {
    return w.framePlaced ? w.window->geometry().translated(0, kTitleHeight) : w.window->geometry();
  };
  QRect all;
  for (const Shown& w : windows) all |= client(w).adjusted(0, -kTitleHeight, 0, 0);
  QImage image(all.size() + QSize(16, 16), QImage::Format_RGB32);
  image.fill(QColor(0x3A, 0x6E, 0xA5));
  QPainter painter(&image);
  const QPoint origin = -all.topLeft() + QPoint(8, 8);
  for (const Shown& w : windows) {
    const QRect frame = client(w).translated(origin);
    const QRect bar(frame.left(), frame.top() - kTitleHeight, frame.width(), kTitleHeight);
    painter.fillRect(bar, QColor(0x0A, 0x24, 0x6A));
    painter.setPen(Qt::white);
    painter.drawText(bar.adjusted(6, 0, -6, 0), Qt::AlignVCenter | Qt::AlignLeft,
                     w.window->windowTitle());
    painter.drawPixmap(frame.topLeft(), w.window->grab());
    painter.setPen(Qt::black);
    painter.drawRect(bar.united(frame).adjusted(0, 0, -1, -1));
  }
  painter.end();
  const bool saved = image.save(path);
  if (!saved) Complain(QStringLiteral("cannot write ") + path);
  return saved;
}

}  // namespace morva::shots
