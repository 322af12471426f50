// The image window's history of pictures for 前の画像: the view's history ring
// (11 slots, at most 10 entries) holding (sub-book, page, offset) of each
// descriptor shown, and beside it the title of each slot, cut to 20 bytes.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "engine/book/book_address.h"
#include "view/history_ring.h"

namespace morva {

struct PictureHistoryEntry {
  int subbook = -1;
  BookAddress at;
  std::string title;  // Shift-JIS, at most kTitleBytes
};

class PictureHistory {
 public:
  static constexpr size_t kTitleBytes = 20;

  void Push(int subbook, BookAddress at, std::string_view title);
  // The newest entry, taken off; nothing when empty.
  std::optional<PictureHistoryEntry> Pop();
  int Count() const { return ring_.Count(); }

 private:
  // The ring moves its write slot exactly like write_ below, so titles_[i]
  // belongs to the ring's slot i.
  HistoryRing ring_;
  std::array<std::string, HistoryRing::kSlots> titles_{};
  int write_ = 0;
};

}  // namespace morva
