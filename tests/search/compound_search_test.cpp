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
using testing::Person;
using testing::S;
using V = std::vector<BookAddress>;

// A volume whose sub-book lists people, with compound searches over their
// names (typed) and countries (chosen from a list with a nested part).
class CompoundBookTest : public testing::BookTest {
 protected:
  using Form = testing::CompoundForm;
  void Write(const testing::CompoundForms& forms, int32_t indexPage = 1) {
    testing::WriteVolume(dir_.path() / "vol",
                         {testing::PeopleSubbook(people_, forms, indexPage, &bodies_)});
    books_ = {BookBarEntry{}, BookBarEntry{"P", (dir_.path() / "vol").string(), "", 0, false}};
    ASSERT_TRUE(disk_.SelectSubbook(1));
  }
  V Found(const std::string& query) {
    Search(disk_, hits_, books_, query, 1);
    return Bodies(hits_);
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

// The index page lies beyond page one: the field indexes are found there.
TEST_F(CompoundBookTest, TypedAndChosenFieldsMakeOneQueryThatSearchesBoth) {
  Write(NameAndCountry, 3);
  const CompoundSearch::LoadResult loaded = form_.Load(0);
  EXPECT_EQ(loaded.status, S("複合 1/1"));
  EXPECT_FALSE(loaded.firstField.showCandidates);
  EXPECT_EQ(form_.CurrentField(), 0);
  form_.SetFieldText(0, S(" たなか "));
  EXPECT_TRUE(form_.EnterField(1).showCandidates);
  EXPECT_EQ(form_.CandidateCount(), 3);
  EXPECT_EQ(form_.CandidateText(0), S("日本"));
  // The third row opens the nested list; Back returns to the top list.
  EXPECT_EQ(form_.SelectCandidate(2), CompoundSearch::Selection::kNested);
  EXPECT_EQ(form_.CandidateCount(), 2);
  EXPECT_EQ(form_.CandidateText(1), S("英国"));
  form_.Back();
  EXPECT_EQ(form_.CandidateCount(), 3);
  form_.SelectCandidate(2);
  EXPECT_EQ(form_.SelectCandidate(1), CompoundSearch::Selection::kValue);
  EXPECT_EQ(form_.field(1).text, S("英国"));
  EXPECT_EQ(form_.BuildQuery(), S("@00\"たなか\" @01\"英国\" "));
  EXPECT_EQ(Found(form_.BuildQuery()), V{bodies_[2]});
  // Typing into a field after choosing a candidate: the typed text counts.
  form_.SetFieldText(1, S("日本"));
  EXPECT_EQ(form_.BuildQuery(), S("@00\"たなか\" @01\"日本\" "));
  EXPECT_EQ(Found(form_.BuildQuery()), V{bodies_[0]});
  EXPECT_FALSE(form_.EnterField(4).showCandidates);
  EXPECT_FALSE(LoadFieldIndex(disk_, 0, 2));
  EXPECT_EQ(disk_.subbook().indexes.Start(0xFF), 0);
  EXPECT_TRUE(reporter_.boxes().empty());
}

TEST_F(CompoundBookTest, ChosenExternalCharactersGoIntoTheQueryAsTheirCodes) {
  people_.push_back({"かなだ", "ＣＡ{A121}"});
  Write([](mkbook::SubbookPages& pages, const mkbook::CompoundIndex& names,
           const mkbook::CompoundIndex& countries) {
    mkbook::BodyText list({pages.NextFreePage(), 0});
    list.Text("日本").Newline().Text("ＣＡ").Gaiji(0xA121).Newline().Newline();
    return std::vector<Form>{
        {{"名前", names}, {"国", countries, pages.file().AppendPages(list.Bytes())}}};
  });
  form_.Load(0);
  form_.EnterField(1);
  EXPECT_EQ(form_.CandidateText(1), S("ＣＡ") + "\x0B\x31\xA1\x21");
  ASSERT_EQ(form_.SelectCandidate(1), CompoundSearch::Selection::kValue);
  EXPECT_EQ(form_.field(1).text, S("ＣＡ＿"));
  const std::string query = form_.BuildQuery();
  EXPECT_EQ(query, "@01\"" + S("ＣＡ") + "\xA1\x21\" ");
  EXPECT_EQ(Found(query), V{bodies_.back()});
}

// Seven fields show five; of a field's two candidate lists the later counts.
TEST_F(CompoundBookTest, LaterSearchesTheirNamesFromTheBooksMultiValueAndTheirFields) {
  WriteInfo(S("[人名]\nMULTI=人物,国別\n"));
  Write([](mkbook::SubbookPages& pages, const mkbook::CompoundIndex& names,
           const mkbook::CompoundIndex&) {
    std::vector<Form> forms(3);
    for (const char* label : {"欄一", "欄二", "欄三", "欄四", "欄五", "欄六", "欄七"})
      forms[0].push_back({label, names});
    mkbook::AddCandidateLists(pages, {{"一"}});
    forms[1].push_back({"数", names, mkbook::AddCandidateLists(pages, {{"二"}, {"三"}})});
    forms[2].push_back({"名前", names});
    return forms;
  });
  EXPECT_EQ(form_.Load(0).status, S("人物 1/3"));
  for (int f = 0; f < 5; ++f) EXPECT_TRUE(form_.field(f).exists) << f;
  EXPECT_EQ(form_.field(4).label, S("欄五"));
  // Fields that do not fit are left out: 66 + 66 bytes would reach 128.
  const std::string sixty(60, 'a');
  form_.SetFieldText(0, sixty);
  form_.SetFieldText(1, sixty);
  form_.SetFieldText(2, "b");
  EXPECT_EQ(form_.BuildQuery(), "@00\"" + sixty + "\" @02\"b\" ");
  form_.Load(0);  // the same search again: the fields keep their values
  EXPECT_EQ(form_.field(2).text, "b");
  form_.Reset();
  form_.Load(0);
  EXPECT_EQ(form_.BuildQuery(), "");  // untouched fields give nothing
  EXPECT_EQ(form_.Load(2).status, S("複合 3/3"));
  EXPECT_EQ(form_.Load(5).status, "");
  EXPECT_EQ(form_.Loaded(), -1);
  EXPECT_EQ(form_.Load(1).status, S("国別 2/3"));
  form_.EnterField(0);
  EXPECT_EQ(form_.CandidateCount(), 2);
  form_.SetFieldText(0, S("たなか"));
  EXPECT_EQ(form_.BuildQuery(), S("@10\"たなか\" "));
  EXPECT_EQ(Found(form_.BuildQuery()), (V{bodies_[0], bodies_[2]}));
}

TEST_F(CompoundBookTest, DamagedDefinitionsStayInsideThePage) {
  Write(NameAndCountry);
  // Claim 200 sub-entries for the first field and 9 fields on the page.
  const int32_t page = CompoundDefinitionPage(disk_, 0);
  ASSERT_GT(page, 0);
  const std::filesystem::path file = dir_.path() / "vol/people/data/honmon";
  std::string body = testing::ReadFile(file);
  body[static_cast<size_t>((page - 1) * kPageSize + 1)] = 9;
  body[static_cast<size_t>((page - 1) * kPageSize + 16)] = static_cast<char>(200);
  testing::WriteFile(file, body);
  disk_.ForgetCurrentSubbook();
  ASSERT_TRUE(disk_.SelectSubbook(1));
  form_.Load(0);
  EXPECT_EQ(form_.field(0).label, S("名前"));
  EXPECT_FALSE(form_.field(1).exists);  // its record would begin beyond the page
}

}  // namespace
}  // namespace morva
