// The test-book writer against checked-in byte dumps (golden/*.txt), for the
// layouts and structures the real books lack. Each case writes files into a
// fresh directory; the dump lists every file with its non-zero 16-byte rows.
// After a deliberate change of the writer, rerun with MORVA_WRITE_GOLDEN=1 and
// review the diff of golden/.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>
#include <stdexcept>

#include "tests/support/test_dirs.h"
#include "tools/mkbook/body_text.h"
#include "tools/mkbook/bytes.h"
#include "tools/mkbook/catalog.h"
#include "tools/mkbook/compound.h"
#include "tools/mkbook/demo_book.h"
#include "tools/mkbook/edict_book.h"
#include "tools/mkbook/font.h"
#include "tools/mkbook/image.h"
#include "tools/mkbook/index_keys.h"
#include "tools/mkbook/index_tree.h"
#include "tools/mkbook/jis_text.h"
#include "tools/mkbook/menu.h"
#include "tools/mkbook/split_layout.h"
#include "tools/mkbook/subbook_pages.h"
#include "tools/mkbook/volume.h"

namespace morva::mkbook {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

std::string J(const char* utf8) { return JisFromUtf8(utf8); }

std::string Dump(const fs::path& root) {
  std::vector<fs::path> files;
  for (const auto& e : fs::recursive_directory_iterator(root))
    if (e.is_regular_file()) files.push_back(fs::relative(e.path(), root));
    else if (fs::is_empty(e.path())) files.push_back(fs::relative(e.path(), root) / "");
  std::sort(files.begin(), files.end());
  std::ostringstream out;
  for (const fs::path& f : files) {
    const std::string bytes = ReadFile(root / f);
    out << "file " << f.generic_string() << " " << bytes.size() << "\n";
    for (size_t row = 0; row < bytes.size(); row += 16) {
      const std::string r = bytes.substr(row, 16);
      if (r.find_first_not_of('\0') == std::string::npos) continue;
      char line[80];
      int n = std::snprintf(line, sizeof line, "%06zx:", row);
      for (unsigned char c : r)
        n += std::snprintf(line + n, sizeof line - static_cast<size_t>(n), " %02x", c);
      out << line << "\n";
    }
  }
  return out.str();
}

Subbook SimpleSubbook(const char* dir) {
  SubbookPages pages;
  BodyText body({pages.NextFreePage(), 0});
  body.Indent(1).Headword("あ").Newline();
  pages.AddSection(0x00, body.Bytes());
  Subbook s;
  s.record.title = J("本");
  s.record.directory = dir;
  s.body = pages.Build();
  return s;
}

TreeEntry Entry(const char* utf8, int32_t page, int32_t offset = 0) {
  return {J(utf8), {page, offset}, {page + 1000, offset}};
}

void CatalogsUpperCase(const fs::path& dir) {
  Volume v;
  v.SetNameCase(NameCase::kUpper);
  Subbook s = SimpleSubbook("test");
  Font font(16, 16);
  for (int n = 0; n < 95; ++n) font.AddBitmap(std::string(32, static_cast<char>(n + 1)));
  s.AddFont(0, "gai16f", font.Build());
  Font half(8, 16, 0xA121);
  half.AddPattern({"#......#", ".##"});
  half.SetDeclaredCount(500);
  s.AddFont(4, "gai16h", half.Build());
  s.files.push_back({"Extra/Notes.txt", "hi"});
  v.AddSubbook(std::move(s));
  Subbook second = SimpleSubbook("places");
  second.record.indexPage = 1;
  Font big(24, 24);
  big.AddPattern({"#", "", "#"});
  second.AddFont(1, "gai24f", big.Build());
  Font odd(12, 12);
  odd.AddPattern({"...........#"});
  second.AddFont(2, "gai12f", odd.Build());
  v.AddSubbook(std::move(second));
  v.WriteTo(dir);
}

void CatalogLayoutAndOtherVolumes(const fs::path& dir) {
  Volume v(CatalogLayout::kCatalog);
  v.AddSubbook(SimpleSubbook("one"));
  v.AddSubbook(SimpleSubbook("two"));
  v.SetDeclaredSubbookCount(7);
  v.WriteTo(dir / "catalog");

  PageFile words(10);  // the word index starts at page 10 of the page space
  words.AppendPages(std::string(3000, 'w'));
  PageFile titles(20);
  titles.AppendPages("t");
  Subbook s;
  s.record.title = J("分割");
  s.record.directory = "split";
  MakeSplit(s, {{0x91, std::string(SplitFileName(0x91)), words, {}},
                {0x05, "sub/" + std::string(SplitFileName(0x05)), titles, {}}});
  Volume split;
  split.AddSubbook(std::move(s));
  split.WriteTo(dir / "split");

  Volume bare = Volume::WithoutCatalog();
  bare.AddDirectory("ruigo.dat");
  bare.AddFile("sekai/honmon", SubbookPages().Build());
  bare.WriteTo(dir / "bare");

  CatalogRecord plain;
  plain.title = "Demo Book";  // a single-byte volume keeps its bytes
  plain.directory = "demo";
  CatalogRecord full;
  full.directory = "full";
  for (int i = 0; i < 40; ++i) full.title += J("字");
  std::vector<CatalogRecord> many(13, plain);  // more than one page of records
  many[1] = full;
  WriteFile(dir / "catalogs.many", BuildCatalog(CatalogLayout::kCatalogs, many));
}

void IndexTrees(const fs::path& dir) {
  WriteFile(dir / "plain",
            BuildIndexTree({Entry("ねこ", 0x12, 0x345), Entry("いぬ", 7)}, 50).pages);
  IndexTreeOptions fixed;
  fixed.leaves = LeafLayout::kPlainFixed;
  fixed.leafKeyLength = 6;
  WriteFile(dir / "fixed", BuildIndexTree({Entry("あ", 2), Entry("いぬ", 3)}, 1, fixed).pages);
  const std::vector<TreeEntry> four = {Entry("う", 3), Entry("あ", 1), Entry("いい", 2),
                                       Entry("え", 4)};
  for (const bool sentinel : {false, true}) {
    IndexTreeOptions o;
    o.maxLeafEntries = 2;
    o.lastKeySentinel = sentinel;
    WriteFile(dir / (sentinel ? "branch-sentinel" : "branch"), BuildIndexTree(four, 10, o).pages);
  }
  std::vector<TreeEntry> sixteen;
  for (int i = 0; i < 16; ++i)
    sixteen.push_back({std::string{'\x24', static_cast<char>(0x22 + i)}, {i + 1, 0}, {}});
  IndexTreeOptions deep;
  deep.maxLeafEntries = 2;
  deep.maxBranchEntries = 2;
  WriteFile(dir / "deep", BuildIndexTree(sixteen, 100, deep).pages);

  IndexTreeOptions word;
  word.leaves = LeafLayout::kGroupedWord;
  WriteFile(dir / "grouped-word", BuildIndexTree({{J("かき"), {1, 0}, {2, 0}, J("カキ")},
                                                  {J("かつこう"), {3, 0}, {4, 0}, J("がっこう")}},
                                                 1, word)
                                      .pages);
  const std::vector<TreeEntry> dup = {Entry("あ", 1), Entry("あ", 2), Entry("い", 3)};
  IndexTreeOptions grouped;
  grouped.leaves = LeafLayout::kGroupedKeyword;
  WriteFile(dir / "grouped-keyword", BuildIndexTree(dup, 1, grouped).pages);
  grouped.leaves = LeafLayout::kGroupedCompound;
  WriteFile(dir / "grouped-compound", BuildIndexTree(dup, 1, grouped).pages);

  // Keys as searches compare them, one per index kind and option.
  std::string keys;
  for (const auto& [utf8, code, option] :
       std::vector<std::tuple<const char*, uint8_t, uint8_t>>{{"がっこう", 0x90, 0},
                                                              {"ヴァイオリン", 0x70, 0},
                                                              {"コーヒー", 0x91, 0},
                                                              {"ラーメン", 0x91, 2},
                                                              {"ラーメン", 0x91, 1},
                                                              {"ラーメン", 0x80, 0},
                                                              {"ー字ー", 0x91, 0},
                                                              {"んー", 0x91, 0},
                                                              {"ａｂＣ", 0x92, 0},
                                                              {"ａｂ", 0x92, 0x10},
                                                              {"ア・イ", 0x91, 0},
                                                              {"ア・イ", 0x80, 0},
                                                              {"ア・イ", 0x91, 4},
                                                              {"８－９", 0x92, 0}})
    keys += CanonicalIndexKey(J(utf8), code, option) + "\n";
  WriteFile(dir / "keys", keys);
}

void BodyTextMenusAndPictures(const fs::path& dir) {
  BodyText b({2, 2040});  // runs over a page end
  b.StartText().Indent(1).Headword("あA 1ｶﾞ").Newline().Indent(2);
  b.BeginEmphasis().Narrow("a").EndEmphasis().Reference("い", {367, 112}).Gaiji(0xA121);
  b.BeginSubscript().EndSubscript().BeginSuperscript().EndSuperscript().BeginNoBreak().EndNoBreak();
  b.BeginInlinePicture(17, 20).EndInlinePicture({30, 4});
  b.BeginSound(1, {1, 2, 3}, {0, 10, 74}).EndSound();
  b.BeginKeyword().EndKeyword({2, 16}).BeginReference().EndPictureReference({9, 0});
  b.BeginReference().Text("う");
  const Placeholder p = b.EndReferencePending();
  b.Patch(p, {7, 8});
  ImageDescriptor d;
  d.picture = {0x30, 0x100};
  d.width = 17;
  d.height = 2;
  d.relatedText = BookAddress{40, 2};
  d.hotSpots = {{12, 34, {50, 6}, true}, {5, 6, {41, 0}, false, "a"}};
  WriteImageDescriptor(b, d);
  WriteInlinePicture(b, "図", Picture(17, 2), {30, 0x100});
  b.EndText();
  WriteFile(dir / "body", b.Bytes());
  WriteFile(dir / "picture", Picture::FromPattern({"#...............#", "", ".#"}).Bytes());

  BodyText single({1, 0}, TextCoding::kSingleByte);
  single.Text("AB\n").Gaiji(0x0F21);
  WriteFile(dir / "single-byte", single.Bytes());

  Menu menu({5, 0});
  menu.Line("目次").Choice("あ", {7, 0x10}).Choices({{"か", {8, 0}}, {"さ", {9, 1}}}, "他：");
  WriteFile(dir / "menu", menu.Build());
}

void CompoundSearch(const fs::path& dir) {
  SubbookPages pages;
  const int32_t list = AddCandidateLists(pages, {{"犬"}, {"鳥", {{"鳩"}, {"鷺"}}}, {"猫"}});
  AddCompoundSearch(pages, {{"名前", {0xA1, 40, 3, {1, 2, 3}}, list}, {"分類", {0x91, 50, 1, {}}}});
  AddCompoundSearch(pages, {{"分類", {0xB0, 9, 1, {}}}});
  WriteFile(dir / "honmon", pages.Build());
}

void DemoAndEdictBooks(const fs::path& dir) {
  BuildDemoBook().volume.WriteTo(dir / "demo");
  // EUC-JP: JIS X 0208 with the high bits set; the JIS X 0212 line is skipped.
  const auto euc = [](const char* utf8) {
    std::string s = J(utf8);
    for (char& c : s) c = static_cast<char>(c | 0x80);
    return s;
  };
  std::istringstream in(euc("　？？？") + " /EDICT test/Copyright EDRDG/\n" + euc("猫") + " [" +
                        euc("ねこ") + "] /(n) cat/(P)/\n" + euc("コーヒー") + " /(n) coffee/\n" +
                        euc("犬") + " [" + euc("いぬ") + "] /(n) (1) dog/(n) (2) spy/\n" +
                        "\x8F\xB0\xA1 [" + euc("あ") + "] /(n) JIS X 0212/\n");
  const EdictBook edict = BuildEdictBook(in);
  EXPECT_EQ(edict.stats.entries, 3u);
  EXPECT_EQ(edict.stats.outsideJis, 1u);
  edict.volume.WriteTo(dir / "edict");
}

struct GoldenCase {
  const char* name;
  std::function<void(const fs::path&)> write;
};

void PrintTo(const GoldenCase& c, std::ostream* os) { *os << c.name; }

class GoldenTest : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(GoldenTest, WriterOutputMatchesItsDump) {
  TempDir tmp;
  GetParam().write(tmp.path());
  const std::string dump = Dump(tmp.path());
  const fs::path golden =
      fs::path(MORVA_SOURCE_DIR) / "tests/mkbook/golden" / (std::string(GetParam().name) + ".txt");
  if (std::getenv("MORVA_WRITE_GOLDEN")) WriteFile(golden, dump);
  const std::string want = ReadFile(golden);
  if (dump == want) return;
  size_t line = 1;
  size_t at = 0;
  while (at < dump.size() && at < want.size() && dump[at] == want[at]) line += dump[at++] == '\n';
  ADD_FAILURE() << golden << " differs from line " << line;
}

INSTANTIATE_TEST_SUITE_P(Mkbook, GoldenTest,
                         ::testing::Values(GoldenCase{"catalogs_upper_case", CatalogsUpperCase},
                                           GoldenCase{"catalog_split_bare",
                                                      CatalogLayoutAndOtherVolumes},
                                           GoldenCase{"index_trees", IndexTrees},
                                           GoldenCase{"body_text", BodyTextMenusAndPictures},
                                           GoldenCase{"compound", CompoundSearch},
                                           GoldenCase{"demo_edict", DemoAndEdictBooks}),
                         [](const auto& info) { return std::string(info.param.name); });

// Input the writer cannot store is refused instead of written half.
TEST(MkbookRefuses, FieldsThatDoNotFit) {
  CatalogRecord longTitle;
  longTitle.directory = "x";
  for (int i = 0; i < 41; ++i) longTitle.title += J("字");
  CatalogRecord longDir;
  longDir.directory = "ninechars";
  const std::vector<std::function<void()>> refused = {
      [&] { BuildCatalog(CatalogLayout::kCatalogs, {longTitle}); },
      [&] { BuildCatalog(CatalogLayout::kCatalog, {longDir}); },
      [] { Font(256, 16); },
      [] { Font(16, 16).AddBitmap("short"); },
      [] { BodyText().Text("\xF0\x9F\x98\x80"); },  // no JIS form
      [] { BodyText().Text("\xE3\x81"); },          // cut UTF-8
      [] {
        BodyText({1, 0}, TextCoding::kSingleByte).Text("あ");
      },
      [] { BodyText().Indent(100); },
      [] { Bcd(100, 1); },
      [] {
        BuildCompoundDefinition({{"名", {0x33, 1, 1, {}}}});
      },
      [] {
        IndexTreeOptions o;
        o.leaves = LeafLayout::kPlainFixed;
        o.leafKeyLength = 2;
        BuildIndexTree({{J("いぬ"), {3, 0}, {3, 0}}}, 1, o);
      },
  };
  for (size_t i = 0; i < refused.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_ANY_THROW(refused[i]());
  }
}

}  // namespace
}  // namespace morva::mkbook
