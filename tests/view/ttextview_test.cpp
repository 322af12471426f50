// The content view on the offscreen platform: colours of headings, links and
// selected external characters in grabbed pictures, whole-line scrolling,
// the lines repainted by one-line scrolls, scroll-bar clicks and drags,
// keyboard paging in continuous display, the back history, and external
// characters drawn from the book's Unicode map or from scaled bitmaps.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QPixmap>
#include <set>

#include "engine/book/text_utils.h"
#include "tests/view/layout_fixture.h"
#include "tests/view/view_fixture.h"

namespace morva {
namespace {

using testing::CountNear;
using testing::J;
using testing::Link;
using testing::Repeat;
using testing::ViewHarness;

const QColor kBlue(0, 0, 255);
const QColor kGreen(0, 192, 0);
const QColor kBlack(0, 0, 0);
const QColor kWhite(255, 255, 255);

std::string NumberedLines(int n) {
  std::string text;
  for (int i = 0; i < n; ++i) text += Format("line %d\n", i);
  return text;
}

TEST(TextViewPaintTest, HeadingsLinksSelectionAndExternalCharactersHaveTheirColours) {
  ViewHarness h;
  ASSERT_TRUE(h.selected);
  // A heading long enough to wrap, then a link line.
  const std::string heading = Repeat(J("みだし"), 12);
  h.ShowMarked("\x03" + heading + "\x04\n" + Link(J("リンク"), 1, 0) + " text\n");
  ASSERT_GE(h.view->LineCount(), 3);
  const int lh = h.view->LineHeight();
  const int w = h.pane.viewport()->width();
  QImage image = h.Grab();
  // Both heading lines in the title colour, with no plain text colour.
  for (int line : {0, 1}) {
    EXPECT_GT(CountNear(image, QRect(0, line * lh, w, lh), kBlue), 20) << line;
    EXPECT_EQ(CountNear(image, QRect(0, line * lh, w, lh), kBlack), 0) << line;
  }
  const int linkLine = h.view->LineCount() - 1;
  const QRect linkBand(0, linkLine * lh, w, lh);
  EXPECT_GT(CountNear(image, linkBand, kGreen), 20);
  EXPECT_GT(CountNear(image, linkBand, kBlack), 5);  // " text" after the marker
  // Selected link text: back colour on the link colour.
  h.view->Select({linkLine, 0}, {linkLine, 5});
  h.Process();
  const QRect selected(4, linkLine * lh + 2, 2 * h.fonts.Set(0).cw, lh - 4);
  EXPECT_GT(CountNear(h.Grab(), selected, kGreen), selected.width() * selected.height() / 2);

  // TITLECOLOR=OFF paints headings in the text colour.
  h.disk.info().titleColor = false;
  h.ShowMarked("\x03" + heading + "\x04\n", 2);
  image = h.Grab();
  EXPECT_EQ(CountNear(image, QRect(0, lh, w, lh), kBlue), 0);
  EXPECT_GT(CountNear(image, QRect(0, lh, w, lh), kBlack), 20);

  // The demo book's full-width character 0xA121 is a circled one, scaled
  // smoothly: ink is what is nearer black than white. Selected, it is
  // reversed: the cell mostly the text colour, the ink in the back colour.
  h.ShowMarked("ab" + testing::Gaiji(true, 0xA121) + "cd\n", 3);
  const QRect cell(4 + 2 * h.fonts.Set(0).cw, 0, 16, 16);
  const int inkPlain = CountNear(h.Grab(), cell, kBlack, 382);
  EXPECT_GT(inkPlain, 10);
  EXPECT_LT(inkPlain, cell.width() * cell.height() / 2);
  h.view->SelectAll();
  h.Process();
  image = h.Grab();
  EXPECT_GT(CountNear(image, cell, kBlack), cell.width() * cell.height() / 2);
  EXPECT_GT(CountNear(image, cell, kWhite, 382), 10);
}

TEST(TextViewScrollTest, WholeLinesOneLineRepaintsPagingAndClearing) {
  ViewHarness h;
  h.ShowMarked(NumberedLines(100));
  const int lh = h.view->LineHeight();
  const int v = h.view->VisibleLines();
  ASSERT_GT(v, 5);
  // Scroll positions snap to whole lines.
  h.bar_()->setValue(3 * lh + 5);
  h.Process();
  EXPECT_EQ(h.bar_()->value(), 4 * lh);
  h.bar_()->setValue(h.bar_()->maximum() - 3);
  h.Process();
  EXPECT_EQ(h.view->TopLine(), 100 - v);
  // A one-line scroll repaints one or two lines, and what is on screen then
  // is what a full repaint gives.
  h.bar_()->setValue(0);
  h.Process();
  h.view->ResetLinesPainted();
  h.view->Key(Qt::Key_Down);
  h.Process();
  EXPECT_EQ(h.view->TopLine(), 1);
  EXPECT_GE(h.view->LinesPainted(), 1);
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
  h.bar_()->setValue(0);
  h.Process();
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
}

TEST(TextViewScrollTest, ThumbDragOverALargeRangeReachesTheEnd) {
  // 5,000 lines of 18 pixels: a range of 90,000 pixels.
  ViewSettings settings = testing::TestSettings();
  settings.font0.textSize = 16;  // 17 pixels high
  settings.lineSpace = 1;
  ViewHarness h(settings);
  h.ShowMarked(NumberedLines(5000));
  const int lh = h.view->LineHeight();
  EXPECT_EQ(lh, 18);
  ASSERT_GT(h.bar_()->maximum(), 65536 + 10 * lh);
  QScrollBar* bar = h.bar_();
  bar->setSliderDown(true);
  bar->setSliderPosition(bar->maximum());
  bar->setSliderDown(false);
  h.Process();
  EXPECT_EQ(h.view->TopLine(), 5000 - h.view->VisibleLines());
  const QImage shown = h.Grab();
  h.pane.viewport()->update();
  h.Process();
  EXPECT_EQ(shown, h.Grab());
}

TEST(TextViewHistoryTest, ElevenShowsKeepTenAndBackEmptiesTheRing) {
  ViewHarness h;
  for (int page = 1; page <= 12; ++page) h.ShowMarked(NumberedLines(3), page);
  EXPECT_EQ(h.view->history().Count(), 10);
  EXPECT_TRUE(h.backStates.back());
  for (int page = 11; page >= 2; --page) {
    h.view->Back();
    EXPECT_EQ(h.view->ShownAddress().page, page);
  }
  EXPECT_FALSE(h.backStates.back());
  EXPECT_EQ(h.beeps, 0);
  h.view->Back();
  EXPECT_EQ(h.beeps, 1);
  EXPECT_EQ(h.view->ShownAddress().page, 2);
  // Page 0 (the copyright page) is never recorded.
  h.ShowMarked("copyright\n", 0);
  h.ShowMarked("entry\n", 7);
  EXPECT_EQ(h.view->history().Count(), 1);
}

TEST(TextViewContinuousTest, PagingAcrossStretchesKeepsTheText) {
  MORVA_REQUIRE_SHARED_BOOKS();
  ViewSettings settings = testing::TestSettings();
  settings.scroll = true;
  ViewHarness h(settings, {500, 400}, testing::SharedBooks() / "edict-small");
  ASSERT_TRUE(h.selected);
  // Far enough into the body that a stretch before it exists.
  h.view->Show(ViewHarness::kRow, 100, 306);
  h.Process();
  ASSERT_GT(h.view->LineCount(), 0);
  ASSERT_GT(h.view->TargetLine(), 0);
  const BookAddress first = h.view->brows().Start();
  const int v = h.view->VisibleLines();
  // Page down until the next stretch is loaded; the line that was at the
  // bottom is then at the top.
  std::string bottom;
  for (int i = 0; i < 200 && h.view->brows().Start() == first; ++i) {
    bottom = std::string(h.view->brows().GetLine(h.view->TopLine() + v - 1).text);
    h.view->Key(Qt::Key_PageDown);
  }
  ASSERT_NE(h.view->brows().Start(), first);
  EXPECT_EQ(h.view->brows().GetLine(h.view->TopLine()).text, bottom);
  // Up from the top loads the stretch before; the old top line is then one
  // line below the new top.
  h.bar_()->setValue(0);
  h.Process();
  const std::string oldTop(h.view->brows().GetLine(0).text);
  h.view->Key(Qt::Key_Up);

  EXPECT_EQ(h.view->brows().GetLine(h.view->TopLine() + 1).text, oldTop);

  // The history keeps the stretch and the top line shown: back returns there.
  h.view->Key(Qt::Key_PageDown);
  h.view->Key(Qt::Key_PageDown);
  const int top = h.view->TopLine();
  const std::string topText(h.view->brows().GetLine(top).text);
  h.view->Show(ViewHarness::kRow, 2, 102);
  h.view->Back();
  EXPECT_EQ(h.view->TopLine(), top);
  EXPECT_EQ(h.view->brows().GetLine(top).text, topText);
}

// Damaged marked text (random bytes rich in control codes, markers cut short,
// lead bytes at line ends) is laid out, painted, selected, copied and searched
// without reading outside the line texts.
TEST(TextViewDamageTest, RandomMarkedTextIsHandledSafely) {
  ViewHarness h;
  uint32_t seed = 12345;
  for (int round = 0; round < 20; ++round) {
    std::string text;
    for (int i = 0; i < 3000; ++i) {
      seed = seed * 1103515245u + 12345u;
      const auto b = static_cast<uint8_t>(seed >> 16);
      text += static_cast<char>(b == 0 ? 0x20 : b < 0x60 ? b & 0x1F : b);  // many control codes
    }
    h.ShowMarked(text, round + 1);
    for (int i = 0; i < h.view->LineCount(); ++i)
      ASSERT_LE(h.view->brows().GetLine(i).text.size(), 299u);
    h.view->SelectAll();
    h.Grab();
    h.view->SelectionText(false);
    h.view->SetAnchor({0, 0});
    h.view->Find(std::string("\x81\x40") + "a", false);
    h.view->SetAnchor({h.view->LineCount() / 2, 3});
    h.view->DoubleClick();
    h.view->Key(Qt::Key_PageDown);
    h.view->HitTest(100, 50, false);
  }
}

// External characters the book's Unicode map has are drawn as text and
// copied as those characters; unmapped ones are drawn from their bitmaps,
// smoothly scaled to the device's pixels.
// The harness's demo book, reopened with the map text beside the volume.
void UseMap(ViewHarness& h, const std::string& mapText) {
  const std::filesystem::path subbook(h.disk.subbook().subbookDirectory);
  const std::filesystem::path volume = std::filesystem::path(h.disk.VolumeRoot());
  testing::WriteFile((volume / (subbook.filename().string() + ".map")).string(), mapText);
  h.disk.settings().unicodeMaps = true;
  h.disk.ForgetCurrentSubbook();
  ASSERT_TRUE(h.disk.SelectSubbook(ViewHarness::kRow));
}

QImage LineImage(ViewHarness& h) { return h.Grab().copy(0, 0, 200, h.view->LineHeight()); }

// Malformed lines are skipped with one warning naming the file and line.
TEST(MappedGaijiTest, MappedCharacterIsDrawnAsTextAndCopiedAsThatCharacter) {
  ViewHarness h;
  UseMap(h, "# demo\nzA121\tu3042\nbad line\nhA121\t-\t[o]\nzA122\tu00E9,u0301\nzA123\tuXYZ\n");
  ASSERT_EQ(h.reporter.boxes().size(), 1u);
  EXPECT_NE(h.reporter.boxes()[0].Utf8().find(".map:3:"), std::string::npos);
  h.ShowMarked("ab" + J("あ") + "cd\n");
  const QImage asText = LineImage(h);
  h.ShowMarked("ab" + testing::Gaiji(true, 0xA121) + "cd" + testing::Gaiji(false, 0xA121) +
               testing::Gaiji(true, 0xA122) + "\n");
  const QRect abAcd(0, 0, 6 * h.fonts.Set(0).cw, asText.height());
  EXPECT_EQ(LineImage(h).copy(abAcd), asText.copy(abAcd));
  h.view->SelectAll();
  h.view->CopySelection();
  // The "-" entry keeps its bitmap on screen and copies its replacement text;
  // characters outside Shift-JIS reach the clipboard.
  ASSERT_FALSE(h.clipboard.utf8Texts.empty());
  EXPECT_EQ(h.clipboard.utf8Texts.back(), "abあcd[o]\u00E9\u0301");
}

TEST(MappedGaijiTest, BitmapsAreScaledSmoothlyToTheDevicePixels) {
  ViewHarness h;
  h.ShowMarked(testing::Gaiji(true, 0xA121) + "\n");
  // Painted on a device of pixel ratio 2, the 16-dot bitmap fills twice the
  // pixels with grey steps at its edges rather than doubled blocks.
  QPixmap device(h.pane.viewport()->size() * 2);
  device.setDevicePixelRatio(2);
  device.fill(Qt::white);
  h.pane.viewport()->render(&device);
  const QImage image = device.toImage().convertToFormat(QImage::Format_RGB32);
  std::set<int> greys;
  int ink = 0;
  const int cell = 2 * h.view->LineHeight();
  for (int y = 0; y < cell; ++y)
    for (int x = 0; x < 2 * cell + 16; ++x) {
      const int grey = qGray(image.pixel(x, y));
      greys.insert(grey);
      ink += grey < 128;
    }
  EXPECT_GT(ink, 40);
  EXPECT_GT(greys.size(), 4u);
}

}  // namespace
}  // namespace morva
