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
#include "engine/book/text_utils.h"
#include "tests/support/recording_reporter.h"
#include "tests/support/test_dirs.h"
#include "tools/mkbook/demo_book.h"
#include "view/clipboard_adapter.h"
#include "view/display_fonts.h"
#include "view/tmyscrollbox.h"
#include "view/ttextview.h"

namespace morva::testing {

// Keeps what was handed over, in UTF-8.
class FakeClipboard : public ClipboardAdapter {
 public:
  void SetText(std::string_view utf8) override { texts.emplace_back(utf8); }
  void SetSelectionText(std::string_view utf8) override { selections.emplace_back(utf8); }
  std::vector<std::string> texts;
  std::vector<std::string> selections;  // offered as the primary selection
};

// The default colours: black text on white, blue headings, green links.
inline ViewSettings TestSettings(bool continuous = false) {
  ViewSettings s;
  s.scroll = continuous;
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
  // The middle of a half-width column of a line.
  QPoint At(int line, int column) {
    const int cw = fonts.Set(0).cw;
    const int lh = view->LineHeight();
    return {4 + column * cw + cw / 2, line * lh + lh / 2};
  }
  // Double-clicks with the anchor at `at` and returns the selected word.
  std::string Word(TextPos at) {
    view->SetAnchor(at);
    view->DoubleClick();
    return view->SelectionText(false);
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

inline std::string NumberedLines(int n) {
  std::string text;
  for (int i = 0; i < n; ++i) text += Format("line %d\n", i);
  return text;
}

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
