// The search keys an EDICT entry registers, in the form each index stores
// them (CanonicalIndexKey with option bytes 0):
//   0x90 / 0x70  the reading (the headword when it has none), kana folded;
//   0x91 / 0x71  the headword as written;
//   0x92         every English word of the glosses, full-width upper case,
//                apostrophes removed, hyphens kept, leading tags such as
//                "(n)" and "(1)" skipped, single letters, numbers and a few
//                words too common to search ("the", "of", "etc" ...) left out;
//                and the headword itself when it is written in letters.
// Backward indexes (0x70, 0x71) take the forward key reversed.
#pragma once

#include <string>
#include <vector>

#include "tools/mkbook/edict_source.h"

namespace morva::mkbook {

// Stored keys are cut to this many bytes (whole characters): a backward key
// is reversed first, so it keeps the word's end.
inline constexpr size_t kEdictMaxKey = 254;
std::string CutEdictKey(std::string key);

// Forward keys, not yet cut.
std::string EdictKanaKey(const EdictEntry& entry);
std::string EdictNotationKey(const EdictEntry& entry);
// Cut, without repeats, in order of first appearance.
std::vector<std::string> EdictAlphaKeys(const EdictEntry& entry);

}  // namespace morva::mkbook
