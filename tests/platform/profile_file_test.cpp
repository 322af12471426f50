#include "platform/profile_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <utility>

#include "tests/support/test_dirs.h"

namespace morva {
namespace {

using testing::ReadFile;
using testing::WriteFile;

class ProfileFileTest : public ::testing::Test {
 protected:
  std::string Path() const { return (dir_ / "MORVA.INI").string(); }
  void Write(const std::string& bytes) const { WriteFile(Path(), bytes); }
  std::string Contents() const { return ReadFile(Path()); }
  std::string Read(std::string_view section, std::string_view key, size_t size = 256) const {
    return file_.ReadString(section, key, "<default>", size);
  }

  testing::TempDir dir_;
  ProfileFile file_{Path()};
};

TEST_F(ProfileFileTest, ReadingFindsTrimmedUnquotedValuesInTheFirstMatchingSection) {
  EXPECT_EQ(file_.ReadString("Options", "Zenpo", "dflt  \t", 16), "dflt");
  EXPECT_EQ(file_.ReadString("Options", "Zenpo", "abcdef", 4), "abc");
  EXPECT_FALSE(std::filesystem::exists(Path()));  // a missing file is not created
  Write(
      "k=outside\n[options]\r\n  zenpo =  yes  \r\nQuoted=\"  spaced  \"\r\nSingle='x'\r\n"
      "Mismatched=\"x'\r\nOneQuote=\"\r\nEmpty=\r\n;c=commented\nbare\nzenpo=second\n[T]\n"
      "k=other\n[OPTIONS]\nonly=dup\nlast=no-eol");
  const std::pair<const char*, const char*> expected[] = {
      {"Zenpo", "yes"},        {"QUOTED", "  spaced  "}, {"single", "x"},
      {"Mismatched", "\"x'"},  {"OneQuote", "\""},       {"Empty", ""},
      {"Absent", "<default>"}, {";c", "<default>"},      {"bare", "<default>"},
      {"only", "<default>"},   {"k", "<default>"}};
  for (auto [key, value] : expected) EXPECT_EQ(Read("OPTIONS", key), value) << key;
  EXPECT_EQ(Read("T", "k"), "other");
  EXPECT_EQ(Read("options", "last"), "<default>");
  Write("[A]\nlast=no-eol");
  EXPECT_EQ(Read("A", "last"), "no-eol");
}

TEST_F(ProfileFileTest, ShiftJisIsNeverSplitOrTakenForAscii) {
  // ゼ (83 5D) and 表 (95 5C) end in bytes that read as "]" and "\"; 82 61
  // and 82 41 differ only in a trail byte that reads as "a" or "A".
  const std::string section = "\x83\x5d\x95\x5c";
  Write("[" + section +
        "]\r\n\x82\x61=lower-trail\r\nv=C:\\\x95\x5c x \r\nk=\x82\xa0\x82\xa2\x82\xa4\r\n");
  EXPECT_EQ(Read(section, "\x82\x61"), "lower-trail");
  EXPECT_EQ(Read(section, "\x82\x41"), "<default>");
  EXPECT_EQ(Read(section, "v"), "C:\\\x95\x5c x");
  EXPECT_EQ(Read(section, "k", 6), "\x82\xa0\x82\xa2");
  EXPECT_EQ(Read(section, "k", 5), "\x82\xa0\x82\xa2");
  EXPECT_EQ(Read(section, "k", 2), "");
  EXPECT_EQ(Read(section, "k", 0), "");
  ASSERT_TRUE(file_.WriteString(section, "w", "\x95\x5c\x83\x5d"));
  EXPECT_EQ(Read(section, "w"), "\x95\x5c\x83\x5d");
}

TEST_F(ProfileFileTest, UpdatesKeepEveryOtherByteAndNewKeysFollowTheSectionsLastKey) {
  const std::string before =
      "; Morva\r\n\r\n[Options]\r\n   ; note\r\njunk\r\n  ZENPO = yes  \r\nZenpo=2\r\n\r\n[W]\r\n";
  Write(before);
  ASSERT_TRUE(file_.WriteString("options", "Zenpo", "no"));
  std::string expected = before;
  expected.replace(expected.find("ZENPO = yes  "), 13, "ZENPO=no");
  EXPECT_EQ(Contents(), expected);

  Write("[A]\nk1=1\n\n; about B\n[B]\nx=1\n;trailing\nbare\n\n\n[C]\n[a]\nk1=dup\n");
  ASSERT_TRUE(file_.WriteString("A", "k2", "2"));
  ASSERT_TRUE(file_.WriteString("B", "y", "2"));
  ASSERT_TRUE(file_.WriteString("C", "z", "3"));
  ASSERT_TRUE(file_.WriteString("B", "bare", "4"));
  EXPECT_EQ(Contents(),
            "[A]\nk1=1\nk2=2\n\n; about "
            "B\n[B]\nx=1\ny=2\nbare=4\n;trailing\nbare\n\n\n[C]\nz=3\n[a]\nk1=dup\n");
}

TEST_F(ProfileFileTest, NewSectionsAndFilesTakeTheFilesLineEnd) {
  Write("[A]\r\nk=1\r\n");
  ASSERT_TRUE(file_.WriteString("B", "k", "2"));
  EXPECT_EQ(Contents(), "[A]\r\nk=1\r\n\r\n[B]\r\nk=2\r\n");
  Write("[A]\nk=1");  // LF, and no line end on the last line
  ASSERT_TRUE(file_.WriteString("B", "k", "2"));
  EXPECT_EQ(Contents(), "[A]\nk=1\n\n[B]\nk=2\n");
  Write("[A]\nk=1");
  ASSERT_TRUE(file_.WriteString("A", "k2", "2"));
  EXPECT_EQ(Contents(), "[A]\nk=1\nk2=2");
  // A new file uses CR LF, in a directory made for it.
  ProfileFile file((dir_ / "sub" / "NEW.INI").string());
  ASSERT_TRUE(file.WriteString("Options", "Zenpo", "yes"));
  EXPECT_EQ(ReadFile(dir_ / "sub" / "NEW.INI"), "[Options]\r\nZenpo=yes\r\n");
}

TEST_F(ProfileFileTest, ValuesAreOneLineAndNamesMustBeStorable) {
  ASSERT_TRUE(file_.WriteString("S", "k", "first\r\n[Evil]\r\nx=1"));
  for (auto [section, key] :
       {std::pair{"S", "a=b"}, {"S", ";k"}, {"S", ""}, {"S]", "k"}, {" S", "k"}, {"S", "k\n"}}) {
    EXPECT_FALSE(file_.WriteString(section, key, "v")) << section << " " << key;
  }
  EXPECT_EQ(Contents(), "[S]\r\nk=first\r\n");
}

TEST_F(ProfileFileTest, ReplacingKeepsModeAndLinkAndLeavesNoTemporaryFile) {
  WriteFile(dir_ / "real.ini", "[S]\nk=1\n");
  ::chmod((dir_ / "real.ini").c_str(), 0640);
  std::filesystem::create_symlink("real.ini", dir_ / "link.ini");
  ASSERT_TRUE(ProfileFile((dir_ / "link.ini").string()).WriteString("S", "k", "2"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir_ / "link.ini"));
  EXPECT_EQ(ReadFile(dir_ / "real.ini"), "[S]\nk=2\n");
  EXPECT_EQ(std::filesystem::status(dir_ / "real.ini").permissions(),
            static_cast<std::filesystem::perms>(0640));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), {}), 2);
}

TEST_F(ProfileFileTest, FailedWriteReportsFalseAndKeepsTheOldState) {
  std::filesystem::create_directory(dir_ / "adir");
  ProfileFile onDirectory((dir_ / "adir").string());
  EXPECT_FALSE(onDirectory.WriteString("S", "k", "v"));
  EXPECT_EQ(onDirectory.ReadString("S", "k", "d", 8), "d");
  EXPECT_TRUE(std::filesystem::is_directory(dir_ / "adir"));
}

}  // namespace
}  // namespace morva
