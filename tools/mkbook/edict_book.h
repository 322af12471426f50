// A Japanese-English book built from an EDICT file: one volume in the
// "catalogs" layout with one sub-book, "和英辞典（ＥＤＩＣＴ）" in directory
// edict/. Each entry is laid out as
//
//   1F09 0001 1F41 0100 かな【漢字】 1F61 1F0A
//   1F09 0002 1F04 gloss; gloss ... 1F05 1F0A        (a line per numbered sense)
//
// with the glosses as full-width ASCII shown half width. The sub-book carries
// the forward and backward kana indexes (0x90, 0x70), the forward and
// backward notation indexes (0x91, 0x71) and the alphabet index (0x92), all
// with plain leaves (a length byte per key; keys as edict_keys.h says), a menu
// leading to the first entry of each kana row, and a copyright page with the
// source's notices. Heading addresses point at the headword text, which ends
// with the entry's first line.
#pragma once

#include <cstddef>
#include <istream>

#include "tools/mkbook/volume.h"

namespace morva::mkbook {

struct EdictBookOptions {
  size_t limit = 0;  // at most this many entries; 0 = all
};

struct EdictBookStats {
  size_t lines = 0;
  size_t entries = 0;
  size_t outsideJis = 0;  // lines skipped for characters outside JIS X 0208
  size_t malformed = 0;   // lines skipped for not being entries
  size_t kanaKeys = 0;
  size_t notationKeys = 0;
  size_t alphaKeys = 0;
  size_t pages = 0;  // of the body file
};

struct EdictBook {
  Volume volume;
  EdictBookStats stats;
};

// Reads EUC-JP lines from in. Throws std::runtime_error when no entry is found.
EdictBook BuildEdictBook(std::istream& in, const EdictBookOptions& options = {});

}  // namespace morva::mkbook
