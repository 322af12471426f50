// The real books through morva-cli. They read as their answer keys say:
// walking the small book's body item by item, each item starting where the
// one before ended, as the text command does, meets every entry at its
// address, and its marked text holds exactly the key's plain text.
#include "tests/support/answer_key.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "cli/book_session.h"
#include "engine/book/text_utils.h"
#include "engine/decode/content.h"
#include "engine/text/sjis.h"
#include "engine/text/unicode.h"
#include "tests/cli/cli_runner.h"
#include "tests/support/test_dirs.h"
#include "tools/mkbook/ebzip_writer.h"

namespace morva::cli {
namespace {

using testing::AnswerKey;

std::unique_ptr<BookSession> OpenShared(const std::string& book, int subbook = 1) {
  std::string error;
  auto s = BookSession::Open({(testing::SharedBooks() / book).string(), subbook}, "", &error);
  EXPECT_TRUE(s) << error;
  return s;
}

std::string WithoutTrailingNewLines(std::string s) {
  while (!s.empty() && s.back() == '\n') s.pop_back();
  return s;
}

// The key's plain form of marked text: markers dropped, external characters
// as {hXXXX} / {zXXXX}.
std::string PlainText(const std::string& m) {
  std::string sjis;
  for (size_t i = 0; i < m.size(); ++i) {
    const auto b = static_cast<uint8_t>(m[i]);
    if (b == 0x02 && i + 1 < m.size()) {
      i += static_cast<uint8_t>(m[i + 1]) - 0x20;
    } else if (b == 0x09) {
      ++i;
    } else if (b == 0x0B && i + 3 < m.size()) {
      sjis += Format("{%c%02X%02X}", m[i + 1] == '1' ? 'z' : 'h', static_cast<uint8_t>(m[i + 2]),
                     static_cast<uint8_t>(m[i + 3]));
      i += 3;
    } else if (b >= 0x20 || b == '\n') {
      sjis += m[i];
      if (IsSjisLead(b) && i + 1 < m.size()) sjis += m[++i];
    }
  }
  return WithoutTrailingNewLines(SjisToUtf8(sjis));
}

// Checks every n-th entry of the key; with every == 1 the items are walked
// one after the other from the first entry on.
void CheckEntries(const std::string& book, const std::string& keyName, size_t every) {
  const AnswerKey key = testing::ReadAnswerKey(keyName);
  ASSERT_GT(key.rows.size(), 4000u);
  auto session = OpenShared(book);
  ASSERT_TRUE(session);
  TContent content(session->disk());
  int mismatches = 0;
  BookAddress at = key.Address(key.rows[0], "text_pos");
  for (size_t i = 0; i < key.rows.size() && mismatches < 5; i += every) {
    const auto& row = key.rows[i];
    const BookAddress want = key.Address(row, "text_pos");
    if (every != 1) at = want;
    std::string marked;
    const BookAddress next = content.FormatItemTo(BookSession::kRow, at, &marked);
    const std::string text = key.Get(row, "text");
    std::string failure;
    if (at != want) {
      failure = Format("starts at %d:%d", at.page, at.offset);
    } else if (PlainText(marked) != WithoutTrailingNewLines(text)) {
      failure = "marked text: " + PlainText(marked);
    }
    if (!failure.empty()) {
      ++mismatches;
      ADD_FAILURE() << book << " entry " << key.Get(row, "id") << " at " << key.Get(row, "text_pos")
                    << "\n"
                    << failure << "\nwant: " << text;
    }
    at = next;
  }
}

TEST(AnswerKeyTest, EdictSmallEveryEntryInTurn) {
  MORVA_REQUIRE_SHARED_BOOKS();
  CheckEntries("edict-small", "edict-small.tsv", 1);
}

TEST(AnswerKeyTest, EdictFullSampleReadsAtItsAddress) {
  MORVA_REQUIRE_SHARED_BOOKS();
  CheckEntries("edict-full", "edict-full.tsv.gz", 59);
}

// Compressed volumes read exactly as the plain ones: every real book,
// compressed at levels 0, 2 and 5, gives the same text, search and dump
// output. CompressedCopy makes a copy of a shared book compressed at a level.
void CompressedCopy(const std::filesystem::path& target, const std::string& book, int level) {
  std::filesystem::copy(testing::SharedBooks() / book, target,
                        std::filesystem::copy_options::recursive);
  for (auto& e : std::filesystem::recursive_directory_iterator(target))
    std::filesystem::permissions(e.path(), std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add);
  EXPECT_TRUE(mkbook::CompressVolume(target.string(), level));
}

TEST(CompressedBooksTest, ReadLikeThePlainBooks) {
  MORVA_REQUIRE_SHARED_BOOKS();
  const std::pair<const char*, std::vector<std::string>> probes[] = {
      {"ebstudio-sample:1", {"dump 1", "dump 2:0x10", "search This", "text"}},
      {"ebstudio-sample:2", {"dump 2", "text"}},
      {"edict-small",
       {"dump 420", "dump 472:0x123", "show 2:102", "search *ねこ", "search +ＣＡＴ", "menu",
        "copyright", "text"}},
      {"edict-full", {"dump 20000:0x7F0", "search ねこ", "search *ねこ", "search コンピュータ"}},
  };
  testing::TempDir dir;
  for (int level : {0, 2, 5}) {
    for (const auto& [volume, commands] : probes) {
      const std::string name(volume, std::strcspn(volume, ":"));
      const std::string subbook = volume + name.size();
      const std::filesystem::path packed = dir / (name + "-" + std::to_string(level));
      if (!std::filesystem::exists(packed)) CompressedCopy(packed, name, level);
      for (const std::string& c : commands) {
        const size_t space = c.find(' ');
        const std::string verb = c.substr(0, space);
        const std::string rest = space == std::string::npos ? "" : c.substr(space);
        const std::string want =
            RunCli(verb + " " + (testing::SharedBooks() / name).string() + subbook + rest).out;
        EXPECT_FALSE(want.empty()) << c;
        EXPECT_EQ(RunCli(verb + " " + packed.string() + subbook + rest).out, want)
            << volume << " level " << level << ": " << c;
      }
      if (level == 0) {
        EXPECT_NE(RunCli("books " + packed.string()).out.find("compressed"), std::string::npos);
      }
    }
  }
}

// Unicode maps of external characters, on a real book whose headings and
// entries carry them (edict-small, sub-book directory edsmall).
class GaijiMapCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // The volume seen through links, so that a map can lie beside it; no
    // map of the user's own is picked up.
    const auto book = std::filesystem::canonical(testing::SharedBooks() / "edict-small");
    std::filesystem::create_directory_symlink(book / "catalogs", volume_ / "catalogs");
    std::filesystem::create_directory_symlink(book / "edsmall", volume_ / "edsmall");
    ::setenv("XDG_CONFIG_HOME", config_.str().c_str(), 1);
  }
  std::string Volume() const { return volume_.str(); }
  testing::TempDir volume_;
  testing::TempDir config_;
  testing::TempDir files_;
};

TEST_F(GaijiMapCommandTest, MappedCharactersPrintAsText) {
  testing::WriteFile(files_ / "m.map",
                     "# edict-small\nzA122\tu9DF2\nzA121\tu0041,u20DD\nhA122\t-\t+\n");
  const std::string map = " --map " + (files_ / "m.map").string();
  EXPECT_NE(RunCli("search " + Volume() + " いぬ").out.find("30:402\tイヌワシ[zA122]\n"),
            std::string::npos);

  const CliRun search = RunCli("search " + Volume() + " いぬ" + map);
  EXPECT_EQ(search.status, 0);
  EXPECT_EQ(search.err.find("morva-cli:"), std::string::npos) << search.err;
  EXPECT_NE(search.out.find("30:402\tイヌワシ鷲\n"), std::string::npos) << search.out;
  EXPECT_NE(search.out.find("400:698\tいぬ【戌】A\u20DD+\n"), std::string::npos) << search.out;
  EXPECT_EQ(RunCli("show " + Volume() + " 400:698" + map).out.rfind("いぬ【戌】A\u20DD+\n", 0), 0u);
  // Marked text keeps the markers.
  EXPECT_NE(RunCli("show " + Volume() + " 400:698 --format marked" + map).out.find("{0B:1A121}"),
            std::string::npos);
  // A "-" entry without replacement text prints the code.
  testing::WriteFile(files_ / "n.map", "hA122\tnull\n");
  EXPECT_EQ(RunCli("show " + Volume() + " 400:698 --map " + (files_ / "n.map").string())
                .out.rfind("いぬ【戌】[zA121][hA122]\n", 0),
            0u);
}

TEST_F(GaijiMapCommandTest, MapBesideTheVolumeWarningsAndPrecedence) {
  testing::WriteFile(volume_ / "EdSmall.MAP", "zA121\tu00E9\nzA122 u9DF2\nbad\nhA122\tu00EA\n");
  const CliRun found = RunCli("show " + Volume() + " 400:698");
  EXPECT_EQ(found.out.rfind("いぬ【戌】éê\n", 0), 0u) << found.out;
  // One warning naming the file and the first bad line; the rest applies.
  EXPECT_EQ(found.err, "morva-cli: " + (volume_ / "EdSmall.MAP").string() +
                           ":2: malformed line skipped (2 malformed lines in all)\n");

  // The book's own conversion wins over the map, in entries and headings.
  testing::WriteFile(
      files_ / "info.dat",  // the sub-book's title in Shift-JIS, then a conversion
      "[\x82\x64\x82\x63\x82\x68\x82\x62\x82\x73\x8F\xAC\x8C\x5E\x94\xC5]\nZA121=CONV\n");
  const std::string info = " --info " + (files_ / "info.dat").string();
  EXPECT_EQ(RunCli("show " + Volume() + " 400:698" + info).out.rfind("いぬ【戌】CONVê\n", 0), 0u);
  EXPECT_NE(RunCli("search " + Volume() + " いぬ" + info).out.find("いぬ【戌】[zA121]ê\n"),
            std::string::npos);

  EXPECT_EQ(RunCli("show " + Volume() + " 400:698 --map /nonexistent.map").err,
            "morva-cli: cannot read the map /nonexistent.map\n");
}

}  // namespace
}  // namespace morva::cli
