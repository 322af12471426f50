// The test-book writer against checked-in byte dumps (golden/*.txt), for the
// layouts and structures the real books lack. Each case writes files into a
// fresh directory; the dump lists every file with its non-zero 16-byte rows.
// After a deliberate change of the writer, rerun with MORVA_WRITE_GOLDEN=1 and
// review the diff of golden/.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "tests/support/test_dirs.h"
#include "tools/mkbook/body_text.h"
#include "tools/mkbook/bytes.h"
#include "tools/mkbook/catalog.h"
#include "tools/mkbook/font.h"
#include "tools/mkbook/jis_text.h"
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

TEST(GoldenTest, WriterOutputMatchesItsDumps) {
  using Writer = void (*)(const fs::path&);
  for (auto [name, write] :
       {std::pair<const char*, Writer>{"catalogs_upper_case", CatalogsUpperCase},
        {"catalog_split_bare", CatalogLayoutAndOtherVolumes}}) {
    SCOPED_TRACE(name);
    TempDir tmp;
    write(tmp.path());
    const std::string dump = Dump(tmp.path());
    const fs::path golden =
        fs::path(MORVA_SOURCE_DIR) / "tests/mkbook/golden" / (std::string(name) + ".txt");
    if (std::getenv("MORVA_WRITE_GOLDEN")) WriteFile(golden, dump);
    const std::string want = ReadFile(golden);
    size_t line = 1;
    for (size_t at = 0; at < dump.size() && at < want.size() && dump[at] == want[at]; ++at)
      line += dump[at] == '\n';
    EXPECT_TRUE(dump == want) << golden << " differs from line " << line;
  }
}

}  // namespace
}  // namespace morva::mkbook
