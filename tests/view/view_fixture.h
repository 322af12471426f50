// A content view on the offscreen platform for tests: a book (the demo volume
// written by mkbook, or a real book), the book-access object with the book
// selected, the display fonts, a shown pane and the view with recording
// callbacks. Marked text can be shown directly.
#pragma once

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QScrollBar>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/book/tdisk.h"
#include "engine/text/unicode.h"
#include "tests/support/recording_reporter.h"
#include "tests/support/test_dirs.h"
#include "tools/mkbook/demo_book.h"
#include "view/clipboard_adapter.h"
#include "view/display_fonts.h"
#include "view/tmyscrollbox.h"
#include "view/ttextview.h"

namespace morva::testing {

class FakeClipboard : public ClipboardAdapter {
 public:
  // Kept in Shift-JIS, as the tests compare them with the shown text.
  void SetText(std::string_view utf8) override {
    texts.push_back(Utf8ToSjis(utf8));
    utf8Texts.emplace_back(utf8);
  }
  void SetSelectionText(std::string_view utf8) override { selections.push_back(Utf8ToSjis(utf8)); }
  std::vector<std::string> texts;
  std::vector<std::string> utf8Texts;   // as handed over
  std::vector<std::string> selections;  // offered as the primary selection
};

inline ViewSettings TestSettings() {
  ViewSettings s;
  s.scroll = false;
  s.textColor = 0x000000;
  s.backColor = 0xFFFFFF;
  s.titleColor = 0xFF0000;    // blue
  s.jumpColor = 0x00C000;     // green
  s.specialColor = 0x0000FF;  // red
  return s;
}

class ViewHarness {
 public:
  static constexpr int kRow = 1;

  // volume: a real book's directory; empty for the demo volume.
  explicit ViewHarness(ViewSettings settings = TestSettings(), QSize size = {400, 300},
                       std::filesystem::path volume = {})
      : settings_(settings), fonts(settings) {
    if (volume.empty()) {
      volume = dir / "demo";
      mkbook::BuildDemoBook().volume.WriteTo(volume);
    }
    disk.settings().scroll = settings.scroll;
    BookBarEntry separator;
    BookBarEntry book;
    book.shortName = "book";
    book.location = volume.string();
    book.subbook = 0;
    bar = {separator, book};
    disk.SetBookList(&bar);
    selected = disk.SelectSubbook(kRow);
    pane.resize(size);
    pane.show();
    view = std::make_unique<TTextView>(disk, pane, fonts, settings);
    view->SetClipboard(&clipboard);
    view->onBeep = [this] { ++beeps; };
    QObject::connect(view.get(), &TTextView::backEnabledChanged,
                     [this](bool on) { backStates.push_back(on); });
    Process();
  }

  // Shows marked text as the content of (page, 0); "\n" is written as CR LF.
  void ShowMarked(const std::string& marked, int32_t page = 1) {
    std::string file;
    for (char c : marked) {
      if (c == '\n') file += '\r';
      file += c;
    }
    WriteFile(disk.MarkedTextPath(), file);
    view->Show(kRow, page, 0);
    Process();
  }

  static void Process() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
  }
  QImage Grab() { return pane.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
  QScrollBar* bar_() { return pane.verticalScrollBar(); }

  void Mouse(QEvent::Type type, QPoint at, Qt::MouseButton button = Qt::LeftButton,
             Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const Qt::MouseButtons held =
        type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent event(type, QPointF(at), pane.viewport()->mapToGlobal(QPointF(at)),
                      type == QEvent::MouseMove ? Qt::NoButton : button, held, modifiers);
    QApplication::sendEvent(pane.viewport(), &event);
  }
  void Click(QPoint at) {
    Mouse(QEvent::MouseButtonPress, at);
    Mouse(QEvent::MouseButtonRelease, at);
  }

  TempDir dir;
  RecordingReporter reporter;
  TDisk disk{reporter};
  BookBar bar;
  bool selected = false;
  ViewSettings settings_;
  DisplayFonts fonts;
  TMyScrollBox pane;
  std::unique_ptr<TTextView> view;
  FakeClipboard clipboard;
  int beeps = 0;
  std::vector<bool> backStates;
};

// Pixels of a rectangle whose colour is near the given one.
inline int CountNear(const QImage& image, QRect area, QColor colour, int tolerance = 60) {
  int n = 0;
  area = area.intersected(image.rect());
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
              std::abs(c.blue() - colour.blue()) <=
          tolerance)
        ++n;
    }
  return n;
}

}  // namespace morva::testing
