#include "engine/search/menu.h"

#include "engine/book/tdisk.h"
#include "engine/decode/decoder.h"
#include "engine/search/wordlist.h"

namespace morva {
namespace {

constexpr int kStartText = 0x02;
constexpr int kEndText = 0x03;
constexpr int kLineBreak = 0x0A;
constexpr int kBeginCandidate = 0x43;
constexpr int kEndCandidate = 0x63;

// Turns the special-title treatment off while the menu is read, as its
// escapes are those of an ordinary book.
class SpecialTitleSuspended {
 public:
  explicit SpecialTitleSuspended(TDisk& disk) : disk_(disk), saved_(disk.subbook().specialTitle) {
    disk_.subbook().specialTitle = false;
  }
  ~SpecialTitleSuspended() { disk_.subbook().specialTitle = saved_; }
  SpecialTitleSuspended(const SpecialTitleSuspended&) = delete;
  SpecialTitleSuspended& operator=(const SpecialTitleSuspended&) = delete;

 private:
  TDisk& disk_;
  bool saved_;
};

int32_t MenuStartPage(const TDisk& disk) {
  const int first = disk.subbook().menus.firstPresent;
  if (first < 0 || first >= static_cast<int>(disk.subbook().menus.start.size())) return 0;
  return disk.subbook().menus.start[static_cast<size_t>(first)];
}

bool IsEscape(int value, const EscapeItem& item, int code) {
  return value == kDecodeEscape && item.code == code;
}

// Appends one item per candidate of the menu at page; returns whether some
// line held two or more candidates.
bool AppendCandidates(TDisk& disk, Wordlist& list, int32_t page, int book) {
  if (disk.Seek(page, 0) != 0) return false;
  bool severalOnALine = false;
  EscapeItem item;
  BookAddress lineStart = disk.Tell();
  int value = DecodeNext(disk, item, true);
  for (;;) {
    // Line openings: text start, candidate starts and empty lines.
    while (IsEscape(value, item, kStartText) || IsEscape(value, item, kBeginCandidate) ||
           IsEscape(value, item, kLineBreak)) {
      lineStart = disk.Tell();
      value = DecodeNext(disk, item, true);
    }
    if (value == kDecodeEnd || IsEscape(value, item, kEndText)) break;

    int candidates = 0;
    while (value != kDecodeEnd && !IsEscape(value, item, kLineBreak) &&
           !IsEscape(value, item, kEndText)) {
      if (IsEscape(value, item, kEndCandidate)) {
        if (!list.Append(lineStart, BookAddress{item.p1, item.p2}, book)) return severalOnALine;
        ++candidates;
      }
      value = DecodeNext(disk, item, true);
    }
    if (candidates >= 2) severalOnALine = true;
    if (value == kDecodeEnd || IsEscape(value, item, kEndText)) break;
  }
  return severalOnALine;
}

}  // namespace

void MenuSearch(TDisk& disk, Wordlist& main, int row) {
  main.Empty();
  if (!disk.SelectSubbook(row)) return;
  const int32_t page = MenuStartPage(disk);
  if (page == 0) return;  // no menu to show
  const BookAddress wholeMenu{page, 0};

  if (!disk.settings().specialMenu) {
    main.Append(BookAddress{}, wholeMenu, row);
    return;
  }
  const SpecialTitleSuspended suspended(disk);
  const bool severalOnALine = AppendCandidates(disk, main, page, row);
  // A menu whose lines hold no candidates of this form (many books link with
  // ordinary references) would otherwise show nothing at all: the whole menu
  // stays reachable.
  if (severalOnALine || main.IsEmpty()) main.Append(BookAddress{}, wholeMenu, row);
}

}  // namespace morva
