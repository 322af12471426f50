// The test-book writer against a checked-in byte dump (golden/*.txt) of the
// layouts the real books lack: the catalog layout, split volumes and long
// catalogs. The dump lists every file with its non-zero 16-byte rows. After a
// deliberate change of the writer, rerun with MORVA_WRITE_GOLDEN=1 and review
// the diff of golden/.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "tests/support/test_dirs.h"
#include "tools/mkbook/body_text.h"
#include "tools/mkbook/bytes.h"
#include "tools/mkbook/catalog.h"
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

TEST(GoldenTest, WriterOutputMatchesItsDump) {
  TempDir tmp;
  CatalogLayoutAndOtherVolumes(tmp.path());
  const std::string dump = Dump(tmp.path());
  const fs::path golden = fs::path(MORVA_SOURCE_DIR) / "tests/mkbook/golden/catalog_split.txt";
  if (std::getenv("MORVA_WRITE_GOLDEN")) WriteFile(golden, dump);
  const std::string want = ReadFile(golden);
  size_t line = 1;
  for (size_t at = 0; at < dump.size() && at < want.size() && dump[at] == want[at]; ++at)
    line += dump[at] == '\n';
  EXPECT_TRUE(dump == want) << golden << " differs from line " << line;
}

}  // namespace
}  // namespace morva::mkbook
