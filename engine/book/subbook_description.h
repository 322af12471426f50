// The sub-book part of TDisk: the open volume and what its catalog and index
// page say about the current sub-book.
#pragma once

#include <cstdint>
#include <string>

#include "engine/book/index_kind.h"

namespace morva {

struct SubbookDescription {
  // The volume root, always ending in "/" once a volume is opened.
  std::string volumeRoot;
  // Volume kind: 0 catalogs layout, 1 catalog layout, 2 without catalog,
  // -1 not opened. Reading a page sets -1 when there is no file to read from.
  int volumeKind = -1;
  int subbookCount = 0;
  int catalogRecord = 0;         // record number of the current sub-book
  std::string title;             // current title, Shift-JIS
  bool specialTitle = false;     // title is 平凡社「世界大百科事典」
  int protection = 0;            // bit 0 display, 1 print, 2 quotation: set = forbidden
  std::string subbookDirectory;  // volume root + directory name, no trailing "/"
  bool splitLayout = false;
  IndexKindTable indexes;
  MenuVariants menus;
  int indexCount = 0;
  int currentIndexRow = 0;  // the index searched for the current operand
  int32_t indexPage = 1;    // the page the index table was read from
  // Input method for the search box: 1 open, 0 closed, -1 no preference.
  int imeMode = -1;
};

}  // namespace morva
