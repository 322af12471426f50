#include "app/settings/settings_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>

#include "engine/text/unicode.h"
#include "platform/atomic_file.h"
#include "tests/support/kill_harness.h"
#include "tests/support/test_dirs.h"

namespace morva {
namespace {

constexpr ScreenSize kScreen{1024, 768};

class SettingsStoreTest : public ::testing::Test {
 protected:
  std::string Dir() const { return dir_.str() + "/"; }
  std::string Path() const { return Dir() + kSettingsFileName; }
  Settings Load() const {
    Settings s;
    store_.LoadAll(s, kScreen);
    return s;
  }
  Settings LoadFrom(const std::string& text) const {
    testing::WriteFile(Path(), text);
    return Load();
  }
  std::string Stored(std::string_view section, std::string_view key) const {
    return store_.ReadString(section, key, "<none>", 1000);
  }
  // The defaults as loaded on kScreen with no file.
  Settings Defaults() const {
    Settings d;
    d.main = Rect{0, 0, 1024, 768};
    d.keyWidth = 1024 / 3;
    d.dicInfo = Dir() + "MORVA.DAT";
    d.editFile = Dir() + "MORVA.$$$";
    return d;
  }

  testing::TempDir dir_;
  SettingsStore store_{Path()};
};

TEST_F(SettingsStoreTest, NoFileGivesEveryDefaultAndParmCarriesTheRequest) {
  Settings s = Load();
  EXPECT_EQ(s, Defaults());
  EXPECT_FALSE(std::filesystem::exists(Path()));
  // The Japanese default face is kept in Shift-JIS.
  EXPECT_EQ(FormatFontPair(s.font0), Utf8ToSjis("ＭＳ Ｐゴシック,14,FixedSys,18"));
  // Parm carries the start-up request.
  EXPECT_EQ(store_.ReadParm(), "");
  ASSERT_TRUE(store_.WriteParm("MORVA.INI,1,group,2,word"));
  EXPECT_EQ(store_.ReadParm(), "MORVA.INI,1,group,2,word");
  ASSERT_TRUE(store_.WriteParm(std::string(500, 'p')));
  EXPECT_EQ(store_.ReadParm(), std::string(428, 'p'));
}

Settings NonDefault(const std::string& dir) {
  Settings s;
  s.zenpo = s.ime = s.scroll = s.searchDialog = s.specialMenu = s.simple = false;
  s.kusizasi = s.autoAll = s.english = s.wordWrap = s.showSpecialChars = s.clipResult = true;
  s.scrollKey = s.escKey = s.focusReturn = s.expert = s.mac = s.notShow = s.keepFocus = true;
  s.arrowShows = s.searchAsYouType = true;
  s.bufferSize = 20000;
  s.group = "\x8e\xab\x8f\x91";  // 辞書
  s.book = 3;
  s.searchDrive = "D-F";
  s.searchDepth = 2;
  s.searchRoots = "/srv/books;/mnt/cd";
  s.keywordFile = "/tmp/words.log";
  s.dicInfo = dir + "info/MORVA.DAT";
  s.editor = "gedit";
  s.editFile = "/tmp/edit.txt";
  s.sort = 2;
  s.history = {"\x8c\xea", "word", "apple"};
  s.bold = 1;
  s.lineSpace = 3;
  s.autoSearch = 5;
  s.watchSelection = true;
  s.textColor = MakeColor(1, 2, 3);
  s.backColor = MakeColor(250, 240, 230);
  s.titleColor = s.jumpColor = MakeColor(10, 20, 30);
  s.specialColor = MakeColor(255, 255, 0);
  s.font0 = {"IPAPGothic", 16, "Monospace", 24};
  s.font1 = {"Monospace", 12, "\x82\x6c\x82\x72", 16};
  s.main = Rect{100, 50, 800, 600};
  s.keyWidth = 200;
  s.dicBar = s.modeButton = s.dicColor = false;
  s.dicButtonSize = s.zoomed = true;
  s.windowLayout = 2;
  s.barDicName = 10;
  s.dicName = 4;
  s.graphX = 30;
  s.graphY = -20;
  s.graphZoom = 150;
  return s;
}

TEST_F(SettingsStoreTest, SaveThenLoadGivesTheSameSettings) {
  const Settings saved = NonDefault(Dir());
  ASSERT_TRUE(store_.SaveAll(saved, 999));
  EXPECT_EQ(Load(), saved);
  EXPECT_EQ(Stored("Options", "Win95Caption"), "no");
  EXPECT_EQ(Stored("Options", "History"), "\x8c\xea.word.apple");
  EXPECT_EQ(Stored("Colors", "TextColor"), "1,2,3");
  EXPECT_EQ(Stored("Window", "Graph"), "30,-20,0,0");
  EXPECT_EQ(Stored("Window", "KeyWidth"), "200");  // layout 2: the remembered width
  // The engine takes the second size of font 0.
  const EngineSettings e = ToEngineSettings(saved);
  EXPECT_EQ(e.font0TextSize, 24);
  EXPECT_EQ(e.dicInfoPath, Dir() + "info/MORVA.DAT");
  EXPECT_TRUE(e.english && !e.scroll && !e.zenpo && !e.ime && !e.specialMenu);

  ASSERT_TRUE(store_.SaveAll(Defaults(), 321));
  EXPECT_EQ(Stored("Window", "KeyWidth"), "321");  // layout 0: the present width
  EXPECT_EQ(Stored("Options", "Simple"), "1");
  Settings back = Load();
  back.keyWidth = Defaults().keyWidth;
  EXPECT_EQ(back, Defaults());
}

// Killed during a save (by kill -9), the file holds one whole save or the
// other, never a mix; at the next start the leftovers of killed saves go.
TEST_F(SettingsStoreTest, KilledDuringTheSaveTheFileHoldsOneWholeSave) {
  const Settings first;
  const Settings second = NonDefault(Dir());
  ASSERT_TRUE(store_.SaveAll(second, 100));
  const std::string secondFile = testing::ReadFile(Path());
  ASSERT_TRUE(store_.SaveAll(first, 100));
  const std::string firstFile = testing::ReadFile(Path());
  int saves = 0;
  testing::KillWhileWorking(
      200, [&] { store_.SaveAll(++saves % 2 ? second : first, 100); },
      [&](int kill) {
        const std::string now = testing::ReadFile(Path());
        EXPECT_TRUE(now == firstFile || now == secondFile) << "after kill " << kill << ":\n" << now;
      });
  RemoveStaleTemporaryFiles(dir_.str());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), {}), 1);
}

// The main window beyond the screen moves to the corner; a key width outside
// the pane becomes a third of it; the image window's offset must keep it on
// the screen, checked against the main window after it was moved.
TEST_F(SettingsStoreTest, WindowsAreKeptOnTheScreen) {
  const struct {
    const char *main, *keyWidth, *graph;
    Rect placed;
    int key, x, y;
  } cases[] = {
      {"5000,5000,400,300", "", "", {0, 0, 400, 300}, 133, 0, 0},
      {"1008,10,400,300", "", "", {0, 0, 400, 300}, 133, 0, 0},  // 16 pixels from the edge
      {"1007,751,400,300", "", "", {1007, 751, 400, 300}, 133, 0, 0},
      {"10,20,400", "", "", {0, 0, 1024, 768}, 341, 0, 0},  // incomplete: the screen
      {"1,2,123456,123456789", "", "", {1, 2, 123456, 12345678}, 41152, 0, 0},  // 19 characters
      {"0,0,600,400", "49", "", {0, 0, 600, 400}, 200, 0, 0},
      {"0,0,600,400", "50", "", {0, 0, 600, 400}, 50, 0, 0},
      {"0,0,600,400", "551", "", {0, 0, 600, 400}, 200, 0, 0},
      {"100,100,400,300", "", "50,-60,0,0", {100, 100, 400, 300}, 133, 50, -60},
      {"100,100,400,300", "", "-101,0,0,0", {100, 100, 400, 300}, 133, 0, 0},
      {"100,100,400,300", "", "907,651,0,0", {100, 100, 400, 300}, 133, 907, 651},
      {"100,100,400,300", "", "908,0,0,0", {100, 100, 400, 300}, 133, 0, 0},
      {"5000,5000,400,300", "", "-10,10,0,0", {0, 0, 400, 300}, 133, 0, 0},
      {"5000,5000,400,300", "", "10,10,0,0", {0, 0, 400, 300}, 133, 10, 10},
  };
  for (const auto& c : cases) {
    const Settings s = LoadFrom(std::string("[Window]\r\nMain=") + c.main +
                                "\r\nKeyWidth=" + c.keyWidth + "\r\nGraph=" + c.graph + "\r\n");
    EXPECT_EQ(s.main, c.placed) << c.main;
    EXPECT_EQ(s.keyWidth, c.key) << c.main << " " << c.keyWidth;
    EXPECT_EQ(std::make_pair(s.graphX, s.graphY), std::make_pair(c.x, c.y)) << c.main << c.graph;
  }
}

TEST_F(SettingsStoreTest, FileNamesAreRelativeInTheFileAndHistoryIsCutToFit) {
  Settings s = LoadFrom("[Options]\r\nDicInfo=sub\\INFO.DAT\r\nEditFile=/tmp/e.txt\r\n");
  EXPECT_EQ(s.dicInfo, Dir() + "sub/INFO.DAT");
  EXPECT_EQ(s.editFile, "/tmp/e.txt");

  s.dicInfo = Dir() + "MORVA.DAT";
  s.editFile = Dir() + "edit/MORVA.$$$";
  ASSERT_TRUE(store_.SaveAll(s, 300));
  EXPECT_EQ(Stored("Options", "DicInfo") + " " + Stored("Options", "EditFile"),
            "MORVA.DAT edit/MORVA.$$$");
  // Names elsewhere stay as they are; of a history of sixty words what fits
  // below 300 bytes is kept.
  s.dicInfo = "D:\\MORVA\\MORVA.DAT";
  s.editFile = "/elsewhere/MORVA.$$$";
  for (int i = 0; i < 60; ++i) s.history.push_back("word" + std::to_string(100000 + i));
  ASSERT_TRUE(store_.SaveAll(s, 300));
  EXPECT_EQ(Stored("Options", "DicInfo") + " " + Stored("Options", "EditFile"),
            "D:\\MORVA\\MORVA.DAT /elsewhere/MORVA.$$$");
  EXPECT_EQ(Stored("Options", "History").size(), 296u);  // 27 words and 26 dots
  s.history.resize(27);
  EXPECT_EQ(Load().history, s.history);
}

TEST_F(SettingsStoreTest, TypedValuesReadStrictlyAndFallBackOnJunk) {
  // Numbers read like %d; colours are clamped and strict; font faces are cut
  // at 30 bytes without splitting a character; history words at 78 bytes.
  Settings s = LoadFrom(
      "[Options]\r\nZenpo=YES\r\nKusizasi=yes\r\nIME=Yes\r\nScroll=\"yes\"\r\nSimple=7\r\n"
      "BufferSize=12000bytes\r\nBook=none\r\nSort= 2\r\nSearchDepth=  -7\r\n"
      "Bold=99999999999999999999\r\nFont0=Mono,abc\r\nFont1=" +
      std::string(29, 'x') + "\x82\xa0yy,123456789,C,x\r\nGroup=" + std::string(100, 'g') +
      "\r\nSearchDrive=" + std::string(40, 'd') + "\r\nHistory=.apple.." + std::string(78, 'w') +
      "\x82\xa0.z.\r\n[Colors]\r\nTextColor=10,20\r\nBackColor=1, 2, 3\r\n"
      "TitleColor=300,-5,7\r\nJumpColor=1 ,2,3\r\n");
  EXPECT_EQ((std::vector<bool>{s.zenpo, s.kusizasi, s.ime, s.scroll, s.simple}),
            (std::vector<bool>{false, true, false, true, true}));
  EXPECT_EQ((std::vector<int>{s.bufferSize, s.book, s.sort, s.searchDepth, s.bold}),
            (std::vector<int>{12000, -1, 2, -7, 2147483647}));
  EXPECT_EQ(s.font0, (FontPair{"Mono", 14, "FixedSys", 18}));
  EXPECT_EQ(s.font1.face1, std::string(29, 'x'));
  EXPECT_EQ(s.font1.size1, 12345);
  EXPECT_EQ(s.font1.face2, "C");
  EXPECT_EQ(s.group, std::string(79, 'g'));
  EXPECT_EQ(s.searchDrive, std::string(26, 'd'));
  EXPECT_EQ(s.history, (std::vector<std::string>{"apple", std::string(78, 'w'), "z"}));
  EXPECT_EQ(s.textColor, 0u);
  EXPECT_EQ(s.backColor, MakeColor(1, 2, 3));
  EXPECT_EQ(s.titleColor, MakeColor(255, 0, 7));
  EXPECT_EQ(s.jumpColor, Defaults().jumpColor);
}

}  // namespace
}  // namespace morva
