// The decoder over a real book, checked against the book's answer key.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "engine/book/tdisk.h"
#include "engine/decode/decoder.h"
#include "engine/text/unicode.h"
#include "tests/support/recording_reporter.h"
#include "tests/support/test_dirs.h"

namespace morva {
namespace {

struct KeyEntry {
  BookAddress text;
  std::string plain;  // UTF-8
};

std::string Unescape(const std::string& field) {
  std::string out;
  for (size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '\\' || i + 1 == field.size()) {
      out += field[i];
      continue;
    }
    const char c = field[++i];
    out += c == 'n' ? '\n' : c == 't' ? '\t' : c;
  }
  return out;
}

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields(1);
  for (char c : line) {
    if (c == '\t') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return fields;
}

// The entries of an answer key: body address and plain text.
std::vector<KeyEntry> ReadAnswerKey(const std::filesystem::path& path) {
  std::ifstream in(path);
  std::string line;
  std::getline(in, line);
  const std::vector<std::string> header = SplitTabs(line);
  size_t posColumn = 0, textColumn = 0;
  for (size_t i = 0; i < header.size(); ++i) {
    if (header[i] == "text_pos") posColumn = i;
    if (header[i] == "text") textColumn = i;
  }
  std::vector<KeyEntry> entries;
  while (std::getline(in, line)) {
    const std::vector<std::string> fields = SplitTabs(line);
    if (fields.size() <= std::max(posColumn, textColumn)) continue;
    KeyEntry e;
    if (std::sscanf(fields[posColumn].c_str(), "%d:%d", &e.text.page, &e.text.offset) != 2) continue;
    e.plain = Unescape(fields[textColumn]);
    entries.push_back(std::move(e));
  }
  return entries;
}

class RealBookDecodeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MORVA_REQUIRE_SHARED_BOOKS();
    body_ = (testing::SharedBooks() / "edict-small/edsmall/data/honmon").string();
    disk_.BodyFiles().Add(body_, 1);
    disk_.SetMultiFile(true);
  }

  // The text from `from` up to `to` as the answer key writes it: line breaks
  // for escape 0x0A, external characters as {hXXXX} or {zXXXX}, other escapes
  // dropped.
  std::string PlainText(BookAddress from, BookAddress to) {
    std::string sjis;
    if (disk_.Seek(from) != 0) return "(seek failed)";
    EscapeItem item;
    while (disk_.decoderState().pendingChar != 0 || TDisk::CompareAddresses(disk_.Tell(), to) < 0) {
      const int value = DecodeNext(disk_, item, true);
      if (value == kDecodeEnd || item.code == 0x03) break;
      if (item.code == 0x0A) {
        sjis += '\n';
      } else if (item.code != 0) {
        continue;
      } else if (value >= kFirstGaijiValue) {
        char form[16];
        std::snprintf(form, sizeof form, "{%c%04X}", disk_.decoderState().fullWidth ? 'z' : 'h', static_cast<unsigned>(value));
        sjis += form;
      } else {
        sjis += static_cast<char>(value);
      }
    }
    return SjisToUtf8(sjis);
  }

  std::string body_;
  testing::RecordingReporter reporter_;
  TDisk disk_{reporter_};
};

TEST_F(RealBookDecodeTest, EveryEntryDecodesToTheAnswerKeyText) {
  const std::vector<KeyEntry> entries = ReadAnswerKey(testing::SharedBooks() / "edict-small.tsv");
  ASSERT_GT(entries.size(), 4000u);
  int mismatches = 0;
  for (size_t i = 0; i < entries.size(); ++i) {
    const BookAddress end = i + 1 < entries.size() ? entries[i + 1].text : BookAddress{INT32_MAX, 0};
    const std::string text = PlainText(entries[i].text, end);
    if (text != entries[i].plain && ++mismatches <= 5)
      ADD_FAILURE() << "entry " << i << " at " << entries[i].text.page << ":" << entries[i].text.offset
                    << "\n decoded: " << text << "\n expected: " << entries[i].plain;
  }
  EXPECT_EQ(mismatches, 0);
  EXPECT_TRUE(reporter_.boxes().empty());
}

TEST_F(RealBookDecodeTest, DecodingTheWholeFileTerminatesAndTheBodyIsText) {
  const int64_t size = TDisk::FileSize(body_);
  ASSERT_GT(size, 0);
  ASSERT_EQ(disk_.Seek(1, 0), 0);
  // Each call takes at least one byte or hands out a held one.
  const int64_t limit = 2 * size + 16;
  int64_t calls = 0, text = 0, escapes = 0, unknown = 0;
  const int32_t bodyEnd = 410;  // the body text of this book ends on page 410
  EscapeItem item;
  for (; calls < limit; ++calls) {
    const int value = DecodeNext(disk_, item, true);
    if (value == kDecodeEnd) {
      // A 0 byte of an index page: go on until the file is used up.
      if (disk_.Tell().Position() >= size) break;
      continue;
    }
    if (disk_.Tell().page > bodyEnd) continue;
    if (value == kDecodeUnknown) {
      ++unknown;
    } else if (item.code != 0) {
      ++escapes;
    } else {
      ++text;
    }
  }
  EXPECT_LT(calls, limit);
  EXPECT_GT(text, 3 * escapes);
  EXPECT_LT(unknown * 1000, text);
  EXPECT_TRUE(reporter_.boxes().empty());
}

}  // namespace
}  // namespace morva
