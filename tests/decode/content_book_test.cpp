// Content markup on a real book against its answer key: walking the body
// item by item meets every entry at its address with its text.
#include <fstream>
#include <sstream>
#include <vector>

#include "engine/text/sjis.h"
#include "engine/text/unicode.h"
#include "tests/decode/content_fixture.h"

namespace morva {
namespace {

struct KeyEntry {
  BookAddress at;
  std::string text;  // UTF-8, without trailing new lines
};

std::string WithoutTrailingNewLines(std::string s) {
  while (!s.empty() && s.back() == '\n') s.pop_back();
  return s;
}

// Columns 10 and 12 of the key: "PAGE:OFFSET" and the escaped plain text.
std::vector<KeyEntry> ReadKey(const std::filesystem::path& path) {
  std::vector<KeyEntry> entries;
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  while (std::getline(in, line)) {
    std::vector<std::string> f;
    std::stringstream ss(line);
    for (std::string field; std::getline(ss, field, '\t');) f.push_back(field);
    if (f.size() < 12) continue;
    std::string text;
    for (size_t i = 0; i < f[11].size(); ++i) {
      char c = f[11][i];
      if (c == '\\' && i + 1 < f[11].size()) c = f[11][++i] == 'n' ? '\n' : f[11][i] == 't' ? '\t' : f[11][i];
      text += c;
    }
    entries.push_back({{std::stoi(f[9]), std::stoi(f[9].substr(f[9].find(':') + 1))}, WithoutTrailingNewLines(text)});
  }
  return entries;
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

class ContentBookTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MORVA_REQUIRE_SHARED_BOOKS();
    books_.push_back({"edict", (testing::SharedBooks() / "edict-small").string(), "", 0});
    disk_.SetBookList(&books_);
    key_ = ReadKey(testing::SharedBooks() / "edict-small.tsv");
  }

  testing::RecordingReporter reporter_;
  TDisk disk_{reporter_};
  TContent content_{disk_};
  BookBar books_;
  std::vector<KeyEntry> key_;
};

TEST_F(ContentBookTest, WalkingTheBodyMeetsEveryEntryWithItsText) {
  ASSERT_EQ(key_.size(), 4539u);
  BookAddress at = key_[0].at;
  std::string marked;
  for (size_t i = 0; i < key_.size(); ++i) {
    ASSERT_EQ(at, key_[i].at) << "entry " << i;
    marked.clear();
    at = content_.FormatItemTo(0, at, &marked);
    ASSERT_EQ(PlainText(marked), key_[i].text) << "entry " << i;
  }
  EXPECT_TRUE(reporter_.boxes().empty());
}

TEST_F(ContentBookTest, NextWindowBeginsWithTheTextAtTheOffsetGiven) {
  BookAddress start = key_[0].at;
  BookAddress next;
  int64_t length = 0;
  ASSERT_TRUE(content_.FormatWindow(0, 0, &start, &next, &length));
  const std::string first = testing::ReadFile(disk_.MarkedTextPath());
  ASSERT_GE(length, 4000);
  ASSERT_LT(static_cast<size_t>(length), first.size());
  const std::string overlap = first.substr(static_cast<size_t>(length));
  EXPECT_EQ(overlap[0], '\x09');
  ASSERT_TRUE(content_.FormatWindow(0, 1, &start, &next, &length));
  EXPECT_EQ(testing::ReadFile(disk_.MarkedTextPath()).substr(0, overlap.size()), overlap);
  EXPECT_TRUE(reporter_.boxes().empty());
}

}  // namespace
}  // namespace morva
