// A book with pictures for the tests of the image, dump and editor windows,
// written by mkbook into a temporary directory: one sub-book whose body holds
// an entry with a picture link and an inline picture, the related text of the
// pictures, two image descriptors and the picture data at fixed places.
//
//   page B      entry: headword 図入り, a link "地図" to descriptor 1, an
//               inline picture "図" (picture 2), the text 本文
//   page B+1    related text entry (headword 関連, text 関連する本文)
//   page B+2    descriptor 1 at offset 0: picture 1 (100 x 100), related
//               text, next picture = descriptor 2, hot spots (30,40) -> text
//               and (70,60) -> descriptor 2; descriptor 2 at offset 512:
//               picture 2 (17 x 20), one text hot spot (10,10)
//   page B+3    picture 1 data (diagonal line)
//   page B+4    picture 2 data (first row: pixels 0 and 16 black)
//   page B+5    headings of the entries (見出し一, 見出し二 with an external
//               character), each ended by a new line
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/book/book_list.h"
#include "engine/book/tdisk.h"
#include "engine/book/text_utils.h"
#include "tests/support/recording_reporter.h"
#include "tests/support/test_dirs.h"
#include "tools/mkbook/body_text.h"
#include "tools/mkbook/image.h"
#include "tools/mkbook/index_page.h"
#include "tools/mkbook/jis_text.h"
#include "tools/mkbook/subbook_pages.h"
#include "tools/mkbook/volume.h"

namespace morva::testing {

struct PictureBook {
  int32_t bodyPage = 0;
  BookAddress entry() const { return {bodyPage, 0}; }
  BookAddress relatedText() const { return {bodyPage + 1, 0}; }
  BookAddress descriptor1() const { return {bodyPage + 2, 0}; }
  BookAddress descriptor2() const { return {bodyPage + 2, 512}; }
  BookAddress picture1() const { return {bodyPage + 3, 0}; }
  BookAddress picture2() const { return {bodyPage + 4, 0}; }
  BookAddress heading1() const { return {bodyPage + 5, 0}; }
  BookAddress heading2() const { return {bodyPage + 5, 256}; }
};

// The second picture: 17 pixels wide, 20 high; row 0 has pixels 0 and 16
// black, row 1 pixel 8.
inline mkbook::Picture SecondPicture() {
  mkbook::Picture p(17, 20);
  p.Set(0, 0);
  p.Set(16, 0);
  p.Set(8, 1);
  return p;
}

inline mkbook::Picture FirstPicture() {
  mkbook::Picture p(100, 100);
  for (int i = 0; i < 100; ++i) p.Set(i, i);
  return p;
}

// Writes the volume with catalogs into root.
inline PictureBook WritePictureBook(const std::filesystem::path& root,
                                    const std::string& sourceTitle = "画像テスト") {
  using namespace mkbook;
  PictureBook book;
  SubbookPages pages;
  book.bodyPage = pages.NextFreePage();

  BodyText body(book.entry());
  body.Indent(1).Headword("図入り").Newline();
  body.Indent(2).BeginReference().Text("地図").EndPictureReference(book.descriptor1());
  body.Text("と");
  WriteInlinePicture(body, "図", SecondPicture(), book.picture2());
  body.Newline().Text("本文").Newline();
  pages.AddSection(index_code::kBody, body.Bytes());

  BodyText related(book.relatedText());
  related.Indent(1).Headword("関連").Newline().Indent(2).Text("関連する本文").Newline().EndText();

  ImageDescriptor d1;
  d1.picture = book.picture1();
  d1.width = 100;
  d1.height = 100;
  d1.relatedText = book.relatedText();
  d1.nextPicture = book.descriptor2();
  d1.hotSpots = {{30, 40, book.relatedText(), false}, {70, 60, book.descriptor2(), true}};
  BodyText desc1(book.descriptor1());
  WriteImageDescriptor(desc1, d1);

  ImageDescriptor d2;
  d2.picture = book.picture2();
  d2.width = 17;
  d2.height = 20;
  d2.hotSpots = {{10, 10, book.relatedText(), false}};
  d2.positionCode = 0x42;
  BodyText desc2(book.descriptor2());
  WriteImageDescriptor(desc2, d2);

  BodyText head1(book.heading1());
  head1.Text("見出し一").Newline();
  BodyText head2(book.heading2());
  head2.Text("見出し二").Gaiji(0xA121).Newline();

  PageFile& file = pages.file();
  file.Write(book.relatedText(), related.Bytes());
  file.Write(book.descriptor1(), desc1.Bytes());
  file.Write(book.descriptor2(), desc2.Bytes());
  file.Write(book.picture1(), FirstPicture().Bytes());
  file.Write(book.picture2(), SecondPicture().Bytes());
  file.Write(book.heading1(), head1.Bytes());
  file.Write(book.heading2(), head2.Bytes());

  Subbook s;
  s.record.title = JisFromUtf8(sourceTitle);
  s.record.directory = "pics";
  s.body = pages.Build();
  Volume volume(CatalogLayout::kCatalogs);
  volume.AddSubbook(std::move(s));
  volume.WriteTo(root);
  return book;
}

// A TDisk on the picture book: the bar holds the leading separator and the
// book at entry 1.
class PictureBookTest : public ::testing::Test {
 protected:
  static constexpr int kRow = 1;

  PictureBookTest() {
    book_ = WritePictureBook(dir_ / "vol");
    BookBarEntry separator;
    BookBarEntry entry;
    entry.shortName = "pics";
    entry.location = (dir_ / "vol").string();
    entry.subbook = 0;
    bar_ = {separator, entry};
    disk_.SetBookList(&bar_);
    disk_.settings().scroll = false;
  }

  TempDir dir_;
  RecordingReporter reporter_;
  BookBar bar_;
  TDisk disk_{reporter_};
  PictureBook book_;
};

}  // namespace morva::testing
