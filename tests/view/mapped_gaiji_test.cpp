// External characters on screen: a character the book's Unicode map has is
// drawn as text and copied as that character; an unmapped one is drawn from
// its bitmap, smoothly scaled to the device's pixels.
#include <gtest/gtest.h>

#include <QPainter>
#include <QPixmap>
#include <set>

#include "engine/text/unicode.h"
#include "tests/view/layout_fixture.h"
#include "tests/view/view_fixture.h"

namespace morva {
namespace {

using testing::Gaiji;
using testing::J;
using testing::ViewHarness;

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
  h.ShowMarked("ab" + Gaiji(true, 0xA121) + "cd" + Gaiji(false, 0xA121) + Gaiji(true, 0xA122) +
               "\n");
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
  h.ShowMarked(Gaiji(true, 0xA121) + "\n");
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
