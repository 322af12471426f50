// The drive search: walks the search roots down to a depth, probes every
// directory it visits as a book volume (a directory with a catalogs or
// catalog file, or one of the titles known by a directory name) and builds
// the book bar from every sub-book found, one sub-group per volume.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/book_bar/dic_menu.h"
#include "engine/book/book_list.h"

namespace morva {

class ProgressBox;
class TDisk;

// The colour marks of found books, in the order found: red, green, yellow,
// dark green, blue, purple, then white for the seventh and every later book.
uint32_t FoundBookColor(int n);

// Walks directory `path`: with depth below depthLimit, first every
// subdirectory (in name order, depth + 1), then, unless the part of the path
// below the root contains a ".", the directory itself: the volume there is
// opened on disk, onVolume is called with the directory, and the volume is
// closed again. Directories that cannot be listed end their walk silently.
// depth is 0 for a search root.
void WalkDirectory(TDisk& disk, const std::string& root, const std::string& path, int depth, int depthLimit,
                   const std::function<void(const std::string& volumeDirectory)>& onVolume);

struct DriveSearchResult {
  BookBar bar;                      // separators and books; empty when nothing was found
  std::vector<DicMenuItem> menu;    // the 辞書 menu: one item per book, with its title
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
DriveSearchResult SearchDrives(TDisk& disk, const std::string& searchRoots, int depthLimit, ProgressBox* progress);

}  // namespace morva
