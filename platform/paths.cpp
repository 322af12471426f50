#include "platform/paths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

#include "engine/text/sjis.h"

namespace morva {

std::string SettingsDirectoryFor(const char* xdgConfigHome, const char* home) {
  std::string base;
  if (xdgConfigHome && xdgConfigHome[0] == '/') {
    base = xdgConfigHome;
  } else {
    base = (home && home[0]) ? home : ".";
    if (base.back() != '/') base += '/';
    base += ".config";
  }
  if (base.back() != '/') base += '/';
  return base + "morva/";
}

std::string SettingsDirectory() {
  const char* home = std::getenv("HOME");
  if (!home || !home[0]) {
    if (const passwd* pw = ::getpwuid(::getuid())) home = pw->pw_dir;
  }
  return SettingsDirectoryFor(std::getenv("XDG_CONFIG_HOME"), home);
}

bool IsAbsoluteName(std::string_view name) {
  if (name.empty()) return false;
  return name[0] == '/' || name[0] == '\\' || (name.size() >= 2 && name[1] == ':');
}

std::string BackslashesToSlashes(std::string_view name) {
  std::string out(name);
  for (size_t i = 0; i < out.size(); i += SjisCharLength(out, i)) {
    if (out[i] == '\\') out[i] = '/';
  }
  return out;
}

std::string ResolvePath(std::string_view name, std::string_view settingsDir) {
  if (name.empty()) return {};
  if (IsAbsoluteName(name)) return BackslashesToSlashes(name);
  return std::string(settingsDir) + BackslashesToSlashes(name);
}

std::string RelativePath(std::string_view path, std::string_view settingsDir) {
  if (!settingsDir.empty() && path.starts_with(settingsDir))
    return std::string(path.substr(settingsDir.size()));
  return std::string(path);
}

}  // namespace morva
