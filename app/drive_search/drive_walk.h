// The drive search: walks the search roots down to a depth, probes every
// directory it visits as a book volume (a directory with a catalogs or
// catalog file, or one of the titles known by a directory name) and builds
// the book bar from every sub-book found, one sub-group per volume.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/book_bar/dic_menu_item.h"
#include "engine/book/book_list.h"

namespace morva {

class ProgressBox;
class TDisk;

// The colour marks of found books, in the order found: red, green, yellow,
// dark green, blue, purple, then white for the seventh and every later book.
uint32_t FoundBookColor(int n);

struct DriveSearchResult {
  BookBar bar;                    // separators and books; empty when nothing was found
  std::vector<DicMenuItem> menu;  // the 辞書 menu: one item per book, with its title
  bool cancelled = false;
  int BookCount() const { return static_cast<int>(menu.size()); }
};

// Adds the sub-books of the volume open on disk at volumeDirectory: a
// separator when the volume has a sub-book, then every sub-book except, in a
// volume of the catalogs layout, one whose directory holds a "stream"
// directory or file. Each book gets the volume directory as its location, the
// title cut to 6 bytes as its short name, the next colour, and its mark set.
void AddVolumeBooks(TDisk& disk, const std::string& volumeDirectory, DriveSearchResult& result);

// SearchDrives: closes the disk's sub-book, shows the progress box (when
// given) captioned "ﾄﾞﾗｲﾌﾞをｻｰﾁしています" with one step per root, and walks
// every root of searchRoots (directories in the file system's own bytes,
// separated by ";") to depthLimit. A cancel keeps what was found so far.
// The walk of a root takes, below depthLimit, first every subdirectory of a
// directory (in name order), then the directory itself, which is probed as a
// volume unless the part of its path below the root contains a ".".
// Directories that cannot be listed are passed over, and no directory is
// entered twice in one root's walk (links back up the tree end there).
DriveSearchResult SearchDrives(TDisk& disk, const std::string& searchRoots, int depthLimit,
                               ProgressBox* progress);

// The same walk over one folder taken as it is (a ";" in its name does not
// split it): the folder a user chose or dropped.
DriveSearchResult SearchFolder(TDisk& disk, const std::string& folder, int depthLimit,
                               ProgressBox* progress);

}  // namespace morva
