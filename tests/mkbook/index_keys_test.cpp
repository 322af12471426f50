// Keys in the form searches compare them, index by index.
#include "tools/mkbook/index_keys.h"

#include <gtest/gtest.h>

#include "tools/mkbook/jis_text.h"

namespace morva::mkbook {
namespace {

std::string J(const char* utf8) { return JisFromUtf8(utf8); }

TEST(IndexKeys, KanaIndexesFoldKanaToTheirPlainHiragana) {
  EXPECT_EQ(CanonicalIndexKey(J("がっこう"), 0x90), J("かつこう"));
  EXPECT_EQ(CanonicalIndexKey(J("コーヒー"), 0x90), J("こおひい"));
  EXPECT_EQ(CanonicalIndexKey(J("ヴァイオリン"), 0x70), J("うあいおりん"));
  EXPECT_EQ(CanonicalIndexKey(J("パン"), 0x90), J("はん"));
}

TEST(IndexKeys, OtherIndexesKeepKanaButExtendLongVowels) {
  EXPECT_EQ(CanonicalIndexKey(J("コーヒー"), 0x91), J("コオヒイ"));
  EXPECT_EQ(CanonicalIndexKey(J("ラーメン"), 0x91, 0x02), J("ラメン"));   // bits 0-1 two: dropped
  EXPECT_EQ(CanonicalIndexKey(J("ラーメン"), 0x91, 0x01), J("ラーメン"));  // kept
  EXPECT_EQ(CanonicalIndexKey(J("ラーメン"), 0x80), J("ラーメン"));
  EXPECT_EQ(CanonicalIndexKey(J("ー字ー"), 0x91), J("字"));  // no kana before: dropped
  EXPECT_EQ(CanonicalIndexKey(J("んー"), 0x91), J("んん"));
}

TEST(IndexKeys, LettersAndMarks) {
  EXPECT_EQ(CanonicalIndexKey(J("ａｂＣ"), 0x92), J("ＡＢＣ"));
  EXPECT_EQ(CanonicalIndexKey(J("ａｂ"), 0x92, 0x10), J("ａｂ"));
  EXPECT_EQ(CanonicalIndexKey(J("ア・イ"), 0x91), J("アイ"));
  EXPECT_EQ(CanonicalIndexKey(J("ア・イ"), 0x80), J("ア・イ"));
  EXPECT_EQ(CanonicalIndexKey(J("ア・イ"), 0x91, 0x04), J("ア・イ"));
  // The minus sign is stored as the hyphen that typed text turns it into.
  EXPECT_EQ(CanonicalIndexKey("\x23\x58\x21\x5D\x23\x59", 0x92), "\x23\x58\x21\x3E\x23\x59");
}

}  // namespace
}  // namespace morva::mkbook
