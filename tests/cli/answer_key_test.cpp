// The real books read as their answer keys say. Walking the small book's body
// item by item, each item starting where the one before ended, meets every
// entry at its address; its marked text holds exactly the key's plain text,
// and its readable form the key's visible text.
#include "tests/support/answer_key.h"

#include <gtest/gtest.h>

#include "cli/book_session.h"
#include "cli/reading.h"
#include "engine/book/text_utils.h"
#include "engine/decode/content.h"
#include "engine/text/sjis.h"
#include "engine/text/unicode.h"
#include "tests/support/test_dirs.h"

namespace morva::cli {
namespace {

using testing::AnswerKey;
using testing::FoldVisibleText;

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
    std::string shown;
    const BookAddress next = content.FormatItemTo(BookSession::kRow, at, &marked);
    RenderMarked(TextFormat::kReadable, marked, &shown);
    const std::string text = key.Get(row, "text");
    std::string failure;
    if (at != want) {
      failure = Format("starts at %d:%d", at.page, at.offset);
    } else if (PlainText(marked) != WithoutTrailingNewLines(text)) {
      failure = "marked text: " + PlainText(marked);
    } else if (FoldVisibleText(shown) != FoldVisibleText(text)) {
      failure = "readable text: " + shown;
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

TEST(AnswerKeyTest, EdictSmallWholeBodyHoldsEveryEntryInOrder) {
  MORVA_REQUIRE_SHARED_BOOKS();
  const AnswerKey key = testing::ReadAnswerKey("edict-small.tsv");
  auto session = OpenShared("edict-small");
  ASSERT_TRUE(session);
  session->disk().decoderState().gaijiMode = GaijiMode::kText;
  std::string all;
  RenderBody(session->disk(), BookSession::kRow, {session->disk().subbook().indexes.Start(0x00), 0},
             TextFormat::kReadable, [&all](std::string& item) {
               all += item;
               return true;
             });
  const std::string folded = FoldVisibleText(all);
  size_t at = 0;
  int missing = 0;
  for (const auto& row : key.rows) {
    const std::string want = FoldVisibleText(key.Get(row, "text"));
    const size_t found = folded.find(want, at);
    if (found == std::string::npos) {
      if (++missing <= 5)
        ADD_FAILURE() << "entry " << key.Get(row, "id") << " not found after byte " << at;
      continue;
    }
    at = found + want.size();
  }
  EXPECT_EQ(missing, 0);
}

}  // namespace
}  // namespace morva::cli
