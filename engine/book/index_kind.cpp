#include "engine/book/index_kind.h"

#include "engine/book/keyed_index.h"
#include "engine/book/messages.h"
#include "engine/book/tdisk.h"

namespace morva {
namespace {

struct FixedRow {
  uint8_t code;
  int inputClass;
  const char* splitNames;
};

// Table order matters: captions are message 300 + 2 * row, and the keyed
// index choices of the search window are listed in this order.
constexpr FixedRow kFixedRows[IndexKindTable::kRows] = {
    {0x00, 0, "honmon"},     // body text
    {0x01, 0, "menu"},       // menu
    {0x90, 3, "zkana.idx"},  // forward kana
    {0x04, 0, "zkana.txt,title"},
    {0x70, 3, "kkana.idx"},  // backward kana
    {0x06, 0, "kkana.txt,title"},
    {0x92, 1, "zalpha.idx"},  // forward alphabet
    {0x72, 1, "kalpha.idx"},  // backward alphabet
    {0x91, 1, "zhyoki.idx"},  // forward notation
    {0x05, 0, "zhyoki.txt"},
    {0x71, 1, "khyoki.idx"},  // backward notation
    {0x07, 0, "khyoki.txt"},
    {0x50, 3, ""},           // kanji
    {0x80, 1, "joken.idx"},  // keyword
    {0x03, 0, "joken.txt"},
    {0x0E, 0, ""},  // graphic
    {0x30, 0, ""},
    {0x40, 0, ""},
    {0x60, 0, ""},
    {0x81, 3, ""},  // cross
    {0x0A, 0, ""},
    {0xA0, 1, ""},  // item number
    {0x0B, 0, ""},
    {0x02, 0, ""},  // copyright page
    {0x93, 3, ""},
    {0x73, 3, ""},
    {0x94, 1, ""},
    {0x74, 1, ""},
    {0xF1, 0, "gaiji16.zen"},  // full-width font
    {0xF2, 0, "gaiji16.han"},  // half-width font
    {0xFF, 0, ""},             // compound search slot
};

}  // namespace

IndexKindTable::IndexKindTable() {
  for (int r = 0; r < kRows; ++r) {
    const FixedRow& f = kFixedRows[r];
    IndexKindRow& row = Row(r);
    row.code = f.code;
    row.inputClass = f.inputClass;
    row.splitNames = f.splitNames;
  }
}

int IndexKindTable::RowOf(uint8_t code) const {
  for (int r = 0; r < kRows; ++r)
    if (rows_[static_cast<size_t>(r)].code == code) return r;
  return 0;
}

void IndexKindTable::Clear() {
  for (IndexKindRow& row : rows_) {
    row.start = 0;
    row.end = 0;
    row.options = {};
  }
}

bool KeyedIndexCaption(const TDisk& disk, int k, uint8_t* code, std::string* caption) {
  if (k < 0) return false;
  for (int r = 0; r < IndexKindTable::kRows; ++r) {
    const IndexKindRow& row = disk.subbook().indexes.Row(r);
    if (row.start == 0 || (row.inputClass & kKeyedIndex) == 0) continue;
    if (k-- > 0) continue;
    if (code) *code = row.code;
    if (caption)
      *caption = std::string(IndexCaption(r, disk.settings().english || disk.SingleByteBook()));
    return true;
  }
  return false;
}

}  // namespace morva
