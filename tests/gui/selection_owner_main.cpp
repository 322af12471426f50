// Another program for the primary selection tests: it owns the X primary
// selection with the text of its argument, says "ready", and keeps it until
// its standard input closes (or half a minute has passed).
#include <QClipboard>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc < 2 || !QGuiApplication::clipboard()->supportsSelection()) return 2;
  QGuiApplication::clipboard()->setText(QString::fromUtf8(argv[1]), QClipboard::Selection);
  QSocketNotifier input(0, QSocketNotifier::Read);
  QObject::connect(&input, &QSocketNotifier::activated, &app, &QCoreApplication::quit);
  QTimer::singleShot(30000, &app, &QCoreApplication::quit);
  std::puts("ready");
  std::fflush(stdout);
  return QGuiApplication::exec();
}
