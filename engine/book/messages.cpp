#include "engine/book/messages.h"

#include <charconv>
#include <map>
#include <string>

#include "engine/text/unicode.h"

namespace morva {
namespace detail {
extern const char kMessagesTsv[];
}

namespace {

// Turns the two-character escape "\n" into a line break.
std::string Unescape(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size() && s[i + 1] == 'n') {
      out += '\n';
      ++i;
    } else {
      out += s[i];
    }
  }
  return out;
}

// Parsed once on first use; the texts are Shift-JIS from then on.
const std::map<int, std::string>& Catalogue() {
  static const std::map<int, std::string> catalogue = [] {
    std::map<int, std::string> m;
    std::string_view all(detail::kMessagesTsv);
    while (!all.empty()) {
      size_t end = all.find('\n');
      std::string_view line = all.substr(0, end);
      all = end == std::string_view::npos ? std::string_view() : all.substr(end + 1);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      size_t tab = line.find('\t');
      if (line.empty() || line[0] == '#' || tab == std::string_view::npos) continue;
      int n = 0;
      auto [p, ec] = std::from_chars(line.data(), line.data() + tab, n);
      if (ec != std::errc() || p != line.data() + tab) continue;
      m[n] = Utf8ToSjis(Unescape(line.substr(tab + 1)));
    }
    return m;
  }();
  return catalogue;
}

}  // namespace

std::string_view CatalogueEntry(int n) {
  const auto& c = Catalogue();
  auto it = c.find(n);
  return it == c.end() ? std::string_view() : std::string_view(it->second);
}

std::string_view Message(int n, bool english) { return CatalogueEntry(n + (english ? 1 : 0)); }

std::string_view IndexCaption(int row, bool english) { return Message(300 + 2 * row, english); }

}  // namespace morva
