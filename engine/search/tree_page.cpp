#include "engine/search/tree_page.h"

#include "engine/book/tdisk.h"

namespace morva {
namespace {

constexpr int kAddressSize = 6;  // 4-byte page, 2-byte offset
constexpr int kChildSize = 4;

bool Fits(int position, int size) {
  return position >= 0 && size >= 0 && position + size <= kPageSize;
}

}  // namespace

IndexPageHeader::IndexPageHeader(const uint8_t* page)
    : kind(page[0]), keyLength(page[1]), entryCount(TDisk::Be16(page + 2)) {}

BookAddress ReadIndexAddress(const uint8_t* p) {
  return {static_cast<int32_t>(TDisk::Be32(p)), static_cast<int32_t>(TDisk::Be16(p + 4))};
}

BranchCursor::BranchCursor(const uint8_t* page) : page_(page), header_(page) {}

bool BranchCursor::Next(BranchEntry* entry) {
  const int size = header_.keyLength + kChildSize;
  if (!Fits(position_, size)) return false;
  entry->key = page_ + position_;
  entry->keyLength = header_.keyLength;
  entry->child = static_cast<int32_t>(TDisk::Be32(page_ + position_ + header_.keyLength));
  position_ += size;
  ++index_;
  return true;
}

LeafCursor::LeafCursor(const uint8_t* page, LeafShape shape)
    : page_(page), header_(page), shape_(shape) {}

LeafCursor::Status LeafCursor::Next(LeafEntry* entry) {
  if (index_ >= header_.entryCount) return kEnd;
  *entry = LeafEntry{};
  const Status status = shape_ == LeafShape::kPlain ? NextPlain(entry) : NextGrouped(entry);
  if (status == kEntry) ++index_;
  return status;
}

LeafCursor::Status LeafCursor::NextPlain(LeafEntry* entry) {
  int pos = position_;
  int length = header_.keyLength;
  if (length == 0) {  // each entry carries its own length byte
    if (!Fits(pos, 1)) return kOverrun;
    length = page_[pos++];
  }
  if (!Fits(pos, length + 2 * kAddressSize)) return kOverrun;
  entry->key = page_ + pos;
  entry->keyLength = length;
  pos += length;
  entry->body = ReadIndexAddress(page_ + pos);
  entry->heading = ReadIndexAddress(page_ + pos + kAddressSize);
  entry->hasBody = entry->hasHeading = true;
  position_ = pos + 2 * kAddressSize;
  return kEntry;
}

LeafCursor::Status LeafCursor::NextGrouped(LeafEntry* entry) {
  int pos = position_;
  if (!Fits(pos, 1)) return kOverrun;
  entry->kind = page_[pos++];
  const bool keywordMember = entry->kind == kEntryGroupMember && shape_ != LeafShape::kGroupedWord;
  switch (entry->kind) {
    case kEntrySingle:
    case kEntryGroupHead:
    case kEntryGroupMember: break;
    default: return kBadKind;
  }

  // Keyword and compound group members carry no key and no length byte.
  if (keywordMember) {
    const bool withHeading = shape_ == LeafShape::kGroupedCompound;
    const int size = kAddressSize * (withHeading ? 2 : 1);
    if (!Fits(pos, size)) return kOverrun;
    entry->body = ReadIndexAddress(page_ + pos);
    entry->hasBody = true;
    if (withHeading) {
      entry->heading = ReadIndexAddress(page_ + pos + kAddressSize);
      entry->hasHeading = true;
    }
    position_ = pos + size;
    return kEntry;
  }

  if (!Fits(pos, 1)) return kOverrun;
  const int length = page_[pos++];
  if (entry->kind == kEntryGroupHead) {
    // Word heads have 2 unread bytes before the key, keyword and compound
    // heads 4; a keyword head adds the group's heading address.
    const int skip = shape_ == LeafShape::kGroupedWord ? 2 : 4;
    const bool withHeading = shape_ == LeafShape::kGroupedKeyword;
    const int size = skip + length + (withHeading ? kAddressSize : 0);
    if (!Fits(pos, size)) return kOverrun;
    entry->key = page_ + pos + skip;
    entry->keyLength = length;
    if (withHeading) {
      entry->heading = ReadIndexAddress(page_ + pos + skip + length);
      entry->hasHeading = true;
    }
    position_ = pos + size;
    return kEntry;
  }

  // A single entry, or a word index's group member: key, body, heading.
  const int size = length + 2 * kAddressSize;
  if (!Fits(pos, size)) return kOverrun;
  entry->key = page_ + pos;
  entry->keyLength = length;
  entry->body = ReadIndexAddress(page_ + pos + length);
  entry->heading = ReadIndexAddress(page_ + pos + length + kAddressSize);
  entry->hasBody = entry->hasHeading = true;
  position_ = pos + size;
  return kEntry;
}

}  // namespace morva
