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
  s.showSpecialChars = ReadBool(kOptions, "ShowSpecialChars", d.showSpecialChars);
  s.clipResult = ReadBool(kOptions, "ClipResult", d.clipResult);
}

bool SettingsStore::SaveAll(const Settings& s, int presentKeyWidth) {
  bool ok = true;
  auto keep = [&ok](bool written) { ok = written && ok; };

  keep(WriteString(kOptions, "Group", s.group));
  keep(WriteInt(kOptions, "Book", s.book));
  keep(WriteBool(kOptions, "Expert", s.expert));
  keep(WriteBool(kOptions, "Mac", s.mac));
  keep(WriteBool(kWindow, "Zoomed", s.zoomed));
  keep(WriteBool(kOptions, "Zenpo", s.zenpo));
  keep(WriteBool(kOptions, "Kusizasi", s.kusizasi));
  keep(WriteBool(kOptions, "IME", s.ime));
  keep(WriteBool(kOptions, "Win95Caption", false));
  keep(WriteString(kOptions, "KeywordFile", s.keywordFile));
  keep(WriteString(kOptions, "DicInfo", RelativePath(s.dicInfo)));
  keep(WriteString(kOptions, "Editor", s.editor));
  keep(WriteString(kOptions, "EditFile", RelativePath(s.editFile)));
  keep(WriteBool(kOptions, "NotShow", s.notShow));
  keep(WriteBool(kOptions, "AutoAll", s.autoAll));
  keep(WriteBool(kOptions, "KeepFocus", s.keepFocus));
  keep(WriteInt(kOptions, "Sort", s.sort));
  keep(WriteString(kOptions, "SearchDrive", s.searchDrive));
  keep(WriteInt(kOptions, "SearchDepth", s.searchDepth));
  keep(WriteString(kOptions, "SearchRoots", s.searchRoots));
  keep(WriteBool(kOptions, "SearchDialog", s.searchDialog));
  keep(WriteInt(kOptions, "AutoSearch", s.autoSearch));
  keep(WriteInt(kOptions, "BufferSize", s.bufferSize));
  keep(WriteBool(kOptions, "SpecialMenu", s.specialMenu));
  keep(WriteBool(kKeyboard, "ScrollKey", s.scrollKey));
  keep(WriteBool(kKeyboard, "EscKey", s.escKey));
  keep(WriteBool(kKeyboard, "FocusReturn", s.focusReturn));
  keep(WriteRect(kWindow, "Main", s.main));
  keep(WriteBool(kOptions, "ShowSpecialChars", s.showSpecialChars));
  keep(WriteString(kOptions, "History", JoinHistory(s.history)));
  keep(WriteBool(kOptions, "English", s.english));
  keep(WriteInt(kOptions, "Simple", s.simple ? 1 : 0));
  keep(WriteBool(kOptions, "Scroll", s.scroll));
  keep(WriteColor(kColors, "TextColor", s.textColor));
  keep(WriteColor(kColors, "BackColor", s.backColor));
  keep(WriteColor(kColors, "TitleColor", s.titleColor));
  keep(WriteColor(kColors, "JumpColor", s.jumpColor));
  keep(WriteColor(kColors, "SpecialColor", s.specialColor));
  keep(WriteFontPair(kOptions, "Font0", s.font0));
  keep(WriteFontPair(kOptions, "Font1", s.font1));
  keep(WriteInt(kOptions, "Bold", s.bold));
  keep(WriteInt(kOptions, "LineSpace", s.lineSpace));
  keep(WriteBool(kOptions, "WordWrap", s.wordWrap));
  keep(WriteBool(kOptions, "ClipResult", s.clipResult));
  keep(WriteRect(kWindow, "Graph", Rect{s.graphX, s.graphY, 0, 0}));
  keep(WriteInt(kWindow, "GraphZoom", s.graphZoom));
  keep(WriteInt(kWindow, "KeyWidth", s.windowLayout == 0 ? presentKeyWidth : s.keyWidth));
  keep(WriteBool(kWindow, "DicBar", s.dicBar));
  keep(WriteBool(kWindow, "ModeButton", s.modeButton));
  keep(WriteInt(kWindow, "Window", s.windowLayout));
  keep(WriteBool(kWindow, "DicColor", s.dicColor));
  keep(WriteInt(kWindow, "BarDicName", s.barDicName));
  keep(WriteInt(kWindow, "DicName", s.dicName));
  keep(WriteBool(kWindow, "DicButtonSize", s.dicButtonSize));
  return ok;
}

}  // namespace morva
