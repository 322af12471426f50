#include "engine/search/wordlist.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <stdexcept>

#include "engine/book/report.h"
#include "engine/book/text_utils.h"
#include "engine/text/sjis.h"

namespace morva {
namespace {

bool BodyLess(const WordlistItem& a, const WordlistItem& b) { return a.body < b.body; }

bool BookBodyLess(const WordlistItem& a, const WordlistItem& b) {
  if (a.book != b.book) return a.book < b.book;
  return a.body < b.body;
}

bool NameLess(const WordlistItem& a, const WordlistItem& b) {
  // std::string_view compares through char_traits<char>, which orders bytes
  // as unsigned char.
  return a.NameKey() < b.NameKey();
}

}  // namespace

void Wordlist::Empty() {
  std::vector<WordlistItem>().swap(items_);
  capacity_ = 0;
  marked_ = 0;
}

bool Wordlist::Grow() {
  const int wanted = capacity_ + kGrowthStep;
  try {
    if (capacityLimit_ >= 0 && wanted > capacityLimit_) throw std::bad_alloc();
    items_.reserve(static_cast<size_t>(wanted));
  } catch (const std::exception&) {  // bad_alloc or length_error
    reporter_->Fatal(Sjis("項目リスト用の記憶域を確保できません。"));
    return false;
  }
  capacity_ = wanted;
  return true;
}

bool Wordlist::Append(BookAddress heading, BookAddress body, int32_t book) {
  if (Count() >= capacity_ && !Grow()) return false;
  if (!items_.empty() && items_.back().body == body && items_.back().book == book) return true;
  WordlistItem item;
  item.heading = heading;
  item.body = body;
  item.book = book;
  items_.push_back(item);
  return true;
}

bool Wordlist::AppendAll(const Wordlist& source) {
  for (const WordlistItem& item : source.items_) {
    if (!Append(item.heading, item.body, item.book)) return false;
  }
  return true;
}

void Wordlist::SetMarks(bool on) {
  if (items_.empty()) return;
  for (WordlistItem& item : items_) item.mark = on;
  marked_ = on ? Count() : 0;
}

void Wordlist::SetMark(int index, bool on) {
  if (index < 0 || index >= Count()) return;
  WordlistItem& item = items_[static_cast<size_t>(index)];
  if (item.mark != on) marked_ += on ? 1 : -1;
  item.mark = on;
}

void Wordlist::SetHeading(int index, BookAddress heading) {
  if (index >= 0 && index < Count()) items_[static_cast<size_t>(index)].heading = heading;
}

void Wordlist::RemoveConsecutiveDuplicates() {
  auto end =
      std::unique(items_.begin(), items_.end(),
                  [](const WordlistItem& a, const WordlistItem& b) { return a.body == b.body; });
  items_.erase(end, items_.end());
  marked_ = static_cast<int>(
      std::count_if(items_.begin(), items_.end(), [](const WordlistItem& i) { return i.mark; }));
}

bool Wordlist::Contains(BookAddress body) const {
  WordlistItem probe;
  probe.body = body;
  return std::binary_search(items_.begin(), items_.end(), probe, BodyLess);
}

void Wordlist::Filter(Wordlist& source, bool keep) {
  source.SortByBody();
  auto end = std::remove_if(items_.begin(), items_.end(), [&](const WordlistItem& item) {
    return source.Contains(item.body) != keep;
  });
  items_.erase(end, items_.end());
  marked_ = static_cast<int>(
      std::count_if(items_.begin(), items_.end(), [](const WordlistItem& i) { return i.mark; }));
}

// The sorts are stable: items with distinct keys end in the same order as
// with a diminishing-increment sort, and equal keys keep their order.
void Wordlist::SortByBody() { std::stable_sort(items_.begin(), items_.end(), BodyLess); }

void Wordlist::SortByBookAndBody() { std::stable_sort(items_.begin(), items_.end(), BookBodyLess); }

void Wordlist::SortByName(TDisk& disk) {
  if (items_.empty()) return;
  if (items_.front().NameKey().empty()) {
    for (int i = 0; i < Count(); ++i) {
      const std::string heading = HeadingText(disk, *this, i, HeadingMode::kKey);
      const std::string_view key = SjisCut(heading, WordlistItem::kNameKeyLength);
      WordlistItem& item = items_[static_cast<size_t>(i)];
      item.nameKey.fill('\0');
      std::memcpy(item.nameKey.data(), key.data(), key.size());
    }
  }
  std::stable_sort(items_.begin(), items_.end(), NameLess);
}

}  // namespace morva
