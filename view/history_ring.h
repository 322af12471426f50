// A ring of shown positions for the back button: 11 slots holding at most 10
// entries; pushing onto a full ring drops the oldest entry. The content view
// keeps one for its back history, the image window another.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace morva {

struct HistoryEntry {
  int subbook = -1;  // book-list row
  int32_t page = 0;
  int32_t offset = 0;
  int topLine = 0;
  bool operator==(const HistoryEntry&) const = default;
};

class HistoryRing {
 public:
  static constexpr int kSlots = 11;

  void Push(const HistoryEntry& entry) {
    slots_[static_cast<size_t>(write_)] = entry;
    write_ = (write_ + 1) % kSlots;
    if (write_ == oldest_) oldest_ = (oldest_ + 1) % kSlots;
  }
  // The newest entry, taken off the ring; nothing when it is empty.
  std::optional<HistoryEntry> Pop() {
    if (Empty()) return std::nullopt;
    write_ = (write_ + kSlots - 1) % kSlots;
    return slots_[static_cast<size_t>(write_)];
  }
  int Count() const { return (write_ - oldest_ + kSlots) % kSlots; }
  bool Empty() const { return Count() == 0; }
  bool AtLeastTwo() const { return Count() >= 2; }
  void Clear() { write_ = oldest_ = 0; }

 private:
  std::array<HistoryEntry, kSlots> slots_{};
  int write_ = 0;
  int oldest_ = 0;
};

}  // namespace morva
