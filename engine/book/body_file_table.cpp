#include <algorithm>

#include "engine/book/tdisk.h"

namespace morva {

bool BodyFileTable::Add(std::string path, int32_t firstPage) {
  if (Full()) return false;
  rows_.push_back({std::move(path), firstPage});
  return true;
}

int BodyFileTable::RowOfPage(int32_t page) const {
  const int n = Count();
  for (int i = 0; i < n; ++i) {
    const bool last = i + 1 == n;
    if (page >= rows_[static_cast<size_t>(i)].firstPage &&
        (last || page < rows_[static_cast<size_t>(i) + 1].firstPage))
      return i;
  }
  return n > 0 ? n - 1 : 0;
}

void BodyFileTable::Sort() {
  if (rows_.size() < 2) return;
  // Row 0 stays; the rest ascend by first page, equal neighbours keep their order.
  std::stable_sort(rows_.begin() + 1, rows_.end(), [](const BodyFileRow& a, const BodyFileRow& b) {
    return a.firstPage < b.firstPage;
  });
  // Drop rows whose first page equals that of the row kept before them.
  std::vector<BodyFileRow> kept;
  kept.push_back(std::move(rows_[0]));
  for (size_t i = 1; i < rows_.size(); ++i) {
    if (rows_[i].firstPage == kept.back().firstPage) continue;
    kept.push_back(std::move(rows_[i]));
  }
  rows_ = std::move(kept);
}

}  // namespace morva
