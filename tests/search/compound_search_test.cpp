// Compound searches: reading the definitions, the fields' candidate lists,
// and the query the filled fields make.
#include "engine/search/compound_search.h"

#include <gtest/gtest.h>

#include "engine/search/compound.h"
#include "engine/search/index_search.h"
#include "tests/support/book_test.h"
#include "tools/mkbook/compound.h"

namespace morva {
namespace {

using testing::Bodies;
using testing::J;
using testing::S;

using testing::Person;

// A volume whose sub-book lists people, with compound searches over their
// names (typed) and countries (chosen from a list with a nested part).
class CompoundBookTest : public testing::BookTest {
 protected:
  using Form = testing::CompoundForm;
  void Write(const std::vector<Person>& people, const testing::CompoundForms& forms,
             int32_t indexPage = 1, const std::string& info = "") {
    testing::WriteVolume(dir_.path() / "vol",
                         {testing::PeopleSubbook(people, forms, indexPage, &bodies_)});
    if (!info.empty()) {
      testing::WriteFile(dir_ / "info.dat", S(info));
      disk_.settings().dicInfoPath = (dir_ / "info.dat").string();
    }
    books_ = {BookBarEntry{}, BookBarEntry{"P", (dir_.path() / "vol").string(), "", 0, false}};
    ASSERT_TRUE(disk_.SelectSubbook(1));
  }

  // The usual form: a typed name field and a country field with candidates.
  static std::vector<Form> NameAndCountry(mkbook::SubbookPages& pages,
                                          const mkbook::CompoundIndex& names,
                                          const mkbook::CompoundIndex& countries) {
    const int32_t list =
        mkbook::AddCandidateLists(pages, {{"日本"}, {"中国"}, {"その他", {{"米国"}, {"英国"}}}});
    return {{{"名前", names}, {"国", countries, list}}};
  }

  std::vector<Person> people_{
      {"たなか", "日本"}, {"すみす", "英国"}, {"たなか", "英国"}, {"りー", "中国"}};
  std::vector<BookAddress> bodies_;
  CompoundSearch form_{disk_};
};

TEST_F(CompoundBookTest, BookWithoutCompoundSearchShowsNoFields) {
  Write(people_, nullptr);
  EXPECT_EQ(CompoundSearchCount(disk_), 0);
  const CompoundSearch::LoadResult loaded = form_.Load(0);
  EXPECT_EQ(loaded.status, "");
  EXPECT_FALSE(loaded.firstField.showCandidates);
  for (int f = 0; f < CompoundSearch::kMaxFields; ++f) EXPECT_FALSE(form_.field(f).exists);
  EXPECT_EQ(form_.CurrentField(), -1);
  EXPECT_EQ(form_.BuildQuery(), "");
  EXPECT_FALSE(LoadFieldIndex(disk_, 0, 0));
}

TEST_F(CompoundBookTest, LoadReadsLabelsAndEntersTheFirstField) {
  Write(people_, NameAndCountry);
  EXPECT_EQ(CompoundSearchCount(disk_), 1);
  const CompoundSearch::LoadResult loaded = form_.Load(0);
  EXPECT_EQ(loaded.status, S("複合 1/1"));
  EXPECT_FALSE(loaded.firstField.showCandidates);
  EXPECT_EQ(loaded.firstField.caption, S("名前"));
  EXPECT_EQ(form_.CurrentField(), 0);
  EXPECT_EQ(form_.field(1).label, S("国"));
  EXPECT_TRUE(form_.field(1).HasCandidates());
  EXPECT_FALSE(form_.field(2).exists);

  const CompoundSearch::FieldEntry entry = form_.EnterField(1);
  EXPECT_TRUE(entry.showCandidates);
  EXPECT_EQ(entry.caption, S("国"));
  EXPECT_EQ(form_.CandidateCount(), 3);
  EXPECT_EQ(form_.CandidateText(0), S("日本"));
  EXPECT_EQ(form_.CandidateText(2), S("その他"));
  EXPECT_FALSE(form_.EnterField(4).showCandidates);
  EXPECT_EQ(form_.CurrentField(), -1);
  EXPECT_TRUE(reporter_.boxes().empty());
}

TEST_F(CompoundBookTest, SevenFieldsShowFiveAndTheLastCandidateListCounts) {
  Write(people_, [](mkbook::SubbookPages& pages, const mkbook::CompoundIndex& names,
                    const mkbook::CompoundIndex&) {
    Form form;
    for (const char* label : {"欄一", "欄二", "欄三", "欄四", "欄五", "欄六", "欄七"})
      form.push_back({label, names});
    std::vector<Form> forms{form};
    // A field with two candidate-list sub-entries: the later one counts.
    const int32_t first = mkbook::AddCandidateLists(pages, {{"一"}});
    const int32_t second = mkbook::AddCandidateLists(pages, {{"二"}, {"三"}});
    (void)first;
    forms.push_back({{"数", names, second}});
    return forms;
  });
  form_.Load(0);
  for (int f = 0; f < 5; ++f) EXPECT_TRUE(form_.field(f).exists) << f;
  EXPECT_EQ(form_.field(4).label, S("欄五"));
  EXPECT_EQ(form_.Count(), 2);
  EXPECT_EQ(form_.Load(1).status, S("複合 2/2"));
  form_.EnterField(0);
  EXPECT_EQ(form_.CandidateCount(), 2);
}

TEST_F(CompoundBookTest, TypedAndChosenFieldsMakeOneQueryThatSearchesBoth) {
  Write(people_, NameAndCountry);
  form_.Load(0);
  form_.SetFieldText(0, S(" たなか "));
  form_.EnterField(1);
  // The third row opens the nested list; Back returns to the top list.
  EXPECT_EQ(form_.SelectCandidate(2), CompoundSearch::Selection::kNested);
  EXPECT_EQ(form_.CandidateCount(), 2);
  EXPECT_EQ(form_.CandidateText(1), S("英国"));
  form_.Back();
  EXPECT_EQ(form_.CandidateCount(), 3);
  form_.SelectCandidate(2);
  EXPECT_EQ(form_.SelectCandidate(1), CompoundSearch::Selection::kValue);
  EXPECT_EQ(form_.field(1).text, S("英国"));
  EXPECT_EQ(form_.field(1).chosenLine, 1);

  const std::string query = form_.BuildQuery();
  EXPECT_EQ(query, S("@00\"たなか\" @01\"英国\" "));
  EXPECT_EQ(form_.field(0).buffer, S("たなか"));
  EXPECT_EQ(Search(disk_, hits_, books_, query, 1), S("1 項目"));
  EXPECT_EQ(Bodies(hits_), std::vector<BookAddress>{bodies_[2]});

  // Typing into a field after choosing a candidate: the typed text counts.
  form_.SetFieldText(1, S("日本"));
  EXPECT_EQ(form_.BuildQuery(), S("@00\"たなか\" @01\"日本\" "));
  EXPECT_EQ(Search(disk_, hits_, books_, form_.BuildQuery(), 1), S("1 項目"));
  EXPECT_EQ(Bodies(hits_), std::vector<BookAddress>{bodies_[0]});
  EXPECT_TRUE(reporter_.boxes().empty());
}

TEST_F(CompoundBookTest, ChosenExternalCharactersGoIntoTheQueryAsTheirCodes) {
  people_.push_back({"かなだ", "ＣＡ{A121}"});
  Write(people_, [](mkbook::SubbookPages& pages, const mkbook::CompoundIndex& names,
                    const mkbook::CompoundIndex& countries) {
    mkbook::BodyText list({pages.NextFreePage(), 0});
    list.Text("日本").Newline().Text("ＣＡ").Gaiji(0xA121).Newline().Newline();
    return std::vector<Form>{
        {{"名前", names}, {"国", countries, pages.file().AppendPages(list.Bytes())}}};
  });
  form_.Load(0);
  form_.EnterField(1);
  EXPECT_EQ(form_.CandidateText(1), S("ＣＡ") +
                                        "\x0B"
                                        "1\xA1\x21");
  ASSERT_EQ(form_.SelectCandidate(1), CompoundSearch::Selection::kValue);
  EXPECT_EQ(form_.field(1).text, S("ＣＡ＿"));
  const std::string query = form_.BuildQuery();
  EXPECT_EQ(query, "@01\"" + S("ＣＡ") + "\xA1\x21\" ");
  EXPECT_EQ(Search(disk_, hits_, books_, query, 1), S("1 項目"));
  EXPECT_EQ(Bodies(hits_), std::vector<BookAddress>{bodies_.back()});
}

TEST_F(CompoundBookTest, QueryLeavesOutFieldsThatDoNotFit) {
  Write(people_, [](mkbook::SubbookPages&, const mkbook::CompoundIndex& names,
                    const mkbook::CompoundIndex&) {
    return std::vector<Form>{{{"一", names}, {"二", names}, {"三", names}}};
  });
  form_.Load(0);
  const std::string sixty(60, 'a');
  form_.SetFieldText(0, sixty);
  form_.SetFieldText(1, sixty);  // 66 + 66 bytes would reach 128
  form_.SetFieldText(2, "b");
  EXPECT_EQ(form_.BuildQuery(), "@00\"" + sixty + "\" @02\"b\" ");
  // An untouched field without a chosen candidate gives nothing.
  form_.Load(0);  // the same search again: the fields keep their values
  EXPECT_EQ(form_.field(2).text, "b");
  form_.Reset();
  form_.Load(0);
  EXPECT_EQ(form_.BuildQuery(), "");
}

TEST_F(CompoundBookTest, NamesComeFromTheBooksMultiValue) {
  Write(
      people_,
      [](mkbook::SubbookPages& pages, const mkbook::CompoundIndex& names,
         const mkbook::CompoundIndex& c) {
        const std::vector<Form> one = NameAndCountry(pages, names, c);
        return std::vector<Form>{one[0], one[0], one[0]};
      },
      1, "[人名]\nMULTI=人物,国別\n");
  EXPECT_EQ(form_.Load(0).status, S("人物 1/3"));
  EXPECT_EQ(form_.Load(1).status, S("国別 2/3"));
  EXPECT_EQ(form_.Load(2).status, S("複合 3/3"));
  EXPECT_EQ(form_.Load(5).status, "");
  EXPECT_EQ(form_.Loaded(), -1);
}

TEST_F(CompoundBookTest, FieldIndexesAreFoundOnAnIndexPageBeyondPageOne) {
  Write(people_, NameAndCountry, 3);
  EXPECT_EQ(disk_.subbook().indexPage, 3);
  ASSERT_TRUE(LoadFieldIndex(disk_, 0, 1));
  EXPECT_NE(disk_.subbook().indexes.Start(0xFF), 0);
  EXPECT_EQ(Search(disk_, hits_, books_, S("@01\"英国\""), 1), S("2 項目"));
  EXPECT_EQ(Bodies(hits_), (std::vector<BookAddress>{bodies_[1], bodies_[2]}));
  EXPECT_FALSE(LoadFieldIndex(disk_, 0, 2));
  EXPECT_EQ(disk_.subbook().indexes.Start(0xFF), 0);
}

TEST_F(CompoundBookTest, DamagedDefinitionsStayInsideThePage) {
  Write(people_, [](mkbook::SubbookPages&, const mkbook::CompoundIndex& names,
                    const mkbook::CompoundIndex&) {
    return std::vector<Form>{{{"名前", names}}};
  });
  // Claim 200 sub-entries for the field and 9 fields on the page.
  const int32_t page = CompoundDefinitionPage(disk_, 0);
  ASSERT_GT(page, 0);
  std::string body = testing::ReadFile(dir_.path() / "vol/people/data/honmon");
  body[static_cast<size_t>((page - 1) * kPageSize + 1)] = 9;
  body[static_cast<size_t>((page - 1) * kPageSize + 16)] = static_cast<char>(200);
  testing::WriteFile(dir_.path() / "vol/people/data/honmon", body);
  disk_.ForgetCurrentSubbook();
  ASSERT_TRUE(disk_.SelectSubbook(1));
  form_.Reset();
  form_.Load(0);
  EXPECT_TRUE(form_.field(0).exists);
  EXPECT_EQ(form_.field(0).label, S("名前"));
  EXPECT_FALSE(form_.field(1).exists);  // its record would begin beyond the page
}

}  // namespace
}  // namespace morva
