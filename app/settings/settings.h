// Every value kept in the settings file, as one plain struct. The members
// start at the values a missing file gives, except main, whose default is the
// screen (filled in by SettingsStore::LoadAll). Text is Shift-JIS bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/settings/value_forms.h"
#include "engine/book/engine_settings.h"

namespace morva {

// "ＭＳ Ｐゴシック,14,FixedSys,18" in Shift-JIS.
inline constexpr char kFont0Default[] =
    "\x82\x6c\x82\x72 \x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e,14,FixedSys,18";
inline constexpr char kFont1Default[] = "FixedSys,18,FixedSys,18";
inline constexpr char kSearchRootsDefault[] = "~;/media;/mnt;/run/media";

struct ScreenSize {
  int width = 0;
  int height = 0;
};

struct Settings {
  // Options: switches
  bool zenpo = true;
  bool kusizasi = false;
  bool ime = true;
  bool scroll = true;
  bool autoAll = false;
  bool english = false;
  bool searchDialog = true;
  bool specialMenu = true;
  bool wordWrap = false;
  bool showSpecialChars = false;
  bool clipResult = false;
  // Keyboard
  bool scrollKey = false;
  bool escKey = false;
  bool focusReturn = false;
  // Word list and search box
  bool arrowShows = false;       // the keys that move the list's highlight show the row
  bool searchAsYouType = false;  // the open book is searched after a pause in typing

  // Options: numbers and names
  int bufferSize = 8000;
  std::string group;
  int book = -1;
  std::string searchDrive = "A-Z";
  int searchDepth = 0;
  std::string searchRoots = kSearchRootsDefault;  // directories separated by ";"
  std::string keywordFile;
  std::string dicInfo = "MORVA.DAT";   // absolute once loaded
  std::string editor = "xdg-open";     // the desktop's own choice of editor
  std::string editFile = "MORVA.$$$";  // absolute once loaded
  int sort = 1;
  std::vector<std::string> history;  // newest first
  int bold = 0;
  int lineSpace = 0;
  int autoSearch = 0;
  // The clipboard watch also watches the primary selection (text selected in
  // any program), with the same AutoSearch rules.
  bool watchSelection = false;

  // Colors
  uint32_t textColor = MakeColor(0, 0, 0);
  uint32_t backColor = MakeColor(255, 255, 255);
  uint32_t titleColor = MakeColor(0, 0, 255);
  uint32_t jumpColor = MakeColor(0, 128, 0);
  uint32_t specialColor = MakeColor(128, 128, 128);

  // Options: fonts
  FontPair font0 = {"\x82\x6c\x82\x72 \x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e", 14, "FixedSys",
                    18};
  FontPair font1 = {"FixedSys", 18, "FixedSys", 18};

  // Window
  Rect main;         // left, top, width, height; the screen when not stored
  int keyWidth = 0;  // remembered condition-pane width; main.w / 3 when not stored
  bool dicBar = true;
  bool modeButton = true;
  int windowLayout = 0;  // key "Window"
  bool dicColor = true;
  int barDicName = 6;
  int dicName = 0;
  bool dicButtonSize = false;
  int graphX = 0;  // image window offset from the main window
  int graphY = 0;
  int graphZoom = 100;

  // Carried from start to exit unchanged; nothing else consults them.
  bool expert = false;
  bool mac = false;
  bool notShow = false;
  bool keepFocus = false;
  bool simple = true;  // stored as an integer, default 2
  bool zoomed = false;

  bool operator==(const Settings&) const = default;
};

// The part of the settings that the engine reads.
EngineSettings ToEngineSettings(const Settings& settings);

}  // namespace morva
