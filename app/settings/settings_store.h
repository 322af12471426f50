// Typed access to the settings file (MORVA.INI, sections Options, Keyboard,
// Colors and Window), and the whole table of settings loaded at start and
// saved at exit. The store keeps no copy of the file: every read and write goes
// to it at once, and a missing file or key gives the default. Failed writes
// are not reported to the user; the writers return false so callers may tell.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/settings/settings.h"
#include "platform/profile_file.h"

namespace morva {

inline constexpr char kSettingsFileName[] = "MORVA.INI";

// <settings directory>MORVA.INI for this process.
std::string DefaultSettingsFilePath();

class SettingsStore {
 public:
  // filePath names the settings file; its directory (with a trailing "/") is
  // the settings directory against which relative names are resolved.
  explicit SettingsStore(std::string filePath);

  const std::string& FilePath() const { return file_.Path(); }
  const std::string& SettingsDir() const { return settingsDir_; }

  // yes/no: true exactly when the value is "yes", compared with case.
  bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;
  // A leading decimal number; the default when the key is missing or the
  // value does not start with a number.
  int ReadInt(std::string_view section, std::string_view key, int defaultValue) const;
  // At most bufferSize - 1 bytes, never half a double-byte character.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view defaultValue, size_t bufferSize) const;
  // "r,g,b"; the default unless all three numbers are there.
  uint32_t ReadColor(std::string_view section, std::string_view key, uint32_t defaultValue) const;
  // "l,t,w,h" (at most 19 characters read); the default unless all four
  // numbers are there.
  Rect ReadRect(std::string_view section, std::string_view key, const Rect& defaultValue) const;
  // "face,size,face,size"; defaultValue is given in that form, and fills any
  // field that is empty or not a number.
  FontPair ReadFontPair(std::string_view section, std::string_view key,
                        std::string_view defaultValue) const;

  bool WriteBool(std::string_view section, std::string_view key, bool value);
  bool WriteInt(std::string_view section, std::string_view key, int value);
  bool WriteString(std::string_view section, std::string_view key, std::string_view value);
  bool WriteColor(std::string_view section, std::string_view key, uint32_t value);
  bool WriteRect(std::string_view section, std::string_view key, const Rect& value);
  bool WriteFontPair(std::string_view section, std::string_view key, const FontPair& value);

  // The start-up request handed from one start to a running window
  // (Options/Parm, up to 428 bytes).
  std::string ReadParm() const;
  bool WriteParm(std::string_view request);

  // A stored file name made absolute against the settings directory, and a
  // file name made relative again for storing.
  std::string ResolvePath(std::string_view name) const;
  std::string RelativePath(std::string_view path) const;

  // Reads every setting into settings. The main window's rectangle defaults to
  // the screen; a window whose top-left corner lies within 16 pixels of the
  // screen's right or bottom edge (or beyond) moves to 0,0; a condition-pane
  // width below 50 or above the window width - 50 becomes a third of the
  // window width; an image-window offset that would put it off the screen
  // becomes 0,0. DicInfo and EditFile come back absolute.
  void LoadAll(Settings& settings, ScreenSize screen) const;

  // Writes every setting, in one replacement of the file. KeyWidth is
  // stored as presentKeyWidth when the layout (windowLayout) is 0, else as
  // settings.keyWidth. DicInfo and EditFile are stored relative to the
  // settings directory when inside it. Returns true when the file was
  // written.
  bool SaveAll(const Settings& settings, int presentKeyWidth);

 private:
  ProfileFile file_;
  std::string settingsDir_;
};

}  // namespace morva
