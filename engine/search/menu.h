// Menu search: fills the main word list from the current sub-book's menu,
// either as one item for the whole menu or, with settings().specialMenu, as
// one item per menu candidate (a 0x63 escape) followed by the whole-menu item
// when some line offers several candidates.
#pragma once

namespace morva {

class TDisk;
class Wordlist;

// Selects book-list row `row`, empties main and fills it from the menu that
// comes first among the sub-book's menu variants. A sub-book without a menu
// leaves main empty.
void MenuSearch(TDisk& disk, Wordlist& main, int row);

}  // namespace morva
