#include <algorithm>
#include <new>

#include "engine/search/topic_reader.h"

namespace morva {
namespace {
// Above this size the buffer grows by half its size instead of kStep.
constexpr size_t kLinearGrowthLimit = 1 << 20;
}  // namespace

bool TopicBuffer::Resize(size_t capacity) {
  if (limit_ != 0 && capacity > limit_) return false;
  std::unique_ptr<char[]> bigger(new (std::nothrow) char[capacity]);
  if (!bigger) return false;
  if (data_) std::copy_n(data_.get(), capacity_, bigger.get());
  data_ = std::move(bigger);
  capacity_ = capacity;
  return true;
}

bool TopicBuffer::Obtain() {
  Release();
  return Resize(kStep);
}

void TopicBuffer::Release() {
  data_.reset();
  capacity_ = 0;
}

bool TopicBuffer::Reserve(size_t needed) {
  while (capacity_ < needed) {
    size_t step = kStep;
    if (capacity_ >= kLinearGrowthLimit) step = (capacity_ / 2 / kStep) * kStep;
    if (!Resize(capacity_ + step)) return false;
  }
  return true;
}

}  // namespace morva
