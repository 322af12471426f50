// The image window: reading descriptors and pictures, the window's caption,
// menus, zoom and hot spots, its history, copying, printing and saving.
#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QFile>
#include <QImage>
#include <QPrinter>

#include "engine/text/unicode.h"
#include "tests/gui/windows_book.h"
#include "tools/mkbook/page_file.h"
#include "view/graph_window/picture_data.h"
#include "view/graph_window/picture_history.h"
#include "view/graph_window/picture_widget.h"
#include "view/graph_window/tgraph_form.h"

namespace morva {
namespace {

using testing::PictureBookTest;

std::string Marker(BookAddress at) { return Format("\x02\x2EG%08X%04X", at.page, at.offset); }
std::string LongMarker(BookAddress at, int w, int h) {
  return Format("\x02\x37G%08X%04X %04X%04X", at.page, at.offset, w, h);
}

// ---- Title, rows, descriptors ------------------------------------------------------

TEST(PictureData, TitleIsTheLinkTextWithoutExternalCharacters) {
  EXPECT_EQ(PictureTitle("abc\x01" + Sjis("地図") +
                         "\x0B"
                         "1\xA1\x21" +
                         Sjis("Ａ")),
            Sjis("地図Ａ"));
  // A title made only of external characters, or nothing at all.
  EXPECT_EQ(PictureTitle("\x01\x0B"
                         "1\xA1\x21\x0B"
                         "0\xA1\x22"),
            Sjis("画像"));
  EXPECT_EQ(PictureTitle(""), Sjis("画像"));
  // A marker before the text is passed over whole, not read as text.
  EXPECT_EQ(PictureTitle("\x02\x2ER000004D20005" + Sjis("図")), Sjis("図"));
  // At most 99 bytes, never half a character.
  std::string longText = "\x01" + std::string(60, 'a');
  for (int i = 0; i < 30; ++i) longText += Sjis("あ");
  const std::string t = PictureTitle(longText);
  EXPECT_LE(t.size(), 99u);
  EXPECT_EQ(t.size() % 2, 0u);
}

TEST_F(PictureBookTest, SeventeenPixelRowsAreWordAlignedAndInverted) {
  ASSERT_TRUE(disk_.SelectSubbook(kRow));
  const std::vector<uint8_t> rows = ReadPictureRows(disk_, book_.picture2(), 17, 20);
  ASSERT_EQ(rows.size(), 4u * 20u);
  // Book row 0: 80 00 80 -> inverted 7F FF 7F, then the fill byte FF.
  EXPECT_EQ(rows[0], 0x7F);
  EXPECT_EQ(rows[1], 0xFF);
  EXPECT_EQ(rows[2], 0x7F);
  EXPECT_EQ(rows[3], 0xFF);
  EXPECT_EQ(rows[4], 0xFF);
  EXPECT_EQ(rows[5], 0x7F);  // pixel 8 of row 1
  EXPECT_EQ(PictureRowBytes(17), 4);
  EXPECT_EQ(PictureRowBytes(16), 2);
  // Sizes outside 1..5000 and page 0 are not read.
  EXPECT_TRUE(ReadPictureRows(disk_, book_.picture2(), 5001, 1).empty());
  EXPECT_TRUE(ReadPictureRows(disk_, book_.picture2(), 17, 0).empty());
  EXPECT_TRUE(ReadPictureRows(disk_, {0, 0}, 17, 20).empty());
  EXPECT_FALSE(disk_.decoderState().refParamFlag);
}

TEST_F(PictureBookTest, DescriptorRegionsAndTheirDefaults) {
  ASSERT_TRUE(disk_.SelectSubbook(kRow));
  const ImageDescriptor d1 = ReadImageDescriptor(disk_, book_.descriptor1());
  EXPECT_EQ(d1.picture, book_.picture1());
  EXPECT_EQ(d1.width, 100);
  EXPECT_EQ(d1.height, 100);
  EXPECT_EQ(d1.regions.count, 4);
  EXPECT_EQ(d1.regions.RelatedText().target, book_.relatedText());
  EXPECT_EQ(d1.regions.NextPicture().target, book_.descriptor2());
  EXPECT_EQ(d1.regions.entries[2].x, 30);
  EXPECT_EQ(d1.regions.entries[2].kind, 0);
  EXPECT_EQ(d1.regions.entries[3].target, book_.descriptor2());
  EXPECT_EQ(d1.regions.entries[3].kind, 1);
  EXPECT_FALSE(disk_.decoderState().refParamFlag);

  // A single text hot spot and no related-text item: the hot spot stands in.
  const ImageDescriptor d2 = ReadImageDescriptor(disk_, book_.descriptor2());
  EXPECT_EQ(d2.width, 17);
  EXPECT_EQ(d2.regions.count, 3);
  EXPECT_EQ(d2.regions.RelatedText().target, book_.relatedText());
  EXPECT_TRUE(d2.regions.NextPicture().Empty());
}

// A descriptor alone in a page file, without a catalog.
class DescriptorTest : public ::testing::Test {
 protected:
  void Load(const mkbook::BodyText& text) {
    mkbook::PageFile file(1);
    file.Write({1, 0}, text.Bytes());
    testing::WriteFile(dir_ / "honmon", file.Bytes());
    disk_.CloseBookFile();  // forgets the page read from the old file
    disk_.BodyFiles().Clear();
    disk_.BodyFiles().Add((dir_ / "honmon").string(), 1);
    disk_.SetMultiFile(true);
  }
  testing::TempDir dir_;
  testing::RecordingReporter reporter_;
  TDisk disk_{reporter_};
};

TEST_F(DescriptorTest, AtMostTwentyTwoRegionsAndAnEndlessDescriptorStops) {
  mkbook::ImageDescriptor d;
  d.picture = {3, 0};
  d.width = 10;
  d.height = 10;
  for (int i = 0; i < 25; ++i) d.hotSpots.push_back({i, i, {4, i}, i % 2 == 0});
  mkbook::BodyText text({1, 0});
  mkbook::WriteImageDescriptor(text, d);
  Load(text);
  ImageDescriptor read = ReadImageDescriptor(disk_, {1, 0});
  EXPECT_EQ(read.regions.count, PictureRegions::kMaxEntries);
  EXPECT_EQ(read.regions.entries[21].target, (BookAddress{4, 19}));
  // Many hot spots of each kind: entries 0 and 1 stay empty.
  EXPECT_TRUE(read.regions.RelatedText().Empty());
  EXPECT_TRUE(read.regions.NextPicture().Empty());

  // Without its end item the reading ends with the data.
  mkbook::BodyText cut({1, 0});
  cut.Escape(0x51, mkbook::BcdAddress({3, 0}))
      .Escape(0x31, std::string("\x00\x00\x00\x10\x00\x20", 6));
  Load(cut);
  read = ReadImageDescriptor(disk_, {1, 0});
  EXPECT_EQ(read.picture, (BookAddress{3, 0}));
  EXPECT_EQ(read.width, 10);
  EXPECT_EQ(read.height, 20);
  EXPECT_FALSE(disk_.decoderState().refParamFlag);
}

TEST(PictureHistory, TitlesAreCutToTwentyBytesAndTenEntriesKept) {
  PictureHistory h;
  h.Push(1, {2, 3}, Sjis("とても長い画像の題名です"));
  EXPECT_EQ(h.Pop()->title, Sjis("とても長い画像の題名"));
  for (int i = 0; i < 12; ++i) h.Push(1, {i + 1, 0}, std::to_string(i));
  EXPECT_EQ(h.Count(), 10);
  EXPECT_EQ(h.Pop()->title, "11");
  EXPECT_EQ(h.Pop()->at.page, 11);
}

TEST(PictureData, HotSpotBoxIsExclusive) {
  PictureRegions r;
  r.entries[2] = {{5, 0}, 30, 40, 0};
  r.count = 3;
  // The spot (30, 40) answers inside (10..34) x (31..49), exclusive.
  const int inside[][2] = {{11, 40}, {33, 48}},
            outside[][2] = {{10, 40}, {34, 40}, {20, 31}, {20, 49}};
  for (const auto& p : inside) EXPECT_EQ(r.HotSpotAt(p[0], p[1]), 2) << p[0] << "," << p[1];
  for (const auto& p : outside) EXPECT_EQ(r.HotSpotAt(p[0], p[1]), 0) << p[0] << "," << p[1];
}

// ---- The window --------------------------------------------------------------

class GraphFormTest : public PictureBookTest {
 protected:
  GraphFormTest() {
    form_.onBeep = [this] { ++beeps_; };
    QObject::connect(&form_, &TGraphForm::textRequested,
                     [this](int row, BookAddress at) { shownText_.emplace_back(row, at); });
    QObject::connect(&form_, &TGraphForm::statusCleared, [this] { ++statusClears_; });
    form_.SetJumpColor(0x008000);
  }
  ~GraphFormTest() override { form_.hide(); }

  void ShowFirst() { form_.ShowImage(kRow, Marker(book_.descriptor1()), "\x01" + Sjis("地図")); }

  TGraphForm form_{disk_};
  int beeps_ = 0;
  int statusClears_ = 0;
  std::vector<std::pair<int, BookAddress>> shownText_;
};

TEST_F(GraphFormTest, DescriptorLinkShowsPictureWithCaptionMenusAndMarks) {
  ShowFirst();
  EXPECT_TRUE(form_.isVisible());
  EXPECT_EQ(form_.windowTitle(), QString::fromUtf8("地図 100×100"));
  EXPECT_EQ(statusClears_, 1);
  EXPECT_EQ(form_.picture().format(), QImage::Format_Mono);
  EXPECT_EQ(form_.picture().size(), QSize(100, 100));
  // The diagonal is ink, the rest paper.
  EXPECT_EQ(form_.picture().pixel(5, 5) & 0xFFFFFF, 0x000000u);
  EXPECT_EQ(form_.picture().pixel(5, 90) & 0xFFFFFF, 0xFFFFFFu);
  auto enabled = [this](const char* name) {
    return form_.findChild<QAction*>(QLatin1String(name))->isEnabled();
  };
  EXPECT_TRUE(enabled("TextRefer"));
  EXPECT_TRUE(enabled("NextImage"));
  EXPECT_FALSE(enabled("PrevImage"));
  // The mark of hot spot (30, 40) is drawn to its left in the link colour.
  const QImage& marked = form_.markedPicture();
  bool green = false;
  for (int y = 28; y < 52 && !green; ++y)
    for (int x = 14; x < 38 && !green; ++x) green = (marked.pixel(x, y) & 0xFFFFFF) == 0x008000u;
  EXPECT_TRUE(green);
  EXPECT_EQ(form_.history().Count(), 1);
}

TEST_F(GraphFormTest, ZoomQuarterScalesTheImageAndStillFindsHotSpots) {
  form_.SetZoom(25);
  ShowFirst();
  EXPECT_EQ(form_.image1()->size(), QSize(25, 25));
  EXPECT_TRUE(form_.findChild<QAction*>(QStringLiteral("Z25"))->isChecked());
  EXPECT_FALSE(form_.findChild<QAction*>(QStringLiteral("Z100"))->isChecked());
  // (7, 10) on the screen is (28, 40) in the picture: hot spot 2.
  form_.Image1MouseMove(7, 10);
  EXPECT_EQ(form_.hoveredHotSpot(), 2);
  EXPECT_EQ(form_.image1()->cursor().shape(), Qt::PointingHandCursor);
  form_.Image1MouseMove(1, 1);
  EXPECT_EQ(form_.hoveredHotSpot(), 0);
  EXPECT_EQ(form_.image1()->cursor().shape(), Qt::ArrowCursor);
  // A text hot spot shows its text in the main window.
  form_.Image1MouseMove(7, 10);
  form_.Image1MouseDown(7, 10);
  ASSERT_EQ(shownText_.size(), 1u);
  EXPECT_EQ(shownText_[0].first, kRow);
  EXPECT_EQ(shownText_[0].second, book_.relatedText());
  form_.SetZoom(100);
  EXPECT_EQ(form_.image1()->size(), QSize(100, 100));
}

TEST_F(GraphFormTest, PictureHotSpotNextAndPreviousPictures) {
  int zoomStored = 0;
  QObject::connect(&form_, &TGraphForm::zoomChanged, [&](int z) { zoomStored = z; });
  form_.SetZoom(200);
  EXPECT_EQ(zoomStored, 200);
  ShowFirst();
  // Hot spot (70, 60) leads to the second picture's descriptor.
  form_.Image1MouseMove(68 * 2, 60 * 2);
  ASSERT_EQ(form_.hoveredHotSpot(), 3);
  form_.Image1MouseDown(68 * 2, 60 * 2);
  EXPECT_EQ(form_.pictureWidth(), 17);
  EXPECT_EQ(form_.windowTitle(), QString::fromUtf8("地図 17×20"));
  EXPECT_EQ(form_.history().Count(), 2);
  EXPECT_TRUE(form_.findChild<QAction*>(QStringLiteral("PrevImage"))->isEnabled());
  EXPECT_FALSE(form_.findChild<QAction*>(QStringLiteral("NextImage"))->isEnabled());
  form_.TextReferClick();
  ASSERT_EQ(shownText_.size(), 1u);
  EXPECT_EQ(shownText_[0].second, book_.relatedText());

  form_.PrevImageClick();
  EXPECT_EQ(beeps_, 0);
  EXPECT_EQ(form_.pictureWidth(), 100);
  EXPECT_EQ(form_.pictureAddress(), book_.picture1());
  EXPECT_EQ(form_.history().Count(), 1);
  form_.NextImageClick();
  EXPECT_EQ(form_.pictureAddress(), book_.picture2());
  EXPECT_EQ(form_.history().Count(), 2);
}

TEST_F(GraphFormTest, PreviousPictureWithOneEntryBeeps) {
  ShowFirst();
  form_.PrevImageClick();
  EXPECT_EQ(beeps_, 1);
  EXPECT_EQ(form_.pictureWidth(), 100);
  EXPECT_EQ(form_.history().Count(), 1);
}

TEST_F(GraphFormTest, InlinePictureIsReadDirectlyAndNotRecorded) {
  form_.ShowImage(kRow, LongMarker(book_.picture2(), 17, 20), "\x01[" + Sjis("図") + "]");
  EXPECT_EQ(form_.windowTitle(), QString::fromUtf8("[図] 17×20"));
  EXPECT_EQ(form_.history().Count(), 0);
  EXPECT_EQ(form_.regions().count, 2);
  EXPECT_FALSE(form_.findChild<QAction*>(QStringLiteral("TextRefer"))->isEnabled());
  // A picture of an impossible size keeps the previous one.
  form_.ShowImage(kRow, LongMarker(book_.picture1(), 6000, 20), "\x01x");
  EXPECT_EQ(form_.picture().width(), 17);
}

TEST_F(GraphFormTest, CopyPutsTheMarkedPictureOnTheClipboard) {
  int own = 0;
  QObject::connect(&form_, &TGraphForm::clipboardAboutToChange, [&] { ++own; });
  ShowFirst();
  form_.Copy1Click();
  EXPECT_EQ(own, 1);
  const QImage copied = QApplication::clipboard()->image();
  ASSERT_FALSE(copied.isNull());
  EXPECT_EQ(copied.size(), QSize(100, 100));
  EXPECT_EQ(copied.pixel(50, 50) & 0xFFFFFF, 0x000000u);
}

TEST_F(GraphFormTest, SavedBmpReadsBackAsTheShownPicture) {
  ShowFirst();
  const QString path = QString::fromStdString((dir_ / "picture").string());
  QString filter;
  form_.saveFileName = [&](const QString& f) {
    filter = f;
    return path;
  };
  form_.SaveAs1Click();
  EXPECT_EQ(filter, QString::fromUtf8("BMP - Windows ﾋﾞｯﾄﾏｯﾌﾟ|*.BMP"));
  const std::string bytes = testing::ReadFile(dir_ / "picture.BMP");
  ASSERT_GT(bytes.size(), 62u);
  EXPECT_EQ(bytes.substr(0, 2), "BM");
  EXPECT_EQ(static_cast<uint8_t>(bytes[28]), 1);  // bits per pixel
  // 100 pixels: 13 bytes padded to 16 per row.
  EXPECT_EQ(bytes.size(), 62u + 16u * 100u);
  QImage read;
  ASSERT_TRUE(read.load(path + QStringLiteral(".BMP")));
  ASSERT_EQ(read.size(), QSize(100, 100));
  const QImage& shown = form_.markedPicture();
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x) {
      const bool white = (shown.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF;
      ASSERT_EQ((read.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF, white) << x << "," << y;
    }
}

TEST_F(GraphFormTest, PrintsToAPdfFile) {
  ShowFirst();
  const QString path = QString::fromStdString((dir_ / "picture.pdf").string());
  form_.preparePrinter = [&](QPrinter& printer) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    return true;
  };
  form_.Print1Click();
  const std::string pdf = testing::ReadFile(dir_ / "picture.pdf");
  ASSERT_GT(pdf.size(), 100u);
  EXPECT_EQ(pdf.substr(0, 4), "%PDF");
  // A cancelled print dialog prints nothing.
  QFile::remove(path);
  form_.preparePrinter = [](QPrinter&) { return false; };
  form_.Print1Click();
  EXPECT_FALSE(QFile::exists(path));
}

}  // namespace
}  // namespace morva
