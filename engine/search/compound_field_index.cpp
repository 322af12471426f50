// Finding compound searches on the index table page, and loading one field's
// index into the compound slot for the "@nm" operand form.
#include <algorithm>
#include <climits>

#include "engine/book/tdisk.h"
#include "engine/search/compound.h"
#include "engine/search/search_key.h"

namespace morva {
namespace {

// Index table page: byte 1 the entry count, 16-byte entries from byte 16
// (only the first 100 are read, which keeps them inside the page).
constexpr int kTableEntriesOffset = 16;
constexpr int kTableEntrySize = 16;
constexpr int kMaxTableEntries = 100;

// Definition page: byte 1 the field count, 16-byte units from byte 16.
constexpr int kUnitsOffset = 16;
constexpr int kUnitSize = 16;

// Sub-entries of a definition page that name a field's index.
bool IsFieldIndexUnit(uint8_t kind) {
  return kind == 0xA1 || kind == 0x91 || kind == 0xB0 || kind == 0xB1;
}

// Calls visit(entry) for every 0xFF entry of the index table page, in order,
// until it returns false.
template <typename Visit>
void ForEachCompoundEntry(TDisk& disk, Visit visit) {
  if (disk.ReadPage(disk.subbook().indexPage) != 0) return;
  const uint8_t* page = disk.PageBuffer();
  const int entries = std::min<int>(page[1], kMaxTableEntries);
  for (int i = 0; i < entries; ++i) {
    const uint8_t* entry = page + kTableEntriesOffset + i * kTableEntrySize;
    if (entry[0] == index_codes::kCompoundSlot && !visit(entry)) return;
  }
}

// A page number as stored, kept to the positive numbers a page can have.
int32_t StoredPage(const uint8_t* p) {
  const uint32_t v = TDisk::Be32(p);
  return v > static_cast<uint32_t>(INT32_MAX) ? 0 : static_cast<int32_t>(v);
}

}  // namespace

int CompoundSearchCount(TDisk& disk) {
  int count = 0;
  ForEachCompoundEntry(disk, [&count](const uint8_t*) {
    ++count;
    return true;
  });
  return count;
}

int32_t CompoundDefinitionPage(TDisk& disk, int compound) {
  if (compound < 0) return 0;
  int32_t definitionPage = 0;
  int seen = 0;
  ForEachCompoundEntry(disk, [&](const uint8_t* entry) {
    if (seen++ != compound) return true;
    definitionPage = StoredPage(entry + 2);
    return false;
  });
  return definitionPage;
}

bool LoadFieldIndex(TDisk& disk, int compound, int field) {
  IndexKindRow& slot = disk.subbook().indexes.ByCode(index_codes::kCompoundSlot);
  slot.start = 0;
  if (field < 0) return false;

  const int32_t definitionPage = CompoundDefinitionPage(disk, compound);
  if (definitionPage == 0 || disk.ReadPage(definitionPage) != 0) return false;
  const uint8_t* page = disk.PageBuffer();
  if (page[1] == 0) return false;  // no fields
  // The field records are walked in 16-byte units: the n-th index sub-entry
  // on the page belongs to field n.
  int seen = 0;
  for (int pos = kUnitsOffset; pos + kUnitSize <= kPageSize; pos += kUnitSize) {
    const uint8_t* unit = page + pos;
    if (!IsFieldIndexUnit(unit[0])) continue;
    if (seen++ != field) continue;
    slot.start = StoredPage(unit + 2);
    const int64_t end = int64_t{slot.start} + TDisk::Be32(unit + 6) - 1;
    slot.end = static_cast<int32_t>(std::clamp<int64_t>(end, 0, INT32_MAX));
    slot.options = {unit[11], unit[12], unit[13]};
    return slot.start != 0;
  }
  return false;
}

}  // namespace morva
