#include "tools/mkbook/demo_book.h"

#include "tools/mkbook/body_text.h"
#include "tools/mkbook/font.h"
#include "tools/mkbook/index_page.h"
#include "tools/mkbook/jis_text.h"
#include "tools/mkbook/subbook_pages.h"

namespace morva::mkbook {
namespace {

// A circled digit one, full width.
const std::vector<std::string> kCircledOne = {
    "................", ".....######.....", "...##......##...", "..#..........#..",
    ".#.....##.....#.", ".#....###.....#.", "#.......#......#", "#.......#......#",
    "#.......#......#", "#.......#......#", ".#......#.....#.", ".#....#####...#.",
    "..#..........#..", "...##......##...", ".....######.....", "................",
};

// "o" with a macron, half width.
const std::vector<std::string> kOMacron = {
    "........", "........", ".#####..", "........", "........", "..###...", ".#...#..", ".#...#..",
    ".#...#..", ".#...#..", ".#...#..", "..###...", "........", "........", "........", "........",
};

Subbook WithFonts(Subbook s) {
  Font full(16, 16);
  full.AddPattern(kCircledOne);
  Font half(8, 16);
  half.AddPattern(kOMacron);
  s.AddFont(0, "GAI16F", full.Build());
  s.AddFont(4, "GAI16H", half.Build());
  return s;
}

std::string CopyrightText(int32_t page, const char* bookName) {
  BodyText text({page, 0});
  text.Text(bookName).Newline();
  text.Text("この本はモルバの見本として作られたものです。").Newline();
  text.Narrow("Morva demonstration data, free to copy.").Newline().EndText();
  return text.Bytes();
}

// An entry: indent 1, headword line, then the body one step in.
void BeginEntry(BodyText& body, std::vector<DemoEntry>& entries, int subbook,
                const char* headword) {
  entries.push_back({subbook, headword, body.Here()});
  body.Indent(1).Headword(headword).Newline().Indent(2);
}

Subbook Dictionary(std::vector<DemoEntry>& entries) {
  SubbookPages pages;
  BodyText body({pages.NextFreePage(), 0});
  body.StartText();

  BeginEntry(body, entries, 0, "りんご【林檎】");
  body.Text("バラ科の落葉高木。果実は丸く、秋に赤く熟す。").Newline();
  body.Text("（").BeginReference().Text("みかん");
  const Placeholder toMikan = body.EndReferencePending();
  body.Text("も見よ）").Newline();

  BeginEntry(body, entries, 0, "みかん【蜜柑】");
  body.Text("ミカン科の常緑低木。果実は冬に黄色く熟す。").Newline();
  body.Text("産地の例：").Gaiji(0xA121).Text("愛媛").Newline();
  body.Reference("りんご", entries[0].text).Newline();
  body.Patch(toMikan, entries[1].text);

  BeginEntry(body, entries, 0, "ＡＢＣ");
  body.BeginEmphasis().Narrow("(n)").EndEmphasis().Narrow(" the alphabet; the basics").Newline();
  body.Text("Ｈ").BeginSubscript().Text("２").EndSubscript().Text("Ｏ、ｘ").BeginSuperscript().Text(
      "２");
  body.EndSuperscript().Newline();
  body.EndText();

  pages.AddSection(index_code::kBody, body.Bytes());
  pages.AddSection(index_code::kCopyright, CopyrightText(pages.NextFreePage(), "モルバ見本辞典"));

  Subbook s;
  s.record.title = JisFromUtf8("モルバ見本辞典");
  s.record.directory = "sample";
  s.body = pages.Build();
  return WithFonts(std::move(s));
}

Subbook Places(std::vector<DemoEntry>& entries) {
  SubbookPages pages;
  BodyText body({pages.NextFreePage(), 0});
  body.StartText();
  const size_t first = entries.size();
  BeginEntry(body, entries, 1, "東京");
  body.BeginNarrow().Text("T").Gaiji(0xA121).Text("ky").Gaiji(0xA121).EndNarrow().Newline();
  body.Text("日本の首都。").BeginNoBreak().Text("関東地方").EndNoBreak().Text("にある。").Newline();
  BeginEntry(body, entries, 1, "京都");
  body.Text("古い都。").Reference("東京", entries[first].text).Text("へ移る前の都。").Newline();
  body.EndText();
  pages.AddSection(index_code::kBody, body.Bytes());
  pages.AddSection(index_code::kCopyright, CopyrightText(pages.NextFreePage(), "モルバ地名集"));

  Subbook s;
  s.record.title = JisFromUtf8("モルバ地名集");
  s.record.directory = "places";
  s.body = pages.Build();
  return WithFonts(std::move(s));
}

}  // namespace

DemoBook BuildDemoBook() {
  DemoBook book;
  book.volume.AddSubbook(Dictionary(book.entries));
  book.volume.AddSubbook(Places(book.entries));
  return book;
}

}  // namespace morva::mkbook
