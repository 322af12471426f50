// File names of the settings and the other per-user files. Stored names are
// Shift-JIS bytes and may use "\" as separator; a name that is not absolute is
// taken relative to the settings directory.
#pragma once

#include <string>
#include <string_view>

namespace morva {

// The settings directory for the given environment values (either may be
// null or empty): $XDG_CONFIG_HOME/morva/ when XDG_CONFIG_HOME is an absolute
// path, else <home>/.config/morva/. Always ends with "/".
std::string SettingsDirectoryFor(const char* xdgConfigHome, const char* home);

// The settings directory of this process, from its environment (falling back
// to the password database when HOME is unset).
std::string SettingsDirectory();

// True when name starts with "/" or "\" or has ":" as its second character.
// A drive-letter name ("D:\MORVA.DAT") counts as absolute; it simply names no
// file here.
bool IsAbsoluteName(std::string_view name);

// Every "\" that is a character of its own becomes "/"; the trail byte of a
// double-byte character (as in 表, 0x95 0x5C) stays as it is.
std::string BackslashesToSlashes(std::string_view name);

// The file a stored name stands for: an absolute name as it is, any other
// name after settingsDir; "\" separators become "/". An empty name stays
// empty (no file).
std::string ResolvePath(std::string_view name, std::string_view settingsDir);

// The name to store for path: without settingsDir when path begins with it,
// else path unchanged.
std::string RelativePath(std::string_view path, std::string_view settingsDir);

}  // namespace morva
