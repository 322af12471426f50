// The real books through morva-cli. They read as their answer keys say:
// walking the small book's body item by item, each item starting where the
// one before ended, as the text command does, meets every entry at its
// address, and its marked text holds exactly the key's plain text.
#include "tests/support/answer_key.h"

#include <gtest/gtest.h>

#include <cstring>

#include "cli/book_session.h"
#include "engine/book/text_utils.h"
#include "engine/decode/content.h"
#include "engine/text/sjis.h"
#include "engine/text/unicode.h"
#include "tests/cli/cli_runner.h"
#include "tools/mkbook/ebzip_writer.h"

namespace morva::cli {
namespace {

using testing::AnswerKey;
namespace fs = std::filesystem;

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
  std::string error;
  auto session = BookSession::Open({(testing::SharedBooks() / book).string(), 1}, "", &error);
  ASSERT_TRUE(session) << error;
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
    if (at != want || PlainText(marked) != WithoutTrailingNewLines(text)) {
      ++mismatches;
      ADD_FAILURE() << book << " entry " << key.Get(row, "text_pos") << " read at " << at.page
                    << ":" << at.offset << ": " << PlainText(marked) << "\nwant: " << text;
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
// output.
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
      const fs::path packed = dir / (name + "-" + std::to_string(level));
      if (!fs::exists(packed)) {
        CopySharedBook(name, packed);
        ASSERT_TRUE(mkbook::CompressVolume(packed.string(), level));
      }
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
        EXPECT_TRUE(Has(RunCli("books " + packed.string()).out, "compressed"));
      }
    }
  }
}

// Unicode maps of external characters, on a real book whose headings and
// entries carry them (edict-small, sub-book directory edsmall), seen through
// links so that a map can lie beside it; no map of the user's own is picked up.
TEST(GaijiMapCommandTest, MappedCharactersPrintAsText) {
  MORVA_REQUIRE_SHARED_BOOKS();
  testing::TempDir volume, config, files;
  for (const char* part : {"catalogs", "edsmall"})
    fs::create_directory_symlink(fs::canonical(testing::SharedBooks() / "edict-small" / part),
                                 volume / part);
  ::setenv("XDG_CONFIG_HOME", config.str().c_str(), 1);
  const std::string show = "show " + volume.str() + " 400:698";
  const std::string search = "search " + volume.str() + " いぬ";
  testing::WriteFile(files / "m.map",
                     "# edict-small\nzA122\tu9DF2\nzA121\tu0041,u20DD\nhA122\t-\t+\n");
  const std::string map = " --map " + (files / "m.map").string();
  EXPECT_TRUE(Has(RunCli(search).out, "30:402\tイヌワシ[zA122]\n"));
  const CliRun mapped = RunCli(search + map);
  EXPECT_FALSE(Has(mapped.err, "morva-cli:")) << mapped.err;
  EXPECT_TRUE(Has(mapped.out, "30:402\tイヌワシ鷲\n")) << mapped.out;
  EXPECT_TRUE(Has(mapped.out, "400:698\tいぬ【戌】A\u20DD+\n")) << mapped.out;
  EXPECT_TRUE(RunCli(show + map).out.starts_with("いぬ【戌】A\u20DD+\n"));
  // Marked text keeps the markers.
  EXPECT_TRUE(Has(RunCli(show + " --format marked" + map).out, "{0B:1A121}"));
  // A "-" entry without replacement text prints the code.
  testing::WriteFile(files / "n.map", "hA122\tnull\n");
  EXPECT_TRUE(RunCli(show + " --map " + (files / "n.map").string())
                  .out.starts_with("いぬ【戌】[zA121][hA122]\n"));
  EXPECT_EQ(RunCli(show + " --map /nonexistent.map").err,
            "morva-cli: cannot read the map /nonexistent.map\n");

  // A map beside the volume: one warning naming the file and the first bad
  // line; the rest applies.
  testing::WriteFile(volume / "EdSmall.MAP", "zA121\tu00E9\nzA122 u9DF2\nbad\nhA122\tu00EA\n");
  const CliRun found = RunCli(show);
  EXPECT_TRUE(found.out.starts_with("いぬ【戌】éê\n")) << found.out;
  EXPECT_EQ(found.err, "morva-cli: " + (volume / "EdSmall.MAP").string() +
                           ":2: malformed line skipped (2 malformed lines in all)\n");
  // The book's own conversion wins over the map, in entries and headings.
  testing::WriteFile(
      files / "info.dat",  // the sub-book's title in Shift-JIS, then a conversion
      "[\x82\x64\x82\x63\x82\x68\x82\x62\x82\x73\x8F\xAC\x8C\x5E\x94\xC5]\nZA121=CONV\n");
  const std::string info = " --info " + (files / "info.dat").string();
  EXPECT_TRUE(RunCli(show + info).out.starts_with("いぬ【戌】CONVê\n"));
  EXPECT_TRUE(Has(RunCli(search + info).out, "いぬ【戌】[zA121]ê\n"));
}

}  // namespace
}  // namespace morva::cli
