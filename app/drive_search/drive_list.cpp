#include "app/drive_search/drive_list.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "engine/book/text_utils.h"

namespace morva {
std::vector<std::string> ParseSearchRoots(std::string_view roots, std::string_view home) {
  std::vector<std::string> out;
  while (!roots.empty()) {
    const size_t end = roots.find(';');
    std::string entry = Trim(roots.substr(0, end));
    roots = end == std::string_view::npos ? std::string_view() : roots.substr(end + 1);
    if (entry == "~" || entry.starts_with("~/")) entry = std::string(home) + entry.substr(1);
    while (entry.size() > 1 && entry.back() == '/') entry.pop_back();
    if (entry.empty() || std::find(out.begin(), out.end(), entry) != out.end()) continue;
    out.push_back(std::move(entry));
  }
  return out;
}

std::string HomeDirectory() {
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') return home;
  if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_dir != nullptr)
    return pw->pw_dir;
  return "/";
}

}  // namespace morva
