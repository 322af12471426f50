#include "engine/search/wordlist.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "tests/support/book_test.h"

namespace morva {
namespace {

using testing::Bodies;
using testing::RecordedBox;
using V = std::vector<BookAddress>;

BookAddress A(int32_t page, int32_t offset = 0) { return {page, offset}; }

class WordlistTest : public testing::BookTest {
 protected:
  Wordlist& list_ = hits_;
};

TEST_F(WordlistTest, RepeatedItemIsStoredOnceOnlyWhenItFollowsItself) {
  list_.Append(A(5), A(10, 4), 0);
  list_.Append(A(6), A(10, 4), 0);  // same body and book: skipped
  list_.Append(A(6), A(10, 4), 1);  // another book
  list_.Append(A(6), A(11), 1);
  list_.Append(A(6), A(10, 4), 1);  // again, after a different item
  EXPECT_EQ(Bodies(list_), (V{A(10, 4), A(10, 4), A(11), A(10, 4)}));
  EXPECT_EQ(list_.Item(0).heading, A(5));
}

TEST_F(WordlistTest, GrowsByTwoThousandItemsAndReportsAFailedGrowth) {
  for (int i = 0; i < 2001; ++i) list_.Append(A(1), A(i + 1), 0);
  EXPECT_EQ(list_.Capacity(), 4000);
  for (int i = 0; i < 2001; ++i) ASSERT_EQ(list_.Item(i).body, A(i + 1));
  EXPECT_TRUE(reporter_.boxes().empty());

  Wordlist capped(reporter_);
  capped.LimitCapacity(2000);
  EXPECT_FALSE(capped.AppendAll(list_));  // stops at the first failure
  EXPECT_EQ(capped.Count(), 2000);
  EXPECT_EQ(reporter_.Count(RecordedBox::kFatal), 1);
  EXPECT_EQ(reporter_.Last(RecordedBox::kFatal), "項目リスト用の記憶域を確保できません。");
  list_.Empty();
  EXPECT_EQ(list_.Capacity(), 0);
}

TEST_F(WordlistTest, ConsecutiveDuplicatesAndMarks) {
  list_.RemoveConsecutiveDuplicates();
  list_.SetMarks(true);
  EXPECT_TRUE(list_.IsEmpty());
  for (auto [heading, body, book] :
       {std::tuple{1, 3, 0}, {2, 3, 1}, {3, 4, 1}, {4, 4, 2}, {5, 3, 2}})
    list_.Append(A(heading), A(body), book);
  list_.SetMarks(true);
  list_.RemoveConsecutiveDuplicates();  // equal bodies of other books count too
  EXPECT_EQ(Bodies(list_), (V{A(3), A(4), A(3)}));
  EXPECT_EQ(list_.Item(1).heading, A(3));
  EXPECT_EQ(list_.MarkedCount(), 3);
  list_.SetMark(1, false);
  EXPECT_EQ(list_.MarkedCount(), 2);
}

TEST_F(WordlistTest, SortsOrderBySignedPageOffsetAndBookMovingWholeItems) {
  list_.Append(A(1), A(7, 9), 2);
  list_.Append(A(2), A(-3, 0), 1);
  list_.Append(A(3), A(7, 2), 1);
  list_.Append(A(4), A(7, 9), 0);
  list_.SetMark(0, true);
  list_.SortByBody();
  EXPECT_EQ(Bodies(list_), (V{A(-3), A(7, 2), A(7, 9), A(7, 9)}));
  EXPECT_EQ(list_.Item(2).book, 2);  // equal keys keep their order
  EXPECT_TRUE(list_.Item(2).mark);
  EXPECT_TRUE(list_.Contains(A(-3)));
  EXPECT_FALSE(list_.Contains(A(7, 3)));
  list_.SortByBookAndBody();
  EXPECT_EQ(Bodies(list_), (V{A(7, 9), A(-3), A(7, 2), A(7, 9)}));
  EXPECT_EQ(list_.Item(0).heading, A(4));
}

// Random "and", "not" and "or" combinations against a plain model.
TEST_F(WordlistTest, SetOperationsMatchAModel) {
  std::mt19937 random(20240501);
  auto address = [&] {
    return A(1 + static_cast<int>(random() % 40), static_cast<int>(random() % 3));
  };
  for (int round = 0; round < 300; ++round) {
    Wordlist target(reporter_);
    Wordlist operand(reporter_);
    V model;
    std::set<BookAddress> operandSet;
    for (int i = 0; i < round % 30; ++i) {
      const BookAddress b = address();
      if (model.empty() || model.back() != b) model.push_back(b);
      target.Append(A(1), b, 0);
    }
    for (int i = 0; i < (round * 7) % 25; ++i) {
      const BookAddress b = address();
      operandSet.insert(b);
      operand.Append(A(1), b, 0);
    }
    if (round % 3 == 2) {  // or
      for (BookAddress b : Bodies(operand)) model.push_back(b);
      model.erase(std::unique(model.begin(), model.end()), model.end());
      target.AppendAll(operand);
      target.RemoveConsecutiveDuplicates();
    } else {  // and / not
      const bool keep = round % 3 == 0;
      std::erase_if(model, [&](BookAddress b) { return (operandSet.count(b) != 0) != keep; });
      target.Filter(operand, keep);
    }
    ASSERT_EQ(Bodies(target), model) << "round " << round;
  }
}

}  // namespace
}  // namespace morva
