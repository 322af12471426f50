// The content view on the offscreen platform: colours of headings, links and
// selected external characters in grabbed pictures, whole-line scrolling,
// the lines repainted by one-line scrolls, scroll-bar clicks and drags,
// keyboard paging in continuous display, the back history, external
// characters drawn from the book's Unicode map or from scaled bitmaps, and
// selection, words, copying, finding and links.
#include "view/ttextview.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <QScrollBar>
#include <QTest>
#include <memory>
#include <set>

#include "engine/book/tdisk.h"
#include "engine/decode/content.h"
#include "tests/support/recording_reporter.h"
#include "tests/support/test_dirs.h"
#include "tests/view/layout_fixture.h"
#include "tools/mkbook/demo_book.h"
#include "view/tmyscrollbox.h"

namespace morva {
namespace {

using namespace testing;

// A clipboard that keeps what was handed over, in UTF-8.
struct FakeClipboard : ClipboardAdapter {
  void SetText(std::string_view utf8) override { texts.emplace_back(utf8); }
  void SetSelectionText(std::string_view utf8) override { selections.emplace_back(utf8); }
  std::vector<std::string> texts;
  std::vector<std::string> selections;  // offered as the primary selection
};

// A content view for tests: a book (the demo volume written by mkbook, or a
// real book), the book-access object with the book selected, the display
// fonts, a shown pane and the view with recording callbacks.
struct ViewHarness {
  static constexpr int kRow = 1;

  // volume: a real book's directory; empty for the demo volume.
  explicit ViewHarness(QSize size = {400, 300}, std::filesystem::path volume = {},
                       bool continuous = false) {
    if (volume.empty()) {
      volume = dir / "demo";
      mkbook::BuildDemoBook().volume.WriteTo(volume);
    }
    settings.scroll = disk.settings().scroll = continuous;
    bar = {{}, {.shortName = "book", .location = volume.string(), .userTitle = {}, .subbook = 0}};
    disk.SetBookList(&bar);
    EXPECT_TRUE(disk.SelectSubbook(kRow));
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
    for (char c : marked) file += c == '\n' ? std::string("\r\n") : std::string(1, c);
    WriteFile(disk.MarkedTextPath(), file);
    view->Show(kRow, page, 0);
    Process();
  }

  static void Process() {
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
  }
  QImage Grab() { return pane.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
  QScrollBar* bar_() { return pane.verticalScrollBar(); }
  void ScrollTo(int y) {
    bar_()->setValue(y);
    Process();
  }

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

  testing::TempDir dir;
  testing::RecordingReporter reporter;
  TDisk disk{reporter};
  BookBar bar;
  ViewSettings settings;  // default colours: black on white, blue headings, green links
  DisplayFonts fonts{settings};
  TMyScrollBox pane;
  std::unique_ptr<TTextView> view;
  FakeClipboard clipboard;
  int beeps = 0;
  std::vector<bool> backStates;
};

// Pixels of a rectangle whose colour is near the given one.
int CountNear(const QImage& image, QRect area, QColor colour, int tolerance = 60) {
  int n = 0;
  area &= image.rect();
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) {
      const QColor c = image.pixelColor(x, y);
      const int distance = std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                           std::abs(c.blue() - colour.blue());
      n += distance <= tolerance;
    }
  return n;
}

TEST(TextViewTest, PaintingScrollingHistoryAndDamagedText) {
  ViewHarness h;
  // A heading long enough to wrap, then a link line.
  const std::string heading = Heading(Repeat(J("みだし"), 12)) + "\n";
  h.ShowMarked(heading + Link(J("リンク"), 1, 0) + " text\n");
  const int lh = h.view->LineHeight();
  const int cw = h.fonts.Set(0).cw;
  const auto band = [&](int line) { return QRect(0, line * lh, h.pane.viewport()->width(), lh); };
  QImage image = h.Grab();
  // Both heading lines in the title colour, with no plain text colour.
  for (int line : {0, 1}) {
    EXPECT_GT(CountNear(image, band(line), Qt::blue), 20) << line;
    EXPECT_EQ(CountNear(image, band(line), Qt::black), 0) << line;
  }
  const int linkLine = h.view->LineCount() - 1;
  EXPECT_GT(CountNear(image, band(linkLine), Qt::darkGreen), 20);
  EXPECT_GT(CountNear(image, band(linkLine), Qt::black), 5);  // " text" after the marker
  // Selected link text: back colour on the link colour.
  h.view->Select({linkLine, 0}, {linkLine, 5});
  h.Process();
  const QRect selected(4, linkLine * lh + 2, 2 * cw, lh - 4);
  EXPECT_GT(CountNear(h.Grab(), selected, Qt::darkGreen), selected.width() * selected.height() / 2);

  // TITLECOLOR=OFF paints headings in the text colour.
  h.disk.info().titleColor = false;
  h.ShowMarked(heading, 2);
  image = h.Grab();
  EXPECT_EQ(CountNear(image, band(1), Qt::blue), 0);
  EXPECT_GT(CountNear(image, band(1), Qt::black), 20);

  // The demo book's full-width character 0xA121 is a circled one, scaled
  // smoothly: ink is what is nearer black than white. Selected, it is
  // reversed: the cell mostly the text colour, the ink in the back colour.
  h.ShowMarked("ab" + Gaiji(true, 0xA121) + "cd\n", 3);
  const QRect cell(4 + 2 * cw, 0, 16, 16);
  EXPECT_LT(CountNear(h.Grab(), cell, Qt::black, 382), 16 * 16 / 2);
  h.view->SelectAll();
  h.Process();
  image = h.Grab();
  EXPECT_GT(CountNear(image, cell, Qt::black), 16 * 16 / 2);
  EXPECT_GT(CountNear(image, cell, Qt::white, 382), 10);

  // Unmapped external characters are drawn from their bitmaps, smoothly scaled
  // to the device's pixels. Those the book's Unicode map has are drawn as text
  // and copied as those characters; malformed map lines are skipped with one
  // warning naming the file and line.
  h.ShowMarked(Gaiji(true, 0xA121) + "\n", 4);
  // Painted on a device of pixel ratio 2, the 16-dot bitmap fills twice the
  // pixels with grey steps at its edges rather than doubled blocks.
  QPixmap device(h.pane.viewport()->size() * 2);
  device.setDevicePixelRatio(2);
  device.fill(Qt::white);
  h.pane.viewport()->render(&device);
  image = device.toImage().convertToFormat(QImage::Format_RGB32);
  const int square = 2 * lh;
  std::set<int> greys;
  for (int y = 0; y < square; ++y)
    for (int x = 0; x < 2 * square + 16; ++x) greys.insert(qGray(image.pixel(x, y)));
  EXPECT_GT(greys.size(), 4u);
  const int ink = CountNear(image, QRect(0, 0, 2 * square + 16, square), Qt::black, 382);
  EXPECT_GT(ink, 40);
  EXPECT_LT(ink, 32 * 32 / 2);

  // The demo book reopened with the map text beside the volume.
  const std::filesystem::path subbook(h.disk.subbook().subbookDirectory);
  WriteFile(std::filesystem::path(h.disk.VolumeRoot()) / (subbook.filename().string() + ".map"),
            "# demo\nzA121\tu3042\nbad line\nhA121\t-\t[o]\nzA122\tu00E9,u0301\nzA123\tuXYZ\n");
  h.disk.settings().unicodeMaps = true;
  h.disk.ForgetCurrentSubbook();
  ASSERT_TRUE(h.disk.SelectSubbook(ViewHarness::kRow));
  ASSERT_EQ(h.reporter.boxes().size(), 1u);
  EXPECT_NE(h.reporter.boxes()[0].Utf8().find(".map:3:"), std::string::npos);
  const auto abAcd = [&] { return h.Grab().copy(0, 0, 6 * cw, square / 2); };
  h.ShowMarked("ab" + J("あ") + "cd\n", 5);
  const QImage asText = abAcd();
  h.ShowMarked(
      "ab" + Gaiji(true, 0xA121) + "cd" + Gaiji(false, 0xA121) + Gaiji(true, 0xA122) + "\n", 6);
  EXPECT_EQ(abAcd(), asText);
  h.view->SelectAll();
  h.view->CopySelection();
  // The "-" entry keeps its bitmap on screen and copies its replacement text;
  // characters outside Shift-JIS reach the clipboard.
  EXPECT_EQ(h.clipboard.texts, std::vector<std::string>{"abあcd[o]\u00E9\u0301"});

  // Scrolling.
  h.ShowMarked(NumberedLines(100), 7);
  const int v = h.view->VisibleLines();
  // Scroll positions snap to whole lines.
  h.ScrollTo(3 * lh + 5);
  EXPECT_EQ(h.bar_()->value(), 4 * lh);
  h.ScrollTo(h.bar_()->maximum() - 3);
  EXPECT_EQ(h.view->TopLine(), 100 - v);
  // A one-line scroll repaints one or two lines, and what is on screen then
  // is what a full repaint gives.
  h.ScrollTo(0);
  h.view->ResetLinesPainted();
  h.view->Key(Qt::Key_Down);
  h.Process();
  EXPECT_EQ(h.view->TopLine(), 1);
  EXPECT_LE(h.view->LinesPainted(), 2);
  h.view->ResetLinesPainted();
  h.view->Key(Qt::Key_Up);
  h.Process();
  EXPECT_EQ(h.view->LinesPainted(), 1);
  const QImage moved = h.Grab();
  h.pane.viewport()->update();
  h.Process();
  EXPECT_EQ(moved, h.Grab());
  // Keys and scroll-bar clicks page alike.
  h.view->Key(Qt::Key_PageDown);
  EXPECT_EQ(h.view->TopLine(), v - 1);
  h.bar_()->triggerAction(QAbstractSlider::SliderPageStepAdd);  // a click in the lower trough
  EXPECT_EQ(h.view->TopLine(), 2 * (v - 1));
  h.bar_()->triggerAction(QAbstractSlider::SliderSingleStepSub);  // the up arrow
  EXPECT_EQ(h.view->TopLine(), 2 * (v - 1) - 1);
  h.ScrollTo(0);
  // Up and Down are the pane's own keys, not focus navigation.
  QKeyEvent shortcut(QEvent::ShortcutOverride, Qt::Key_Down, Qt::NoModifier);
  QApplication::sendEvent(&h.pane, &shortcut);
  EXPECT_TRUE(shortcut.isAccepted());
  QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
  QApplication::sendEvent(&h.pane, &down);
  EXPECT_EQ(h.view->TopLine(), 1);
  // Clearing forgets lines, selection and scroll range.
  h.view->SelectAll();
  h.view->Clear();
  h.Process();
  EXPECT_EQ(h.view->LineCount(), 0);
  EXPECT_FALSE(h.view->HasSelection());
  EXPECT_EQ(h.bar_()->maximum(), 0);
  // A thumb drag over a range beyond 16 bits reaches the end.
  h.ShowMarked(NumberedLines(5000), 8);
  QScrollBar* bar = h.bar_();
  ASSERT_GT(bar->maximum(), 65536 + 10 * lh);
  bar->setSliderDown(true);
  bar->setSliderPosition(bar->maximum());
  bar->setSliderDown(false);
  h.Process();
  EXPECT_EQ(h.view->TopLine(), 5000 - v);

  // Eleven shows keep ten in the history and going back empties the ring.
  for (int page = 1; page <= 12; ++page) h.ShowMarked(NumberedLines(3), page);
  const int beeps = h.beeps;
  EXPECT_EQ(h.view->history().Count(), 10);
  EXPECT_TRUE(h.backStates.back());
  for (int page = 11; page >= 2; --page) {
    h.view->Back();
    EXPECT_EQ(h.view->ShownAddress().page, page);
  }
  EXPECT_FALSE(h.backStates.back());
  EXPECT_EQ(h.beeps, beeps);
  h.view->Back();
  EXPECT_EQ(h.beeps, beeps + 1);
  EXPECT_EQ(h.view->ShownAddress().page, 2);
  // Page 0 (the copyright page) is never recorded.
  h.ShowMarked("copyright\n", 0);
  h.ShowMarked("entry\n", 7);
  EXPECT_EQ(h.view->history().Count(), 1);

  // Damaged marked text (random bytes rich in control codes, markers cut short,
  // lead bytes at line ends) is laid out, painted, selected, copied and searched
  // without reading outside the line texts.
  uint32_t seed = 12345;
  for (int round = 0; round < 20; ++round) {
    std::string text;
    for (int i = 0; i < 3000; ++i) {
      seed = seed * 1103515245u + 12345u;
      const auto b = static_cast<uint8_t>(seed >> 16);
      text += static_cast<char>(b == 0 ? 0x20 : b < 0x60 ? b & 0x1F : b);  // many control codes
    }
    h.ShowMarked(text, round + 10);
    for (int i = 0; i < h.view->LineCount(); ++i)
      ASSERT_LE(h.view->brows().GetLine(i).text.size(), 299u);
    h.view->SelectAll();
    h.Grab();
    h.view->SelectionText(false);
    h.view->SetAnchor({0, 0});
    h.view->Find(std::string("\x81\x40") + "a", false);
    h.Word({h.view->LineCount() / 2, 3});
    h.view->Key(Qt::Key_PageDown);
    h.view->HitTest(100, 50, false);
  }
}

TEST(SelectionTest, WordsLinksCopyingFindingAndDragging) {
  ViewHarness h({1000, 300});
  h.ShowMarked(J("漢字ひらがなー。") + "abc\n");
  // Anchor on ら (bytes 6-7): the hiragana run with its long vowel mark.
  EXPECT_EQ(h.Word({0, 6}), J("ひらがなー"));
  EXPECT_EQ(h.Word({0, 17}), "abc");
  // A word beginning with ー takes the class of the kana after it.
  h.ShowMarked(J("漢ーカナ字") + "\n", 2);
  EXPECT_EQ(h.Word({0, 4}), J("ーカナ"));
  // A word at the start of a line takes nothing of the line end before it.
  h.ShowMarked("ab\nplain\n", 3);
  EXPECT_EQ(h.Word({1, 2}), "plain");
  // What the user selects is offered as the primary selection; a click that
  // selects nothing and the copy's own selection of the whole entry are not.
  const int lh = h.view->LineHeight();
  h.view->SetAnchor({0, 0});
  h.view->MouseDown(1, lh / 2, false);
  h.view->MouseUp(1, lh / 2);
  h.view->MouseDown(1, lh / 2, false);
  h.view->MouseMove(1, lh * 3 / 2, false);
  h.view->MouseUp(1, lh * 3 / 2);
  h.view->SetAnchor({1, 0});
  h.view->CopySelection();
  EXPECT_EQ(h.clipboard.selections,
            (std::vector<std::string>{"ひらがなー", "abc", "ーカナ", "plain", "ab\r\n"}));

  // Links: the cursor, clicks and the right button.
  std::vector<std::string> events;  // links followed, status texts and menus
  const auto record = [&](const std::string& m) { events.push_back(m); };
  QObject::connect(h.view.get(), &TTextView::imageLinkFollowed, record);
  QObject::connect(h.view.get(), &TTextView::soundLinkFollowed, record);
  QObject::connect(h.view.get(), &TTextView::statusTextChanged, record);
  QObject::connect(h.view.get(), &TTextView::contextMenuRequested, [&] { record("menu"); });
  const std::string sound = std::string{'\x02', '\x30'} + "S01000100000200";
  const std::string none = std::string{'\x02', '\x22'} + "D";
  const std::string picture = std::string{'\x02', '\x2E'} + "G000000050010";
  h.ShowMarked(
      "\x01sound" + sound + " after\n\x01none" + none + "\n\x01pict" + picture + "\nplain\n", 4);
  const auto onLink = [&](int line, bool ctrl) {
    return h.view->HitTest(h.At(line, 1).x(), h.At(line, 1).y(), ctrl).onLink;
  };
  EXPECT_TRUE(onLink(0, false));
  EXPECT_EQ(h.pane.viewport()->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_FALSE(onLink(0, true));
  EXPECT_EQ(h.pane.viewport()->cursor().shape(), Qt::IBeamCursor);
  EXPECT_FALSE(onLink(3, false));
  // The right button selects the word and opens the menu.
  h.Mouse(QEvent::MouseButtonPress, h.At(0, 8), Qt::RightButton);
  EXPECT_EQ(h.view->SelectionText(false), "after");
  h.Click(h.At(0, 1));
  h.Click(h.At(1, 1));
  EXPECT_EQ(h.beeps, 1);
  h.Click(h.At(2, 1));
  // With Ctrl held a click on link text starts a selection instead.
  h.Mouse(QEvent::MouseButtonPress, h.At(0, 1), Qt::LeftButton, Qt::ControlModifier);
  h.Mouse(QEvent::MouseMove, h.At(0, 4), Qt::LeftButton, Qt::ControlModifier);
  h.Mouse(QEvent::MouseButtonRelease, h.At(0, 4), Qt::LeftButton, Qt::ControlModifier);
  EXPECT_EQ(h.view->SelectionText(false), "oun");
  EXPECT_EQ(events, (std::vector<std::string>{"menu", " after\r", sound, picture}));

  // The selection text joins wrapped lines and shows external characters.
  h.ShowMarked("ab" + Gaiji(true, 0xA121) + Gaiji(false, 0xA121) + Link("cd", 1, 0) + "\nef\n", 5);
  h.view->SelectAll();
  EXPECT_EQ(h.view->SelectionText(false), "ab" + J("＿") + "_cd\r\nef");
  EXPECT_EQ(h.view->SelectionText(true), "ab" + J("＿") + "_cd");
  EXPECT_EQ(h.view->SelectionText(false, 4), "ab" + J("＿"));

  // Copying adds the source notice only to long or multi-line text.
  const std::string a80(80, 'a'), a81(81, 'a'), notice = "\r\n出典：見本\r\n";
  const struct {
    std::string shown;
    bool all;  // copy everything (nothing is selected) or the first three bytes
    std::string copied, source = "出典：見本";
  } cases[] = {{a80, true, a80},
               {a81, true, a81 + notice},
               {"ab\ncd", false, "ab\r\nc" + notice},
               {a81, true, a81, ""}};  // no notice without a SOURCE= statement
  int page = 5;
  for (const auto& c : cases) {
    h.disk.info().source = Sjis(c.source);
    h.ShowMarked(c.shown + "\n", ++page);
    if (!c.all) h.view->Select({0, 0}, {1, 1});
    h.view->CopySelection();
    EXPECT_EQ(h.clipboard.texts.back(), c.copied);
    EXPECT_FALSE(c.all && h.view->HasSelection());  // nothing left selected
  }

  // A double-clicked word runs over a wrapped line end.
  const int columns = h.view->Columns();
  // A kanji run, then hiragana that fill the line and go on to the next one;
  // a double-click by mouse on the second line's first character.
  const std::string hiragana = Repeat(J("あ"), columns / 2);
  h.ShowMarked(J("漢字") + hiragana + J("漢") + "\n", 20);
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease,
                            QEvent::MouseButtonDblClick, QEvent::MouseButtonRelease})
    h.Mouse(type, h.At(1, 0));
  EXPECT_EQ(h.view->SelectionStart(), (TextPos{0, 4}));
  EXPECT_EQ(h.view->SelectionText(false), hiragana);

  // Find runs over a wrapped line end too, but not over a break.
  h.ShowMarked(std::string(static_cast<size_t>(columns - 2), 'x') + "abCD\nef\n", 21);
  EXPECT_TRUE(h.view->Find("abcd", false));
  EXPECT_EQ(h.view->SelectionStart(), (TextPos{0, columns - 2}));
  EXPECT_EQ(h.view->SelectionEnd(), (TextPos{1, 2}));
  h.view->SetAnchor({0, 0});
  EXPECT_FALSE(h.view->Find("abcd", true));
  EXPECT_FALSE(h.view->Find("CDef", false));
  EXPECT_EQ(h.beeps, 3);
  EXPECT_FALSE(h.view->HasSelection());
  // Link starts and markers inside the text do not stop a match; the search
  // goes on after the selection.
  h.ShowMarked("one " + Link("two", 1, 0) + " two\n", 22);
  EXPECT_TRUE(h.view->Find("one two two", true));
  h.view->SetAnchor({0, 0});
  EXPECT_TRUE(h.view->Find("two", true));
  EXPECT_EQ(h.view->SelectionStart().pos, 4);  // at the link start
  EXPECT_TRUE(h.view->Find("two", true));
  EXPECT_EQ(h.view->SelectionStart().pos, 4 + 1 + 3 + 15 + 1);
  // A match further down is scrolled to the middle of the pane.
  h.ShowMarked(NumberedLines(100), 23);
  const int v = h.view->VisibleLines();
  EXPECT_TRUE(h.view->Find("line 70", true));
  EXPECT_EQ(h.view->TopLine(), 70 - v / 2);
  // Dragging below the pane scrolls a line a time by itself to the end;
  // releasing the button ends the selecting and the selection stays.
  const int below = h.pane.viewport()->height() + 5;
  h.Mouse(QEvent::MouseButtonPress, {10, 5});
  h.Mouse(QEvent::MouseMove, {10, below});
  EXPECT_TRUE(QTest::qWaitFor([&] { return h.view->TopLine() == 100 - v; }));
  h.Mouse(QEvent::MouseButtonRelease, {10, below});
  EXPECT_EQ(h.view->SelectionStart(), (TextPos{70 - v / 2, 0}));
  EXPECT_EQ(h.view->SelectionEnd().line, 99);
}

TEST(RealBookTest, ReferencesShowTheirEntriesAndContinuousPagingKeepsTheText) {
  MORVA_REQUIRE_SHARED_BOOKS();
  for (bool continuous : {false, true}) {
    ViewHarness h({500, 400}, SharedBooks() / "edict-small", continuous);
    // Entry 62 (１０００万) links to entry 242102 (text positions of the
    // book's answer key).
    const BookAddress from{2, 102};
    if (!continuous) TContent(h.disk).FormatItem(ViewHarness::kRow, from);
    h.view->Show(ViewHarness::kRow, from.page, from.offset);
    h.Process();
    // Find the link on screen by hit testing along the lines.
    QPoint click(-1, -1);
    for (int line = 0; line < 4 && click.x() < 0; ++line)
      for (int x = 0; x < 500 && click.x() < 0; x += 3)
        if (h.view->HitTest(x, h.At(line, 0).y(), false).onLink)
          click = {x + 10, h.At(line, 0).y()};
    ASSERT_GE(click.x(), 0);
    h.Click(click);
    h.Process();
    EXPECT_EQ(h.view->ShownAddress(), (BookAddress{367, 112})) << continuous;
    EXPECT_EQ(h.view->history().Count(), 1);
    EXPECT_NE(
        std::string(h.view->brows().GetLine(0).text).find(J("ばんこくちょさくけんじょうやく")),
        std::string::npos);
    h.view->Back();
    EXPECT_EQ(h.view->ShownAddress(), from);
    if (!continuous) continue;

    // In continuous display paging across stretches keeps the text.
    // Far enough into the body that a stretch before it exists.
    h.view->Show(ViewHarness::kRow, 100, 306);
    h.Process();
    ASSERT_GT(h.view->TargetLine(), 0);
    TBrows& brows = h.view->brows();
    const BookAddress first = brows.Start();
    const int v = h.view->VisibleLines();
    // Page down until the next stretch is loaded; the line that was at the
    // bottom is then at the top.
    std::string bottom;
    for (int i = 0; i < 200 && brows.Start() == first; ++i) {
      bottom = std::string(brows.GetLine(h.view->TopLine() + v - 1).text);
      h.view->Key(Qt::Key_PageDown);
    }
    ASSERT_NE(brows.Start(), first);
    EXPECT_EQ(brows.GetLine(h.view->TopLine()).text, bottom);
    // Up from the top loads the stretch before; the old top line is then one
    // line below the new top.
    h.ScrollTo(0);
    const std::string oldTop(brows.GetLine(0).text);
    h.view->Key(Qt::Key_Up);
    EXPECT_EQ(brows.GetLine(h.view->TopLine() + 1).text, oldTop);
    // The history keeps the stretch and the top line shown: back returns there.
    h.view->Key(Qt::Key_PageDown);
    h.view->Key(Qt::Key_PageDown);
    const int top = h.view->TopLine();
    const std::string topText(brows.GetLine(top).text);
    h.view->Show(ViewHarness::kRow, 2, 102);
    h.view->Back();
    EXPECT_EQ(h.view->TopLine(), top);
    EXPECT_EQ(brows.GetLine(top).text, topText);
  }
}

}  // namespace
}  // namespace morva
