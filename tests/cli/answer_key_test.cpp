// The real books read as their answer keys say: every entry's visible text,
// at its address and in the whole-body output.
#include <gtest/gtest.h>

#include "cli/book_session.h"
#include "cli/reading.h"
#include "engine/decode/content.h"
#include "engine/text/unicode.h"
#include "tests/cli/answer_key.h"
#include "tests/support/test_dirs.h"

namespace morva::cli {
namespace {

using testing::AnswerKey;
using testing::FoldVisibleText;
using testing::ReadAnswerKey;

std::unique_ptr<BookSession> OpenShared(const std::string& book, int subbook = 1) {
  std::string error;
  auto s = BookSession::Open({(testing::SharedBooks() / book).string(), subbook}, "", &error);
  EXPECT_TRUE(s) << error;
  if (s) s->disk().decoderState().gaijiMode = GaijiMode::kText;
  return s;
}

BookAddress ParsePos(const std::string& pos) {
  auto a = ParseAddress(pos);
  EXPECT_TRUE(a) << pos;
  return a.value_or(BookAddress{});
}

// Checks every n-th row of the key against `show` at its body address.
void CheckEntries(const std::string& book, const AnswerKey& key, size_t every) {
  auto session = OpenShared(book);
  ASSERT_TRUE(session);
  TContent content(session->disk());
  int mismatches = 0;
  for (size_t i = 0; i < key.rows.size(); i += every) {
    const auto& row = key.rows[i];
    std::string shown;
    RenderItem(content, BookSession::kRow, ParsePos(key.Get(row, "text_pos")), TextFormat::kReadable, &shown);
    const std::string want = FoldVisibleText(key.Get(row, "text"));
    const std::string got = FoldVisibleText(shown);
    if (got != want && ++mismatches <= 5)
      ADD_FAILURE() << book << " entry " << key.Get(row, "id") << " at " << key.Get(row, "text_pos")
                    << "\nwant: " << SjisToUtf8(want) << "\n got: " << SjisToUtf8(got);
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(AnswerKeyTest, EdictSmallEveryEntryReadsAtItsAddress) {
  MORVA_REQUIRE_SHARED_BOOKS();
  const AnswerKey key = ReadAnswerKey((testing::SharedBooks() / "edict-small.tsv").string());
  ASSERT_GT(key.rows.size(), 4000u);
  CheckEntries("edict-small", key, 1);
}

TEST(AnswerKeyTest, EdictSmallWholeBodyHoldsEveryEntryInOrder) {
  MORVA_REQUIRE_SHARED_BOOKS();
  const AnswerKey key = ReadAnswerKey((testing::SharedBooks() / "edict-small.tsv").string());
  auto session = OpenShared("edict-small");
  ASSERT_TRUE(session);
  std::string all;
  const BookAddress body{session->disk().subbook().indexes.Start(0x00), 0};
  RenderBody(session->disk(), BookSession::kRow, body, TextFormat::kReadable,
             [&all](std::string& item) { all += item; return true; });
  const std::string folded = FoldVisibleText(all);
  size_t at = 0;
  int missing = 0;
  for (const auto& row : key.rows) {
    const std::string want = FoldVisibleText(key.Get(row, "text"));
    const size_t found = folded.find(want, at);
    if (found == std::string::npos) {
      if (++missing <= 5) ADD_FAILURE() << "entry " << key.Get(row, "id") << " not found after byte " << at;
      continue;
    }
    at = found + want.size();
  }
  EXPECT_EQ(missing, 0);
}

TEST(AnswerKeyTest, EdictFullSampleReadsAtItsAddress) {
  MORVA_REQUIRE_SHARED_BOOKS();
  const AnswerKey key = testing::ReadGzAnswerKey((testing::SharedBooks() / "edict-full.tsv.gz").string());
  ASSERT_GT(key.rows.size(), 100000u);
  CheckEntries("edict-full", key, 59);
}

TEST(AnswerKeyTest, EbstudioSampleSubbooksOpenAndRead) {
  MORVA_REQUIRE_SHARED_BOOKS();
  for (int sub = 1; sub <= 2; ++sub) {
    auto session = OpenShared("ebstudio-sample", sub);
    ASSERT_TRUE(session);
    EXPECT_FALSE(session->disk().subbook().title.empty());
    std::string all;
    RenderBody(session->disk(), BookSession::kRow, {session->disk().subbook().indexes.Start(0x00), 0},
               TextFormat::kReadable, [&all](std::string& item) { all += item; return true; });
    EXPECT_GT(all.size(), 40u) << "sub-book " << sub;
    if (sub == 1) {
      EXPECT_NE(all.find("これ"), std::string::npos) << all;
    }
  }
}

}  // namespace
}  // namespace morva::cli
