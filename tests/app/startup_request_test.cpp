// The start-up request: its fields and their limits, and which book a book
// request names.
#include "app/startup/startup_request.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/book/text_utils.h"

namespace morva {
namespace {

std::string S(std::string_view utf8) { return Sjis(utf8); }

TEST(StartupRequestTest, FiveFieldsWithTheirLimits) {
  EXPECT_EQ(ParseStartupRequest(""), StartupRequest{});
  EXPECT_EQ(ParseStartupRequest(S(",2,,,辞書")), (StartupRequest{"", 2, "", "", S("辞書")}));
  EXPECT_EQ(ParseStartupRequest(S("my.ini,0,英和,3,apple")),
            (StartupRequest{"my.ini", 0, S("英和"), "3", "apple"}));
  EXPECT_EQ(ParseStartupRequest(",2"), (StartupRequest{"", 2, "", "", ""}));
  EXPECT_EQ(ParseStartupRequest(",x,g"), (StartupRequest{"", 0, "g", "", ""}));
  // Book: 4 bytes; word: 127 bytes, never half a double-byte character.
  std::string longWord;
  for (int i = 0; i < 70; ++i) longWord += S("語");
  const StartupRequest r = ParseStartupRequest(",1,g,G12345," + longWord);
  EXPECT_EQ(r.book, "G123");
  EXPECT_EQ(r.word.size(), 126u);
  EXPECT_EQ(WindowTitleForGroup("英和"), "Morva - 英和");
  EXPECT_EQ(WindowTitleForGroup(""), "");
}

TEST(StartupRequestTest, BookRequestsCountHeadersOrBooksFromOne) {
  BookBarEntry book;
  book.shortName = "b";
  const BookBar bar = {BookBarEntry{}, book, book, BookBarEntry{}, book, BookBarEntry{}, book};
  // G<n>: the n-th header; <n>: the n-th book; anything else names none.
  const std::pair<const char*, int> cases[] = {{"G1", 0},  {"G2", 3}, {"g3", 5}, {"G4", -1},
                                               {"3", 4},   {"5", -1}, {"0", -1}, {"G", -1},
                                               {"x1", -1}, {"", -1}};
  for (const auto& [request, entry] : cases)
    EXPECT_EQ(ResolveBookRequest(bar, request), entry) << request;
}

}  // namespace
}  // namespace morva
