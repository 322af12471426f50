#include "engine/decode/marked_text.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/book/text_utils.h"

namespace morva {
namespace {

// The tokens of a text, one word each: "T:bytes" for text (hex when not
// printable ASCII), the code in hex for other tokens with their arguments,
// and a trailing "~" when the token is cut off. Checks on the way that the
// tokens tile the text exactly.
std::string Describe(std::string_view text, MarkedTextCursor::Text mode) {
  MarkedTextCursor cursor(text, mode);
  std::string out;
  size_t covered = 0;
  for (MarkedToken t = cursor.Next(); t.kind != MarkedKind::kEnd; t = cursor.Next()) {
    const std::string_view bytes = cursor.Bytes();
    EXPECT_EQ(cursor.TokenOffset(), covered);
    EXPECT_LE(bytes.size(), t.length);
    covered += bytes.size();
    if (t.kind == MarkedKind::kText) {
      out += "T:";
      for (const char c : bytes)
        out += static_cast<uint8_t>(c) < 0x7F ? std::string(1, c) : Format("<%02X>", c & 0xFF);
    } else if (t.kind == MarkedKind::kMarker) {
      out += Format("02%c:", t.markerKind == 0 ? '-' : t.markerKind) +
             std::string(cursor.MarkerFields());
    } else if (t.kind == MarkedKind::kGaiji) {
      out += Format("0B:%c%04X", t.fullWidth ? 'z' : 'h', t.code);
    } else if (t.kind == MarkedKind::kIndent) {
      out += Format("09:%d", t.level);
    } else {
      out += Format("%02X", bytes[0] & 0xFF);
    }
    out += t.whole ? " " : "~ ";
  }
  EXPECT_EQ(covered, text.size());
  EXPECT_TRUE(cursor.AtEnd());
  return out;
}

TEST(MarkedTextCursor, CutsTextIntoTokens) {
  struct Case {
    std::string text;
    std::string characters;  // tokens one character at a time
    std::string runs = "";   // tokens with text runs joined, where they differ
  };
  const Case cases[] = {
      {"", ""},
      // A headword, an indent, a link with its address marker, an external character.
      {"\x03"
       "a\x04\x09\x22\x01"
       "b\x02\x2ER000004D20005\x0B"
       "1\xA1\x21\n",
       "03 T:a 04 09:2 01 T:b 02R:000004D20005 0B:zA121 0A "},
      // Shift-JIS pairs stay whole, even with a control byte as the trail.
      {"\x82\xA0x\x82\x0A", "T:<82><A0> T:x T:<82>\n ", "T:<82><A0>x<82>\n "},
      // A damaged marker length leaves the 02 standing alone.
      {"\x02\x20z", "02-: T:  T:z ", "02-: T: z "},
      {"\x02\x05", "02-: 05 "},
      // Cut off at the end of the text: nothing past it is read.
      {"a\x82", "T:a T:<82> ", "T:a<82> "},
      {"\x02", "02-: "},
      {"\x02\x2ER0001", "02R:0001~ "},
      {"\x02\x22", "02-:~ "},
      {"\x0B"
       "1\xA1",
       "0B:z0000~ "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.characters);
    EXPECT_EQ(Describe(c.text, MarkedTextCursor::Text::kCharacters), c.characters);
    EXPECT_EQ(Describe(c.text, MarkedTextCursor::Text::kRuns),
              c.runs.empty() ? c.characters : c.runs);
  }
}

}  // namespace
}  // namespace morva
