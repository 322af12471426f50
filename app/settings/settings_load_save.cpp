// The whole table of settings: what is read at start and written at exit, in
// that order (a key missing from the file is appended where the order puts
// it, so the order shapes a newly written file).
#include "app/settings/history.h"
#include "app/settings/settings_store.h"

namespace morva {

namespace {

constexpr char kOptions[] = "Options";
constexpr char kKeyboard[] = "Keyboard";
constexpr char kColors[] = "Colors";
constexpr char kWindow[] = "Window";

constexpr size_t kGroupSize = 80;
constexpr size_t kSearchDriveSize = 27;
constexpr size_t kSearchRootsSize = 1024;
constexpr size_t kFileNameSize = 260;

// How close to the screen's right or bottom edge a window may start.
constexpr int kEdgeMargin = 16;
constexpr int kMinKeyWidth = 50;

}  // namespace

void SettingsStore::LoadAll(Settings& s, ScreenSize screen) const {
  const Settings d;  // the defaults

  s.zenpo = ReadBool(kOptions, "Zenpo", d.zenpo);
  s.kusizasi = ReadBool(kOptions, "Kusizasi", d.kusizasi);
  s.ime = ReadBool(kOptions, "IME", d.ime);
  s.scroll = ReadBool(kOptions, "Scroll", d.scroll);
  s.autoAll = ReadBool(kOptions, "AutoAll", d.autoAll);
  s.english = ReadBool(kOptions, "English", d.english);
  s.searchDialog = ReadBool(kOptions, "SearchDialog", d.searchDialog);
  s.scrollKey = ReadBool(kKeyboard, "ScrollKey", d.scrollKey);
  s.escKey = ReadBool(kKeyboard, "EscKey", d.escKey);
  s.focusReturn = ReadBool(kKeyboard, "FocusReturn", d.focusReturn);
  s.expert = ReadBool(kOptions, "Expert", d.expert);
  s.mac = ReadBool(kOptions, "Mac", d.mac);
  s.notShow = ReadBool(kOptions, "NotShow", d.notShow);
  s.keepFocus = ReadBool(kOptions, "KeepFocus", d.keepFocus);
  s.simple = ReadInt(kOptions, "Simple", 2) != 0;

  s.bufferSize = ReadInt(kOptions, "BufferSize", d.bufferSize);
  s.group = ReadString(kOptions, "Group", d.group, kGroupSize);
  s.book = ReadInt(kOptions, "Book", d.book);
  s.searchDrive = ReadString(kOptions, "SearchDrive", d.searchDrive, kSearchDriveSize);
  s.searchDepth = ReadInt(kOptions, "SearchDepth", d.searchDepth);
  s.searchRoots = ReadString(kOptions, "SearchRoots", d.searchRoots, kSearchRootsSize);
  s.keywordFile = ReadString(kOptions, "KeywordFile", d.keywordFile, kFileNameSize);
  s.dicInfo = ResolvePath(ReadString(kOptions, "DicInfo", d.dicInfo, kFileNameSize));
  s.editor = ReadString(kOptions, "Editor", d.editor, kFileNameSize);
  s.editFile = ResolvePath(ReadString(kOptions, "EditFile", d.editFile, kFileNameSize));
  s.sort = ReadInt(kOptions, "Sort", d.sort);
  s.history = SplitHistory(ReadString(kOptions, "History", "", kHistoryValueSize));
  s.specialMenu = ReadBool(kOptions, "SpecialMenu", d.specialMenu);

  s.textColor = ReadColor(kColors, "TextColor", d.textColor);
  s.backColor = ReadColor(kColors, "BackColor", d.backColor);
  s.titleColor = ReadColor(kColors, "TitleColor", d.titleColor);
  s.jumpColor = ReadColor(kColors, "JumpColor", d.jumpColor);
  s.specialColor = ReadColor(kColors, "SpecialColor", d.specialColor);

  s.font0 = ReadFontPair(kOptions, "Font0", kFont0Default);
  s.font1 = ReadFontPair(kOptions, "Font1", kFont1Default);
  s.bold = ReadInt(kOptions, "Bold", d.bold);
  s.wordWrap = ReadBool(kOptions, "WordWrap", d.wordWrap);

  s.main = ReadRect(kWindow, "Main", Rect{0, 0, screen.width, screen.height});
  s.keyWidth = ReadInt(kWindow, "KeyWidth", s.main.w / 3);
  s.dicBar = ReadBool(kWindow, "DicBar", d.dicBar);
  s.modeButton = ReadBool(kWindow, "ModeButton", d.modeButton);
  s.windowLayout = ReadInt(kWindow, "Window", d.windowLayout);
  s.dicColor = ReadBool(kWindow, "DicColor", d.dicColor);
  s.barDicName = ReadInt(kWindow, "BarDicName", d.barDicName);
  s.dicName = ReadInt(kWindow, "DicName", d.dicName);
  s.dicButtonSize = ReadBool(kWindow, "DicButtonSize", d.dicButtonSize);
  s.zoomed = ReadBool(kWindow, "Zoomed", d.zoomed);

  // A window that would start (almost) beyond the screen's right or bottom
  // edge could not be reached; bring it to the top-left corner.
  if (s.main.l >= screen.width - kEdgeMargin || s.main.t >= screen.height - kEdgeMargin) {
    s.main.l = 0;
    s.main.t = 0;
  }
  if (s.keyWidth < kMinKeyWidth || s.keyWidth > static_cast<long long>(s.main.w) - kMinKeyWidth) {
    s.keyWidth = s.main.w / 3;
  }

  Rect graph = ReadRect(kWindow, "Graph", Rect{});
  const long long graphLeft = static_cast<long long>(s.main.l) + graph.l;
  const long long graphTop = static_cast<long long>(s.main.t) + graph.t;
  if (graphLeft < 0 || graphTop < 0 || graphLeft >= screen.width - kEdgeMargin ||
      graphTop >= screen.height - kEdgeMargin) {
    graph.l = 0;
    graph.t = 0;
  }
  s.graphX = graph.l;
  s.graphY = graph.t;

  s.graphZoom = ReadInt(kWindow, "GraphZoom", d.graphZoom);
  s.lineSpace = ReadInt(kOptions, "LineSpace", d.lineSpace);
  s.autoSearch = ReadInt(kOptions, "AutoSearch", d.autoSearch);
  s.watchSelection = ReadBool(kOptions, "WatchSelection", d.watchSelection);
  s.showSpecialChars = ReadBool(kOptions, "ShowSpecialChars", d.showSpecialChars);
  s.clipResult = ReadBool(kOptions, "ClipResult", d.clipResult);
  s.arrowShows = ReadBool(kOptions, "ArrowShows", d.arrowShows);
  s.searchAsYouType = ReadBool(kOptions, "SearchAsYouType", d.searchAsYouType);
}

bool SettingsStore::SaveAll(const Settings& s, int presentKeyWidth) {
  // The whole file is written once, at the end: a crash during the save
  // leaves the old settings or the new ones, never a mix.
  ProfileEdit edit(file_);
  bool ok = true;
  auto put = [&](std::string_view section, std::string_view key, std::string_view value) {
    ok = edit.Set(section, key, value) && ok;
  };
  auto putBool = [&](std::string_view section, std::string_view key, bool value) {
    put(section, key, value ? "yes" : "no");
  };

  put(kOptions, "Group", s.group);
  put(kOptions, "Book", FormatInt(s.book));
  putBool(kOptions, "Expert", s.expert);
  putBool(kOptions, "Mac", s.mac);
  putBool(kWindow, "Zoomed", s.zoomed);
  putBool(kOptions, "Zenpo", s.zenpo);
  putBool(kOptions, "Kusizasi", s.kusizasi);
  putBool(kOptions, "IME", s.ime);
  putBool(kOptions, "Win95Caption", false);
  put(kOptions, "KeywordFile", s.keywordFile);
  put(kOptions, "DicInfo", RelativePath(s.dicInfo));
  put(kOptions, "Editor", s.editor);
  put(kOptions, "EditFile", RelativePath(s.editFile));
  putBool(kOptions, "NotShow", s.notShow);
  putBool(kOptions, "AutoAll", s.autoAll);
  putBool(kOptions, "KeepFocus", s.keepFocus);
  put(kOptions, "Sort", FormatInt(s.sort));
  put(kOptions, "SearchDrive", s.searchDrive);
  put(kOptions, "SearchDepth", FormatInt(s.searchDepth));
  put(kOptions, "SearchRoots", s.searchRoots);
  putBool(kOptions, "SearchDialog", s.searchDialog);
  put(kOptions, "AutoSearch", FormatInt(s.autoSearch));
  putBool(kOptions, "WatchSelection", s.watchSelection);
  put(kOptions, "BufferSize", FormatInt(s.bufferSize));
  putBool(kOptions, "SpecialMenu", s.specialMenu);
  putBool(kKeyboard, "ScrollKey", s.scrollKey);
  putBool(kKeyboard, "EscKey", s.escKey);
  putBool(kKeyboard, "FocusReturn", s.focusReturn);
  put(kWindow, "Main", FormatRect(s.main));
  putBool(kOptions, "ShowSpecialChars", s.showSpecialChars);
  put(kOptions, "History", JoinHistory(s.history));
  putBool(kOptions, "English", s.english);
  put(kOptions, "Simple", FormatInt(s.simple ? 1 : 0));
  putBool(kOptions, "Scroll", s.scroll);
  put(kColors, "TextColor", FormatColor(s.textColor));
  put(kColors, "BackColor", FormatColor(s.backColor));
  put(kColors, "TitleColor", FormatColor(s.titleColor));
  put(kColors, "JumpColor", FormatColor(s.jumpColor));
  put(kColors, "SpecialColor", FormatColor(s.specialColor));
  put(kOptions, "Font0", FormatFontPair(s.font0));
  put(kOptions, "Font1", FormatFontPair(s.font1));
  put(kOptions, "Bold", FormatInt(s.bold));
  put(kOptions, "LineSpace", FormatInt(s.lineSpace));
  putBool(kOptions, "WordWrap", s.wordWrap);
  putBool(kOptions, "ClipResult", s.clipResult);
  putBool(kOptions, "ArrowShows", s.arrowShows);
  putBool(kOptions, "SearchAsYouType", s.searchAsYouType);
  put(kWindow, "Graph", FormatRect(Rect{s.graphX, s.graphY, 0, 0}));
  put(kWindow, "GraphZoom", FormatInt(s.graphZoom));
  put(kWindow, "KeyWidth", FormatInt(s.windowLayout == 0 ? presentKeyWidth : s.keyWidth));
  putBool(kWindow, "DicBar", s.dicBar);
  putBool(kWindow, "ModeButton", s.modeButton);
  put(kWindow, "Window", FormatInt(s.windowLayout));
  putBool(kWindow, "DicColor", s.dicColor);
  put(kWindow, "BarDicName", FormatInt(s.barDicName));
  put(kWindow, "DicName", FormatInt(s.dicName));
  putBool(kWindow, "DicButtonSize", s.dicButtonSize);
  return edit.Commit() && ok;
}

}  // namespace morva
