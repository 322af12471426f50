// The search commands of morva-cli end to end: search, menu, multi and
// fulltext, their output and exit statuses.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "tests/cli/cli_runner.h"
#include "tests/support/answer_key.h"
#include "tests/support/book_test.h"

namespace morva::cli {
namespace {

std::string Quote(const std::string& s) { return "'" + s + "'"; }

std::string SmallBook() { return (testing::SharedBooks() / "edict-small").string(); }

// Scripts get the whole heading line, however long: every heading of more
// than 50 bytes in the answer key comes out whole from search, and one from
// fulltext.
TEST(SearchCommandTest, LongHeadingsPrintWhole) {
  MORVA_REQUIRE_SHARED_BOOKS();
  const testing::AnswerKey key = testing::ReadAnswerKey("edict-small.tsv");
  int checked = 0;
  for (const auto& row : key.rows) {
    const std::string& heading = key.Get(row, "heading");
    const std::string keys = key.Get(row, "word_keys_normalized");
    const std::string first = keys.substr(0, keys.find('|'));
    if (heading.size() < 75 || heading.find('{') != std::string::npos ||
        first.find('\'') != std::string::npos) {
      continue;  // 25 characters of 3 UTF-8 bytes are 50 Shift-JIS bytes
    }
    const std::string line = key.Get(row, "text_pos") + "\t" + heading + "\n";
    const CliRun r = RunCli("search " + SmallBook() + " " + Quote(first));
    EXPECT_TRUE(Has(r.out, line)) << line << r.out;
    ++checked;
  }
  EXPECT_GT(checked, 20);
  const CliRun text = RunCli("fulltext " + SmallBook() + " " + Quote("occupy wall street"));
  EXPECT_TRUE(
      Has(text.out, "\tウォールストリートをせんきょせよ【ウォールストリートを占拠せよ】\n"));
}

// Output and exit statuses of search, menu and fulltext; "~" before the
// expected output asks only that it be contained. Queries count up to 127
// bytes; longer ones are cut (the word then falls beyond the cut).
TEST(SearchCommandTest, FullTextFromAnEntry) {
  MORVA_REQUIRE_SHARED_BOOKS();
  const CliRun later =
      RunCli("fulltext " + SmallBook() + " million --from " + Quote("いっせんまん"));
  const CliRun all = RunCli("fulltext " + SmallBook() + " million");
  EXPECT_TRUE(later.out.starts_with("2:102\t")) << later.out;
  EXPECT_TRUE(all.out.starts_with("2:106\t")) << all.out;
  EXPECT_EQ(later.out.substr(later.out.find('\n')), all.out.substr(all.out.find('\n')));
}

TEST(SearchCommandTest, OutputAndStatuses) {
  MORVA_REQUIRE_SHARED_BOOKS();
  const std::string word = Quote("ＴＥＮＭＩＬＬＩＯＮ");  // 30 bytes in Shift-JIS
  const std::string heading = "いっせんまん【１０００万】\n";
  struct Case {
    std::string args;  // after the command and the volume
    int status;
    std::string out;
  };
  const Case cases[] = {
      {"search " + word, 0, "2:102\t" + heading},
      {"show 2:102", 0, "~\n  (num) 10,000,000; ten million\n[hA121]"},
      {"search " + word + " --all", 0, "~ten million"},
      {"search zzqqxyzzy", 3, ""},
      {"search", 2, ""},
      {"search word --bogus", 2, ""},
      {"search " + Quote(std::string(100000, '(')), 3, ""},
      {"fulltext " + Quote(std::string(100000, '(')), 0, "~"},
      {"search " + Quote(std::string(97, ' ') + "ＴＥＮＭＩＬＬＩＯＮ"), 0, "~2:102"},
      {"search " + Quote(std::string(126, ' ') + "ＴＥＮＭＩＬＬＩＯＮ"), 3, ""},
      // The book's menu lines are links, not menu candidates: the whole menu
      // is offered instead.
      {"menu", 0, "411:0\t[メニュー全体]\n"},
      {"menu --whole", 0, "411:0\t[メニュー全体]\n"},
      {"fulltext " + Quote("ten million"), 0,
       "2:106\t" + heading},  // the topic starts at the headword
      {"fulltext " + Quote("Ten Million") + " --case", 3, ""},
      {"fulltext zzqqxyzzy", 3, ""},
  };
  for (const Case& c : cases) {
    const size_t space = c.args.find(' ');
    const CliRun r = RunCli(c.args.substr(0, space) + " " + SmallBook() +
                            (space == std::string::npos ? "" : c.args.substr(space)));
    EXPECT_EQ(r.status, c.status) << c.args.substr(0, 80);
    if (c.out.starts_with("~")) {
      EXPECT_TRUE(Has(r.out, c.out.substr(1))) << c.args.substr(0, 80) << "\n" << r.out;
    } else {
      EXPECT_EQ(r.out, c.out) << c.args.substr(0, 80);
    }
  }
  EXPECT_EQ(RunCli("search /nonexistent/volume word").status, 1);
}

// A volume with one compound search: a name field and a country field with
// candidates.
class MultiCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const testing::CompoundForms forms = [](mkbook::SubbookPages& pages,
                                            const mkbook::CompoundIndex& names,
                                            const mkbook::CompoundIndex& countries) {
      const int32_t list = mkbook::AddCandidateLists(pages, {{"日本"}, {"英国"}});
      return std::vector<testing::CompoundForm>{{{"名前", names}, {"国", countries, list}}};
    };
    testing::WriteVolume(dir_.path() / "vol",
                         {testing::PeopleSubbook({{"たなか", "日本"}, {"すみす", "英国"}}, forms)});
  }
  std::string Volume() const { return (dir_.path() / "vol").string(); }
  testing::TempDir dir_;
};

TEST_F(MultiCommandTest, ListsFormsSearchesFilledFieldsAndGroups) {
  MORVA_REQUIRE_SHARED_BOOKS();
  EXPECT_EQ(RunCli("multi " + Volume() + " --list").out,
            "1\t複合 1/1\n\t1\t名前\n\t2\t国\tcandidates\n");
  const CliRun found =
      RunCli("multi " + Volume() + " --form 1 --field 1=たなか --field " + Quote("2=日本"));
  EXPECT_TRUE(Has(found.out, "\tたなか\n")) << found.out;
  EXPECT_EQ(RunCli("multi " + Volume() + " --form 1 --field 1=たなか --field 2=英国").status, 3);
  EXPECT_EQ(RunCli("multi " + Volume() + " --form 2 --field 1=x").status, 2);
  EXPECT_EQ(RunCli("multi " + Volume() + " --form 1 --field 3=x").status, 2);
  EXPECT_EQ(RunCli("multi " + Volume()).status, 2);

  // A group search covers the group or its marked books: the test volume
  // (marked) and edict-small; then edict-small and a volume that is gone.
  const std::string small = ",,," + SmallBook() + ",1,,FF00,SML,no\n";
  testing::WriteFile(dir_ / "books.grp", "[g]\nPeople,,," + Volume() + ",1,,FF,PPL,yes\nSmall" +
                                             small + "[h]\nSmall" + small +
                                             "Gone,,,/nonexistent/volume,1,,FF00,GON,no\n");
  const std::string file = (dir_ / "books.grp").string();
  const CliRun both =
      RunCli("search --books " + file + " --group g " + Quote("た or ＴＥＮＭＩＬＬＩＯＮ"));
  EXPECT_TRUE(Has(both.out, "SML\t2:102\t")) << both.out;
  const CliRun marked =
      RunCli("search --books " + file + " --group g --marked " + Quote("ＴＥＮＭＩＬＬＩＯＮ"));
  EXPECT_EQ(marked.status, 3);
  EXPECT_EQ(RunCli("search --books " + file + " --group nothere word").status, 1);
  // A book that cannot be opened is named, the others searched, status 1.
  const CliRun partial =
      RunCli("search --books " + file + " --group h " + Quote("ＴＥＮＭＩＬＬＩＯＮ"));
  EXPECT_EQ(partial.status, 1);
  EXPECT_EQ(partial.out, "SML\t2:102\tいっせんまん【１０００万】\n");
  EXPECT_TRUE(Has(partial.err, "GON (/nonexistent/volume) cannot be opened")) << partial.err;
  EXPECT_EQ(RunCli("search --books " + file + " word").status, 2);
  // A FIFO in place of the group file is refused, not waited on.
  const std::string fifo = (dir_ / "fifo.grp").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const CliRun r = RunCli("search --books " + fifo + " --group g word", 20);
  EXPECT_FALSE(r.timedOut);
  EXPECT_EQ(r.status, 1) << r.err;
  EXPECT_TRUE(Has(r.err, "cannot read")) << r.err;
}

}  // namespace
}  // namespace morva::cli
