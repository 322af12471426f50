#include "engine/book/gaiji_map.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "engine/book/tgaiji.h"

namespace morva {

namespace {

uint32_t Key(bool fullWidth, uint16_t code) { return (fullWidth ? 0x10000u : 0u) | code; }

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

// The value of s as hexadecimal digits only, between minDigits and maxDigits.
std::optional<uint32_t> Hex(std::string_view s, size_t minDigits, size_t maxDigits) {
  if (s.size() < minDigits || s.size() > maxDigits) return std::nullopt;
  uint32_t v = 0;
  for (char c : s) {
    const char l = Lower(c);
    if (l >= '0' && l <= '9') {
      v = v * 16 + static_cast<uint32_t>(l - '0');
    } else if (l >= 'a' && l <= 'f') {
      v = v * 16 + static_cast<uint32_t>(l - 'a' + 10);
    } else {
      return std::nullopt;
    }
  }
  return v;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

void AppendUtf8(uint32_t cp, std::string* out) {
  if (cp < 0x80) {
    out->push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out->push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out->push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out->push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out->push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// "u00E9,u0301" as UTF-8; nothing when any item is malformed or no character.
std::optional<std::string> CodePoints(std::string_view field) {
  std::string utf8;
  while (true) {
    const size_t comma = field.find(',');
    const std::string_view item = Trim(field.substr(0, comma));
    if (item.size() < 2 || Lower(item[0]) != 'u') return std::nullopt;
    const auto cp = Hex(item.substr(1), 4, 6);
    if (!cp || *cp > 0x10FFFF || (*cp >= 0xD800 && *cp <= 0xDFFF) || *cp == 0) return std::nullopt;
    AppendUtf8(*cp, &utf8);
    if (comma == std::string_view::npos) return utf8;
    field.remove_prefix(comma + 1);
  }
}

// One line without its end; false when it is malformed. Blank and comment
// lines are good and add nothing.
bool ParseLine(std::string_view line, GaijiMap* map) {
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) {
      line = line.substr(0, i);
      break;
    }
  }
  line = Trim(line);
  if (line.empty()) return true;
  const size_t tab1 = line.find('\t');
  if (tab1 == std::string_view::npos) return false;
  const std::string_view code = line.substr(0, tab1);
  std::string_view rest = line.substr(tab1 + 1);
  const size_t tab2 = rest.find('\t');
  const std::string_view points = Trim(rest.substr(0, tab2));
  const std::string_view replacement =
      tab2 == std::string_view::npos ? std::string_view() : Trim(rest.substr(tab2 + 1));
  if (replacement.find('\t') != std::string_view::npos) return false;

  if (code.size() != 5 || (Lower(code[0]) != 'h' && Lower(code[0]) != 'z')) return false;
  const auto value = Hex(code.substr(1), 4, 4);
  if (!value) return false;
  GaijiMapEntry entry;
  entry.replacement = std::string(replacement);
  if (points != "-" && !EqualNoCase(points, "null")) {
    auto utf8 = CodePoints(points);
    if (!utf8) return false;
    entry.utf8 = std::move(*utf8);
  }
  map->Set(Lower(code[0]) == 'z', static_cast<uint16_t>(*value), std::move(entry));
  return true;
}

}  // namespace

const GaijiMapEntry* GaijiMap::Find(bool fullWidth, uint16_t code) const {
  const auto it = entries_.find(Key(fullWidth, code));
  return it == entries_.end() ? nullptr : &it->second;
}

void GaijiMap::Set(bool fullWidth, uint16_t code, GaijiMapEntry entry) {
  entries_[Key(fullWidth, code)] = std::move(entry);
}

void GaijiMap::DropConverted(const TGaiji& conversion) {
  std::erase_if(entries_, [&conversion](const auto& item) {
    return conversion.Lookup(item.first & 0xFFFF, (item.first & 0x10000) != 0) >= 0;
  });
}

GaijiMapParse ParseGaijiMap(std::string_view text) {
  GaijiMapParse result;
  // A byte-order mark some editors write before the first line.
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  int number = 0;
  while (!text.empty()) {
    ++number;
    const size_t end = text.find('\n');
    if (!ParseLine(text.substr(0, end), &result.map)) result.badLines.push_back(number);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return result;
}

std::optional<GaijiMapParse> LoadGaijiMap(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return ParseGaijiMap(text);
}

std::string FindGaijiMapIn(const std::string& folder, std::string_view subbookName) {
  if (folder.empty() || subbookName.empty()) return "";
  const std::string wanted = std::string(subbookName) + ".map";
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
       it.increment(ec)) {
    if (EqualNoCase(it->path().filename().string(), wanted) && it->is_regular_file(ec))
      return it->path().string();
  }
  return "";
}

std::string FindGaijiMap(const std::string& volumeFolder, std::string_view subbookName) {
  std::string config;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && xdg[0] == '/') {
    config = xdg;
  } else if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') {
    config = std::string(home) + "/.config";
  }
  if (!config.empty()) {
    std::string found = FindGaijiMapIn(config + "/morva/gaiji", subbookName);
    if (!found.empty()) return found;
  }
  return FindGaijiMapIn(volumeFolder, subbookName);
}

std::string GaijiMapWarning(const std::string& path, const GaijiMapParse& parsed) {
  if (parsed.badLines.empty()) return "";
  std::string text =
      path + ":" + std::to_string(parsed.badLines.front()) + ": malformed line skipped";
  if (parsed.badLines.size() > 1)
    text += " (" + std::to_string(parsed.badLines.size()) + " malformed lines in all)";
  return text;
}

}  // namespace morva
