// The exit save of the settings file under kill -9: the file is replaced
// whole, so it holds the settings of one save or the other, never a mix.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/settings/settings_store.h"
#include "platform/atomic_file.h"
#include "tests/support/kill_harness.h"
#include "tests/support/test_dirs.h"

namespace morva {
namespace {

TEST(SettingsSaveTest, KilledDuringTheSaveTheFileHoldsOneWholeSave) {
  testing::TempDir dir;
  const std::string path = dir.str() + "/" + kSettingsFileName;
  SettingsStore store(path);
  // Two table-fulls that differ in every key that has a value of its own.
  Settings first;
  Settings second;
  second.group = "other";
  second.book = 7;
  second.zenpo = second.ime = second.scroll = second.searchDialog = second.specialMenu = false;
  second.kusizasi = second.autoAll = second.english = second.wordWrap = true;
  second.expert = second.mac = second.notShow = second.keepFocus = second.zoomed = true;
  second.scrollKey = second.escKey = second.focusReturn = second.showSpecialChars = true;
  second.sort = 2;
  second.searchDepth = 3;
  second.bufferSize = 9000;
  second.textColor = 0x102030;
  second.main = Rect{1, 2, 300, 400};
  second.lineSpace = 4;
  second.graphZoom = 50;
  second.windowLayout = 1;
  second.barDicName = 3;
  ASSERT_TRUE(store.SaveAll(second, 100));
  const std::string secondFile = testing::ReadFile(path);
  ASSERT_TRUE(store.SaveAll(first, 100));
  const std::string firstFile = testing::ReadFile(path);
  ASSERT_NE(firstFile, secondFile);

  int saves = 0;
  testing::KillWhileWorking(
      200, [&] { store.SaveAll(++saves % 2 ? second : first, 100); },
      [&](int kill) {
        const std::string now = testing::ReadFile(path);
        EXPECT_TRUE(now == firstFile || now == secondFile) << "after kill " << kill << ":\n" << now;
      });

  // At the next start the leftovers of killed saves go.
  RemoveStaleTemporaryFiles(dir.str());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

}  // namespace
}  // namespace morva
