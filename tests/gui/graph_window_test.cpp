// The image window: reading descriptors and pictures, the window's caption,
// menus, zoom and hot spots, its history, copying, printing and saving.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QImage>

#include "engine/book/tdisk.h"
#include "engine/book/text_utils.h"
#include "engine/text/unicode.h"
#include "tests/gui/windows_book.h"
#include "tests/support/recording_reporter.h"
#include "tests/support/test_dirs.h"
#include "tools/mkbook/page_file.h"
#include "view/graph_window/picture_data.h"
#include "view/graph_window/picture_history.h"
#include "view/graph_window/picture_widget.h"
#include "view/graph_window/tgraph_form.h"

namespace morva {
namespace {

std::string Marker(BookAddress at) { return Format("\x02\x2EG%08X%04X", at.page, at.offset); }

// The picture book open at bar entry 1, and the image window on it.
class GraphTest : public ::testing::Test {
 protected:
  static constexpr int kRow = 1;

  GraphTest() {
    book_ = testing::WritePictureBook(dir_ / "vol");
    BookBarEntry entry;
    entry.location = (dir_ / "vol").string();
    entry.subbook = 0;
    bar_ = {BookBarEntry{}, entry};
    disk_.SetBookList(&bar_);
    disk_.settings().scroll = false;
    EXPECT_TRUE(disk_.SelectSubbook(kRow));
    form_.onBeep = [this] { ++beeps_; };
    QObject::connect(&form_, &TGraphForm::textRequested,
                     [this](int row, BookAddress at) { shownText_.emplace_back(row, at); });
    form_.SetJumpColor(0x008000);
  }
  ~GraphTest() override { form_.hide(); }

  void ShowFirst() { form_.ShowImage(kRow, Marker(book_.descriptor1()), "\x01" + Sjis("地図")); }
  bool Enabled(const char* action) {
    return form_.findChild<QAction*>(QLatin1String(action))->isEnabled();
  }
  // Puts a descriptor alone in a page file, without a catalog.
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
  BookBar bar_;
  TDisk disk_{reporter_};
  testing::PictureBook book_;
  TGraphForm form_{disk_};
  int beeps_ = 0;
  std::vector<std::pair<int, BookAddress>> shownText_;
};

TEST_F(GraphTest, SeventeenPixelRowsAreWordAlignedAndInverted) {
  const std::vector<uint8_t> rows = ReadPictureRows(disk_, book_.picture2(), 17, 20);
  ASSERT_EQ(rows.size(), 4u * 20u);
  // Book row 0: 80 00 80 -> inverted 7F FF 7F, then the fill byte FF; row 1
  // has pixel 8.
  EXPECT_EQ(std::vector<uint8_t>(rows.begin(), rows.begin() + 6),
            (std::vector<uint8_t>{0x7F, 0xFF, 0x7F, 0xFF, 0xFF, 0x7F}));
  // Sizes outside 1..5000 and page 0 are not read.
  EXPECT_TRUE(ReadPictureRows(disk_, book_.picture2(), 5001, 1).empty());
  EXPECT_TRUE(ReadPictureRows(disk_, book_.picture2(), 17, 0).empty());
  EXPECT_TRUE(ReadPictureRows(disk_, {0, 0}, 17, 20).empty());
  EXPECT_FALSE(disk_.decoderState().refParamFlag);
}

TEST_F(GraphTest, AtMostTwentyTwoRegionsAndAnEndlessDescriptorStops) {
  mkbook::ImageDescriptor d;
  d.picture = {3, 0};
  d.width = d.height = 10;
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
  EXPECT_EQ(read.height, 20);
  EXPECT_FALSE(disk_.decoderState().refParamFlag);
}

// A descriptor link shows its picture with hot-spot marks in the link
// colour; 前の画像 with one entry beeps; copying puts the picture (its
// diagonal ink) on the clipboard, and the saved BMP reads back as it.
TEST_F(GraphTest, DescriptorLinkShowsPictureWithMarksCopiesAndSaves) {
  ShowFirst();
  EXPECT_TRUE(Enabled("TextRefer"));
  // The mark of hot spot (30, 40) is drawn to its left in the link colour.
  const QImage& marked = form_.markedPicture();
  bool green = false;
  for (int y = 28; y < 52 && !green; ++y)
    for (int x = 14; x < 38 && !green; ++x) green = (marked.pixel(x, y) & 0xFFFFFF) == 0x008000u;
  EXPECT_TRUE(green);

  form_.PrevImageClick();
  EXPECT_EQ(beeps_, 1);
  EXPECT_EQ(form_.history().Count(), 1);

  form_.Copy1Click();
  const QImage copied = QApplication::clipboard()->image();
  ASSERT_EQ(copied.size(), QSize(100, 100));
  EXPECT_EQ(copied.pixel(50, 50) & 0xFFFFFF, 0x000000u);
  EXPECT_EQ(copied.pixel(5, 90) & 0xFFFFFF, 0xFFFFFFu);

  const QString path = QString::fromStdString((dir_ / "picture").string());
  form_.saveFileName = [&](const QString&) { return path; };
  form_.SaveAs1Click();
  const std::string bytes = testing::ReadFile(dir_ / "picture.BMP");
  // One bit per pixel; 100 pixels: 13 bytes padded to 16 per row.
  ASSERT_EQ(bytes.size(), 62u + 16u * 100u);
  EXPECT_EQ(static_cast<uint8_t>(bytes[28]), 1);
  QImage read;
  ASSERT_TRUE(read.load(path + QStringLiteral(".BMP")));
  EXPECT_EQ(read.pixel(50, 50) & 0xFFFFFF, 0x000000u);  // the diagonal
  EXPECT_EQ(read.pixel(51, 50) & 0xFFFFFF, 0xFFFFFFu);
}

// At a quarter, (7, 10) on the screen is (28, 40) in the picture: the text
// hot spot shows its text in the main window. At twice the size, hot spot
// (70, 60) leads to the second picture, whose lone text hot spot stands in
// for its related text; 前の画像 and 次の画像 walk the history.
TEST_F(GraphTest, ZoomedHotSpotsLeadToTextAndPicturesAndTheHistoryIsWalked) {
  form_.SetZoom(25);
  ShowFirst();
  EXPECT_EQ(form_.image1()->size(), QSize(25, 25));
  form_.Image1MouseMove(7, 10);
  EXPECT_EQ(form_.image1()->cursor().shape(), Qt::PointingHandCursor);
  form_.Image1MouseDown(7, 10);
  EXPECT_EQ(shownText_, (std::vector{std::pair(kRow, book_.relatedText())}));

  form_.SetZoom(200);
  EXPECT_EQ(form_.image1()->size(), QSize(200, 200));
  form_.Image1MouseMove(68 * 2, 60 * 2);
  form_.Image1MouseDown(68 * 2, 60 * 2);
  EXPECT_EQ(form_.windowTitle(), QString::fromUtf8("地図 17×20"));
  EXPECT_TRUE(Enabled("PrevImage"));
  EXPECT_FALSE(Enabled("NextImage"));
  form_.TextReferClick();
  EXPECT_EQ(shownText_, (std::vector(2, std::pair(kRow, book_.relatedText()))));
  form_.PrevImageClick();
  EXPECT_EQ(form_.pictureAddress(), book_.picture1());
  EXPECT_EQ(form_.history().Count(), 1);
  form_.NextImageClick();
  EXPECT_EQ(form_.pictureAddress(), book_.picture2());
  EXPECT_EQ(beeps_, 0);
}

}  // namespace
}  // namespace morva
