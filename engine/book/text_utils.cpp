#include "engine/book/text_utils.h"

#include <cstdarg>
#include <cstdio>

#include "engine/text/unicode.h"

namespace morva {

std::string Sjis(std::string_view utf8) { return Utf8ToSjis(utf8); }

std::string Format(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string out;
  if (n > 0) {
    out.resize(static_cast<size_t>(n) + 1);
    std::vsnprintf(out.data(), out.size(), format, args);
    out.resize(static_cast<size_t>(n));
  }
  va_end(args);
  return out;
}

std::string Trim(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return std::string(s);
}

std::string ResolveRelativeName(std::string_view name, std::string_view baseFile) {
  if ((name.size() >= 2 && name[1] == ':') ||
      (!name.empty() && (name[0] == '/' || name[0] == '\\')))
    return std::string(name);
  size_t cut = baseFile.find_last_of("/\\:");
  std::string dir =
      cut == std::string_view::npos ? std::string() : std::string(baseFile.substr(0, cut + 1));
  return dir + std::string(name);
}

}  // namespace morva
