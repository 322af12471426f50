// How morva-cli finds and opens the files of a volume written by mkbook: the
// text coding a catalog's titles give, split-layout files, and files that are
// damaged, not regular files, behind link loops or outside the volume. None
// of these may hang, be read from outside the volume or be misreported.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

#include "tests/cli/cli_runner.h"
#include "tests/support/book_test.h"
#include "tools/mkbook/damage.h"
#include "tools/mkbook/ebzip_writer.h"
#include "tools/mkbook/split_layout.h"

namespace morva::cli {
namespace {

namespace fs = std::filesystem;
using mkbook::CatalogLayout;
using testing::WriteVolume;

// Every run that once hung gets this many seconds.
constexpr int kTimeout = 30;

// The text of one entry, starting on page `page`.
std::string EntryText(int32_t page, const std::string& headword) {
  return mkbook::BodyText({page, 0}).Indent(1).Headword(headword).Text("本文").Newline().Bytes();
}

mkbook::Subbook OneEntry(const std::string& directory, const std::string& headword = "見出し") {
  mkbook::SubbookPages pages;
  pages.AddSection(mkbook::index_code::kBody, EntryText(pages.NextFreePage(), headword));
  return testing::Subbook("辞典", directory, pages.Build());
}

void MakeFifo(const fs::path& path) {
  fs::create_directories(path.parent_path());
  ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0) << path;
}

class BookFilesTest : public testing::BookTest {};

// ---- Text coding from the catalog's titles ------------------------------------------

TEST_F(BookFilesTest, TitlesDecideWhetherTheVolumeIsSingleByte) {
  struct Row {
    const char* what;
    std::string title;
    CatalogLayout layout;
    bool singleByte;
  };
  const Row rows[] = {
      {"JIS title", mkbook::JisFromUtf8("国語辞典"), CatalogLayout::kCatalogs, false},
      // External characters (first byte 0xA1-0xFE) say nothing either way.
      {"external character inside",
       mkbook::JisFromUtf8("国語") + "\xA1\x21" + mkbook::JisFromUtf8("辞典"),
       CatalogLayout::kCatalogs, false},
      {"external characters only", "\xB0\x21\xFE\x7E", CatalogLayout::kCatalog, false},
      // "h " is 0x6820: inside the old value range, but a space is no JIS byte.
      {"English words", "English Dictionary", CatalogLayout::kCatalog, true},
      {"odd length, 0 after the last letter", "Dictionary1", CatalogLayout::kCatalog, true},
      // 0xE9 (é in Latin-1) after a letter is no JIS trail byte.
      {"Latin-1 letter", "Caf\xE9", CatalogLayout::kCatalog, true},
      {"control code", "\x1F\4ABCD", CatalogLayout::kCatalogs, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    mkbook::Subbook s = OneEntry("jiten", "あいう");
    s.record.title = row.title;
    fs::remove_all(Root());
    WriteVolume(Root(), {s}, row.layout);
    const CliRun books = RunCli("books " + Root());
    EXPECT_EQ(books.status, 0) << books.err;
    EXPECT_EQ(Has(books.out, "single-byte"), row.singleByte) << books.out;
    // A JIS book's text reads as JIS.
    if (!row.singleByte) {
      EXPECT_TRUE(Has(RunCli("text " + Root()).out, "あいう"));
    }
  }
}

// ---- Split layout ---------------------------------------------------------------------

// A split-layout sub-book of the catalogs layout: data/honmon is the one-page
// index file, and the body text, also named honmon, lies further down.
mkbook::Subbook SplitSubbook(const std::string& bodyName) {
  mkbook::PageFile body(2);
  body.Write({2, 0}, EntryText(2, "分割本文"));
  mkbook::Subbook s = OneEntry("split");
  mkbook::MakeSplit(s, {{0x00, bodyName, body, {}}});
  return s;
}

TEST_F(BookFilesTest, SplitBodyNamedLikeTheIndexFileIsFoundFurtherDown) {
  for (const char* bodyName : {"text/honmon", "a/b/HONMON"}) {
    for (bool compressed : {false, true}) {
      SCOPED_TRACE(std::string(bodyName) + (compressed ? " compressed" : ""));
      fs::remove_all(Root());
      WriteVolume(Root(), {SplitSubbook(bodyName)});
      if (compressed) {
        ASSERT_TRUE(mkbook::CompressVolume(Root(), 1));
      }
      const CliRun books = RunCli("books " + Root());
      EXPECT_TRUE(Has(books.out, "index 0x00")) << books.out;
      const CliRun text = RunCli("text " + Root());
      EXPECT_TRUE(Has(text.out, "分割本文")) << text.out << text.err;
      EXPECT_EQ(text.err, "");
    }
  }
}

TEST_F(BookFilesTest, LinksBackUpTheTreeAreWalkedOnce) {
  // A body that is nowhere: its search walks the whole tree below data/,
  // where links lead back up.
  WriteVolume(Root(), {SplitSubbook("text/honmon")});
  const fs::path data = fs::path(Root()) / "split" / "data";
  fs::remove(data / "text" / "honmon");
  for (const char* link : {"a", "b", "text/up"}) fs::create_directory_symlink(".", data / link);
  fs::create_directory_symlink("..", data / "text" / "parent");
  const CliRun text = RunCli("text " + Root(), kTimeout);
  EXPECT_FALSE(text.timedOut);
}

// ---- Files that cannot be read -----------------------------------------------------------

// A damaged compressed body is named in the message; FIFOs are refused
// without waiting.
TEST_F(BookFilesTest, FilesThatCannotBeReadAreNamedWithoutWaiting) {
  const fs::path root = Root();
  struct Row {
    const char* what;
    void (*make)(const fs::path& root);
    std::string args;
    std::string err;  // expected on stderr
    std::string out;  // expected on stdout
  };
  const auto damaged = [](const fs::path& r) {
    WriteVolume(r, {OneEntry("jiten")});
    ASSERT_TRUE(mkbook::CompressVolume(r.string(), 0));
    mkbook::damage::Overwrite(r / "jiten/data/honmon.ebz", 5, "\x7F");  // no such mode and level
  };
  const Row rows[] = {
      {"damaged body", damaged, "text " + Root(),
       "jiten/data/honmon.ebz at 1:0: the file cannot be opened", ""},
      {"damaged body", damaged, "books " + Root(), "", "(cannot be opened)"},
      {"CATALOGS", [](const fs::path& r) { MakeFifo(r / "CATALOGS"); }, "books " + Root(),
       "no book volume", ""},
      {"HONMON",
       [](const fs::path& r) {
         WriteVolume(r, {OneEntry("jiten")});
         fs::remove(r / "jiten" / "data" / "honmon");
         MakeFifo(r / "jiten" / "data" / "HONMON");
       },
       "text " + Root(), "data/HONMON at 1:0: the file cannot be opened", ""},
      // The split layout's search passes the FIFO by and finds the body.
      {"split-layout file",
       [](const fs::path& r) {
         WriteVolume(r, {SplitSubbook("text/honmon")});
         MakeFifo(r / "split" / "data" / "a" / "HONMON");
       },
       "text " + Root(), "", "分割本文"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    fs::remove_all(root);
    fs::create_directories(root);
    row.make(root);
    const CliRun r = RunCli(row.args, kTimeout);
    EXPECT_FALSE(r.timedOut);
    EXPECT_TRUE(Has(r.err, row.err)) << r.err;
    EXPECT_TRUE(Has(r.out, row.out)) << r.out;
  }
}

// ---- Damaged catalogs and index pages -------------------------------------------------

TEST_F(BookFilesTest, CatalogDirectoryNamesStayInsideTheVolume) {
  // The volume lies three levels down; a body file waits outside at every
  // place a directory name could lead to.
  const fs::path root = dir_ / "p" / "q" / "vol";
  for (const char* name : {"../../..", "..", "x/../..", "..\\..", "/"}) {
    SCOPED_TRACE(name);
    fs::remove_all(dir_ / "p");
    std::string slashed = name;
    std::replace(slashed.begin(), slashed.end(), '\\', '/');
    const fs::path outside =
        fs::path(root.string() + "/" + slashed + "/data/honmon").lexically_normal();
    mkbook::WriteBytes(outside, OneEntry("x", "外の本文").body);
    fs::create_directories(root / "x");
    WriteVolume(root, {OneEntry(name)});

    const CliRun books = RunCli("books " + root.string());
    EXPECT_TRUE(Has(books.out, "(cannot be opened)")) << books.out;
    const CliRun text = RunCli("text " + root.string());
    EXPECT_FALSE(Has(text.out, "外の本文"));
    EXPECT_TRUE(Has(text.err, "the file cannot be opened")) << text.err;
  }
}

TEST_F(BookFilesTest, IndexEntriesBeyondThePageNumbersAreLeftOut) {
  WriteVolume(Root(), {testing::SimpleSubbook("辞典", "jiten",
                                              {{0x91, 0x80000000u, 1, {}},
                                               {0x80, 0xFFFFFFFFu, 0xFFFFFFFFu, {}},
                                               {0x01, 0x80000001u, 2, {}}})});
  for (const char* command : {"books", "text", "search", "menu"}) {
    const std::string extra = std::string(command) == "search" ? " あ --all" : "";
    const CliRun r = RunCli(std::string(command) + " " + Root() + extra, kTimeout);
    ASSERT_FALSE(r.timedOut) << command;
    // "runtime error" is a sanitizer's report.
    for (const char* wrong : {"pages -", "index 0x91", "index 0x80", "runtime error", "Seek error"})
      EXPECT_FALSE(Has(r.out + r.err, wrong)) << command << "\n" << r.out << r.err;
  }
}

}  // namespace
}  // namespace morva::cli
