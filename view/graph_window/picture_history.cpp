#include "view/graph_window/picture_history.h"

#include "engine/text/sjis.h"

namespace morva {

void PictureHistory::Push(int subbook, BookAddress at, std::string_view title) {
  ring_.Push({subbook, at.page, at.offset, 0});
  titles_[static_cast<size_t>(write_)] = std::string(SjisCut(title, kTitleBytes));
  write_ = (write_ + 1) % HistoryRing::kSlots;
}

std::optional<PictureHistoryEntry> PictureHistory::Pop() {
  const std::optional<HistoryEntry> e = ring_.Pop();
  if (!e) return std::nullopt;
  write_ = (write_ + HistoryRing::kSlots - 1) % HistoryRing::kSlots;
  return PictureHistoryEntry{
      e->subbook, {e->page, e->offset}, titles_[static_cast<size_t>(write_)]};
}

}  // namespace morva
