// Compound (multi-field) search over the definitions a sub-book carries: the
// index table page lists one 0xFF entry per compound search, each pointing at
// a definition page whose field records name a label, the field's own index
// and, optionally, a list of candidate values. Layout in docs/formats.md
// ("Compound searches"); the search form itself is compound_search.h.
#pragma once

#include <cstdint>

namespace morva {

class TDisk;

// Number of compound searches of the current sub-book: its 0xFF index-table
// entries. Reads the index table page.
int CompoundSearchCount(TDisk& disk);

// Definition page of compound search `compound` (from 0), or 0 when the
// sub-book has no such compound search. Reads the index table page.
int32_t CompoundDefinitionPage(TDisk& disk, int compound);

// Loads the index of field `field` of compound search `compound` (both from 0)
// into the 0xFF row of disk.subbook().indexes (the compound slot): start page, end page
// and option bytes of the field's index sub-entry. The slot's start page is
// cleared first, so it stays absent when the book has no such compound
// search or field. Returns whether an index was loaded.
bool LoadFieldIndex(TDisk& disk, int compound, int field);

}  // namespace morva
