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

#include <filesystem>
#include <string>

#include "engine/book/book_list.h"
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

// Writes the volume with catalogs into root.
inline PictureBook WritePictureBook(const std::filesystem::path& root) {
  using namespace mkbook;
  PictureBook book;
  // Picture 1 is a diagonal line; picture 2 has pixels 0 and 16 of row 0 and
  // pixel 8 of row 1 black.
  Picture first(100, 100);
  for (int i = 0; i < 100; ++i) first.Set(i, i);
  Picture second(17, 20);
  for (const auto& [x, y] : {std::pair{0, 0}, {16, 0}, {8, 1}}) second.Set(x, y);
  SubbookPages pages;
  book.bodyPage = pages.NextFreePage();

  BodyText body(book.entry());
  body.Indent(1).Headword("図入り").Newline();
  body.Indent(2).BeginReference().Text("地図").EndPictureReference(book.descriptor1());
  body.Text("と");
  WriteInlinePicture(body, "図", second, book.picture2());
  body.Newline().Text("本文").Newline();
  pages.AddSection(index_code::kBody, body.Bytes());

  BodyText related(book.relatedText());
  related.Indent(1).Headword("関連").Newline().Indent(2).Text("関連する本文").Newline().EndText();

  BodyText desc1(book.descriptor1());
  WriteImageDescriptor(desc1, {.picture = book.picture1(),
                               .width = 100,
                               .height = 100,
                               .relatedText = book.relatedText(),
                               .nextPicture = book.descriptor2(),
                               .hotSpots = {{30, 40, book.relatedText(), false},
                                            {70, 60, book.descriptor2(), true}}});
  BodyText desc2(book.descriptor2());
  WriteImageDescriptor(desc2, {.picture = book.picture2(),
                               .width = 17,
                               .height = 20,
                               .relatedText = {},
                               .nextPicture = {},
                               .hotSpots = {{10, 10, book.relatedText(), false}},
                               .positionCode = 0x42});
  BodyText head1(book.heading1());
  head1.Text("見出し一").Newline();
  BodyText head2(book.heading2());
  head2.Text("見出し二").Gaiji(0xA121).Newline();

  PageFile& file = pages.file();
  file.Write(book.relatedText(), related.Bytes());
  file.Write(book.descriptor1(), desc1.Bytes());
  file.Write(book.descriptor2(), desc2.Bytes());
  file.Write(book.picture1(), first.Bytes());
  file.Write(book.picture2(), second.Bytes());
  file.Write(book.heading1(), head1.Bytes());
  file.Write(book.heading2(), head2.Bytes());

  mkbook::Subbook s;
  s.record.title = JisFromUtf8("画像テスト");
  s.record.directory = "pics";
  s.body = pages.Build();
  Volume volume(CatalogLayout::kCatalogs);
  volume.AddSubbook(std::move(s));
  volume.WriteTo(root);
  return book;
}

}  // namespace morva::testing
