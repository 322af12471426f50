#include "app/settings/history.h"

#include "engine/text/sjis.h"

namespace morva {

std::vector<std::string> SplitHistory(std::string_view value) {
  std::vector<std::string> words;
  while (!value.empty()) {
    size_t dot = value.find('.');
    std::string_view piece = value.substr(0, dot);
    if (!piece.empty()) words.emplace_back(SjisCut(piece, kHistoryWordSize - 1));
    if (dot == std::string_view::npos) break;
    value.remove_prefix(dot + 1);
  }
  return words;
}

std::string JoinHistory(const std::vector<std::string>& words) {
  std::string value;
  for (const std::string& word : words) {
    if (word.empty()) continue;
    if (value.size() + word.size() + 1 >= kHistoryValueSize) break;
    if (!value.empty()) value += '.';
    value += word;
  }
  return value;
}

}  // namespace morva
