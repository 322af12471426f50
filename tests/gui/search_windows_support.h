// Books for the search-window tests, written with mkbook into a temporary
// directory and listed in a book bar:
//
//   book 0 "compound": entries of animals and stones plus filler topics, two
//     compound forms (form 0 declares seven fields, form 1 two), a field with
//     nested candidate lists and external characters in its candidates, 16-dot
//     fonts whose glyphs are solid ink; no keyword or cross index.
//   book 1 "keyword": a few entries with a keyword index (0x80).
#pragma once

#include "tests/support/book_test.h"
#include "tools/mkbook/font.h"

namespace morva::testing {

struct SearchBooks {
  static constexpr int kCompoundBook = 0;
  static constexpr int kKeywordBook = 1;
  // Filler topics after the named entries; every third holds "共通".
  static constexpr int kFillerTopics = 60;

  TempDir dir;
  BookBar books;
  // Body addresses of the named entries of book 0: 犬, 猫, 水晶, 印鑑.
  std::vector<BookAddress> entries;
  // Topics of book 0 holding "共通" (the named entries hold none).
  int commonTopics = 0;

  SearchBooks() {
    WriteCompoundBook();
    WriteKeywordBook();
  }

 private:
  static mkbook::Subbook WithSolidFonts(mkbook::Subbook s) {
    mkbook::Font full(16, 16);
    full.AddPattern(std::vector<std::string>(16, std::string(16, '#')));
    mkbook::Font half(8, 16);
    half.AddPattern(std::vector<std::string>(16, std::string(8, '#')));
    s.AddFont(0, "GAI16F", full.Build());
    s.AddFont(4, "GAI16H", half.Build());
    return s;
  }

  std::string Root(int book) const { return dir.str() + "/vol" + std::to_string(book); }

  // The top list of the 分類 field: 動物 opens a nested list (犬, 猫, and
  // 鳥 which nests once more), 鉱物 is a value, then two values with an
  // external character (wide, then narrow).
  static int32_t AddKindCandidates(mkbook::SubbookPages& pages) {
    mkbook::BodyText text({pages.NextFreePage(), 0});
    text.BeginKeyword().Text("動物").Escape(0x63);
    const mkbook::Placeholder animals = text.ReserveAddress();
    text.Newline();
    text.Text("鉱物").Newline();
    text.Gaiji(0xA121).Text("印").Newline();
    text.Text("石").BeginNarrow().Gaiji(0xA121).EndNarrow().Newline();
    text.Newline();
    text.Patch(animals,
               mkbook::WriteCandidateList(text, {{"犬"}, {"猫"}, {"鳥", {{"鳩"}, {"鷺"}}}}));
    return pages.file().AppendPages(text.Bytes());
  }

  void WriteCompoundBook() {
    mkbook::SubbookPages pages;
    mkbook::BodyText body({pages.NextFreePage(), 0});
    auto entry = [&](const char* headword, const char* text) {
      entries.push_back(body.Here());
      body.Indent(1).Headword(headword).Newline().Text(text).Newline();
    };
    entry("犬", "忠実な動物。");
    entry("猫", "気まぐれな動物。");
    entry("水晶", "透明な鉱物。");
    entry("印鑑", "名前を彫った印。");
    for (int i = 0; i < kFillerTopics; ++i) {
      const bool common = i % 3 == 0;
      commonTopics += common ? 1 : 0;
      body.Indent(1).Headword("項目" + std::to_string(i)).Newline();
      body.Text(common ? "これは共通の説明。" : "これは別の説明。").Newline();
    }
    pages.AddSection(mkbook::index_code::kBody, body.EndText().Bytes());

    // A grouped index of words of the named entries.
    const auto index = [&](std::vector<std::pair<const char*, size_t>> words) {
      std::vector<mkbook::TreeEntry> keys;
      for (const auto& [word, i] : words) keys.push_back({J(word), entries[i], entries[i]});
      const mkbook::IndexTree tree = mkbook::BuildIndexTree(
          std::move(keys), pages.NextFreePage(), {.leaves = mkbook::LeafLayout::kGroupedCompound});
      pages.file().AppendPages(tree.pages);
      return mkbook::IndexOf(tree);
    };
    const mkbook::CompoundIndex names = index({{"犬", 0}, {"猫", 1}, {"水晶", 2}});
    const mkbook::CompoundIndex kinds = index({{"犬", 0}, {"猫", 1}, {"鉱物", 2}});
    const mkbook::CompoundIndex readings = index({{"いぬ", 0}});
    const mkbook::CompoundIndex meanings = index({{"動物", 0}});
    const int32_t kindList = AddKindCandidates(pages);

    std::vector<mkbook::CompoundField> form0 = {
        {"名前", names},   {"分類", kinds, kindList}, {"産地", names}, {"色", names},
        {"大きさ", names}, {"六番", names},           {"七番", names}};
    mkbook::AddCompoundSearch(pages, form0);
    mkbook::AddCompoundSearch(pages, {{"読み", readings}, {"意味", meanings}});

    WriteVolume(Root(kCompoundBook),
                {WithSolidFonts(Subbook("複合試験", "compound", pages.Build()))});
    books.push_back({"COMP", Root(kCompoundBook), "", 0, false});
  }

  void WriteKeywordBook() {
    mkbook::SubbookPages pages;
    mkbook::BodyText body({pages.NextFreePage(), 0});
    body.Indent(1).Headword("猫").Newline().Text("猫の説明。").Newline();
    const BookAddress dog = body.Here();
    body.Indent(1).Headword("犬").Newline().Text("犬の説明。").Newline();
    pages.AddSection(mkbook::index_code::kBody, body.EndText().Bytes());
    pages.AddSection(mkbook::index_code::kKeyword,
                     mkbook::BuildIndexTree({{J("犬"), dog, dog}}, pages.NextFreePage()).pages);

    WriteVolume(Root(kKeywordBook), {Subbook("条件試験", "keyword", pages.Build())});
    books.push_back({"KEYW", Root(kKeywordBook), "", 0, false});
  }
};

}  // namespace morva::testing
