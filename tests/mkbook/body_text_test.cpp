#include "tools/mkbook/body_text.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/mkbook/hex.h"
#include "tools/mkbook/bytes.h"
#include "tools/mkbook/page_file.h"

namespace morva::mkbook {
namespace {

TEST(Bcd, PacksTwoDigitsPerByteHighFirst) {
  EXPECT_EQ(Bcd(1234, 4), Hex("00001234"));
  EXPECT_EQ(Bcd(367, 4) + Bcd(112, 2), Hex("00000367 0112"));
  EXPECT_EQ(Bcd(99, 1), Hex("99"));
  EXPECT_EQ(Bcd(1, 6), Hex("000000000001"));
  EXPECT_THROW(Bcd(100, 1), std::out_of_range);
  EXPECT_EQ(BcdAddress({12345678, 2047}), Hex("12345678 2047"));
}

TEST(BodyText, TextBecomesJisCodesWithAsciiFullWidth) {
  BodyText b;
  b.Text("あA 1");
  EXPECT_EQ(b.Bytes(), Hex("2422 2341 2121 2331"));

  BodyText voiced;
  voiced.Text("ｶﾞ亜\n");
  EXPECT_EQ(voiced.Bytes(), Hex("252C 3021 1F0A"));

  EXPECT_THROW(BodyText().Text("\t"), std::invalid_argument);
  EXPECT_THROW(BodyText().Text("\xF0\x9F\x98\x80"), std::invalid_argument);  // no JIS form
  EXPECT_THROW(BodyText().Text("\xE3\x81"), std::invalid_argument);          // cut UTF-8
}

TEST(BodyText, EscapesOfAnEntry) {
  BodyText b;
  b.StartText().Indent(1).Headword("あ").Newline().Indent(2);
  b.BeginEmphasis().Narrow("a").EndEmphasis();
  b.Reference("い", {367, 112}).Gaiji(0xA121).EndText();
  EXPECT_EQ(b.Bytes(), Hex("1F02 1F09 0001 1F41 0100 2422 1F61 1F0A 1F09 0002"
                           "1FE0 0001 1F04 2361 1F05 1FE1"
                           "1F42 2424 1F62 00000367 0112 A121 1F03"));
  EXPECT_THROW(BodyText().Indent(100), std::out_of_range);
}

TEST(BodyText, ScriptsSpansPicturesAndSounds) {
  BodyText b;
  b.BeginSubscript().EndSubscript().BeginSuperscript().EndSuperscript().BeginNoBreak().EndNoBreak();
  EXPECT_EQ(b.Bytes(), Hex("1F06 1F07 1F0E 1F0F 1F10 1F11"));

  BodyText pic;
  pic.BeginInlinePicture(17, 20).EndInlinePicture({30, 4});
  EXPECT_EQ(pic.Bytes(), Hex("1F44 0000 0000 0020 0000 0017 1F64 00000030 0004"));

  BodyText sound;
  sound.BeginSound(1, {1, 2, 3}, {0, 10, 74}).EndSound();
  EXPECT_EQ(sound.Bytes(), Hex("1F48 01 00 01020300 00107400 1F68"));

  BodyText keyword;
  keyword.BeginKeyword().EndKeyword({2, 16}).BeginReference().EndPictureReference({9, 0});
  EXPECT_EQ(keyword.Bytes(), Hex("1F43 1F63 00000002 0016 1F42 1F52 00000009 0000"));
}

TEST(BodyText, SingleByteBookWritesPlainBytes) {
  BodyText b({1, 0}, TextCoding::kSingleByte);
  b.Text("AB\n").Gaiji(0x0F21);
  EXPECT_EQ(b.Bytes(), Hex("41 42 1F0A 0F21"));
  EXPECT_THROW(b.Text("あ"), std::invalid_argument);
}

TEST(BodyText, TracksAddressAcrossPageEnds) {
  BodyText b({2, 2040});
  EXPECT_EQ(b.Here(), (BookAddress{2, 2040}));
  b.Text("あいうえお");
  EXPECT_EQ(b.Here(), (BookAddress{3, 2}));
  EXPECT_EQ(BodyText({1, 2048}).Start(), (BookAddress{2, 0}));
}

TEST(BodyText, PlaceholderIsPatchedInTextOrInItsPageFile) {
  BodyText b({5, 2040});
  b.BeginReference().Text("あ");
  const Placeholder p = b.EndReferencePending();
  EXPECT_EQ(p.at, (BookAddress{5, 2046}));  // the 6 bytes run into page 6
  EXPECT_EQ(b.Bytes().substr(6), std::string(6, '\0'));

  PageFile file;
  file.Write(b.Start(), b.Bytes());
  file.Patch(p, {1234, 56});
  EXPECT_EQ(file.Bytes().substr(4 * 2048 + 2046, 6), Hex("00001234 0056"));

  b.Patch(p, {7, 8});
  EXPECT_EQ(b.Bytes().substr(6), Hex("00000007 0008"));
  EXPECT_THROW(b.Patch({{6, 1}}, {7, 8}), std::out_of_range);
  EXPECT_THROW(b.Patch({{5, 0}}, {7, 8}), std::out_of_range);
}

TEST(PageFile, SectionsStartOnFreshPages) {
  PageFile f;
  EXPECT_EQ(f.AppendPages("abc"), 1);
  EXPECT_EQ(f.AppendPages(""), 2);
  EXPECT_EQ(f.AppendPages(std::string(2049, 'x')), 3);
  EXPECT_EQ(f.PageCount(), 4);
  EXPECT_EQ(f.Bytes().size(), 4u * 2048);
  EXPECT_EQ(f.Bytes()[3], '\0');

  PageFile split(100);  // a file whose first page is page 100 of the page space
  split.Write({100, 5}, "z");
  EXPECT_EQ(split.Bytes()[5], 'z');
  EXPECT_EQ(split.NextFreePage(), 101);
  EXPECT_THROW(split.Write({99, 0}, "z"), std::out_of_range);
}

}  // namespace
}  // namespace morva::mkbook
