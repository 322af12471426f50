#include "app/settings/settings_store.h"

#include "platform/paths.h"

namespace morva {

namespace {

constexpr size_t kBoolBufferSize = 16;
constexpr size_t kIntBufferSize = 32;
constexpr size_t kColorBufferSize = 32;
constexpr size_t kRectBufferSize = 20;  // 19 characters and the terminating zero
constexpr size_t kFontPairBufferSize = 256;
constexpr size_t kParmBufferSize = 429;

std::string DirectoryOf(const std::string& filePath) {
  size_t slash = filePath.rfind('/');
  return slash == std::string::npos ? std::string() : filePath.substr(0, slash + 1);
}

}  // namespace

std::string DefaultSettingsFilePath() { return SettingsDirectory() + kSettingsFileName; }

SettingsStore::SettingsStore(std::string filePath)
    : file_(std::move(filePath)), settingsDir_(DirectoryOf(file_.Path())) {}

bool SettingsStore::ReadBool(std::string_view section, std::string_view key,
                             bool defaultValue) const {
  return file_.ReadString(section, key, defaultValue ? "yes" : "no", kBoolBufferSize) == "yes";
}

int SettingsStore::ReadInt(std::string_view section, std::string_view key, int defaultValue) const {
  return ParseInt(file_.ReadString(section, key, FormatInt(defaultValue), kIntBufferSize))
      .value_or(defaultValue);
}

std::string SettingsStore::ReadString(std::string_view section, std::string_view key,
                                      std::string_view defaultValue, size_t bufferSize) const {
  return file_.ReadString(section, key, defaultValue, bufferSize);
}

uint32_t SettingsStore::ReadColor(std::string_view section, std::string_view key,
                                  uint32_t defaultValue) const {
  return ParseColor(file_.ReadString(section, key, FormatColor(defaultValue), kColorBufferSize))
      .value_or(defaultValue);
}

Rect SettingsStore::ReadRect(std::string_view section, std::string_view key,
                             const Rect& defaultValue) const {
  return ParseRect(file_.ReadString(section, key, FormatRect(defaultValue), kRectBufferSize))
      .value_or(defaultValue);
}

FontPair SettingsStore::ReadFontPair(std::string_view section, std::string_view key,
                                     std::string_view defaultValue) const {
  FontPair fallback = ParseFontPair(defaultValue, FontPair{});
  return ParseFontPair(file_.ReadString(section, key, defaultValue, kFontPairBufferSize), fallback);
}

bool SettingsStore::WriteBool(std::string_view section, std::string_view key, bool value) {
  return file_.WriteString(section, key, value ? "yes" : "no");
}

bool SettingsStore::WriteInt(std::string_view section, std::string_view key, int value) {
  return file_.WriteString(section, key, FormatInt(value));
}

bool SettingsStore::WriteString(std::string_view section, std::string_view key,
                                std::string_view value) {
  return file_.WriteString(section, key, value);
}

bool SettingsStore::WriteColor(std::string_view section, std::string_view key, uint32_t value) {
  return file_.WriteString(section, key, FormatColor(value));
}

bool SettingsStore::WriteRect(std::string_view section, std::string_view key, const Rect& value) {
  return file_.WriteString(section, key, FormatRect(value));
}

bool SettingsStore::WriteFontPair(std::string_view section, std::string_view key,
                                  const FontPair& value) {
  return file_.WriteString(section, key, FormatFontPair(value));
}

std::string SettingsStore::ReadParm() const {
  return file_.ReadString("Options", "Parm", "", kParmBufferSize);
}

bool SettingsStore::WriteParm(std::string_view request) {
  return file_.WriteString("Options", "Parm", request);
}

std::string SettingsStore::ResolvePath(std::string_view name) const {
  return morva::ResolvePath(name, settingsDir_);
}

std::string SettingsStore::RelativePath(std::string_view path) const {
  return morva::RelativePath(path, settingsDir_);
}

}  // namespace morva
