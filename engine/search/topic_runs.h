// The topic reader's bulk readers: runs of plain text and common escapes
// read straight from a page, storing the text or only skimming over it.
// Each stops at the first item the text decoder must read, at the item that
// ends the topic (r.ending says so), or at the end of what it was given.
// Internal to the topic reader.
#pragma once

#include <cstdint>

#include "engine/search/topic_rules.h"

namespace morva {
struct PageMap;
struct TopicGlyph;
}  // namespace morva

namespace morva::topic {

// Reads the items from p to end into text + r.used; returns where it stopped.
const uint8_t* StoreItems(const uint8_t* p, const uint8_t* end, RunState& r,
                          const TopicLimits& limits, const TopicGlyph* glyphs, char* text,
                          bool refParamFlag);

// Skims the items of a page from offset `at`, from escape to escape through
// the page's map. Each stretch between two escapes is taken for text pairs
// and checked at the end: when that does not hold, nothing is taken (r is as
// it was) and `at` is returned. It also stops, with all before it read, at an
// odd stretch or an escape it does not read; SkimItems goes on from there.
int LeapItems(int at, const uint8_t* page, const PageMap& map, RunState& r,
              const TopicLimits& limits, const TopicGlyph* glyphs, bool refParamFlag);

// Skims the items of a page from offset `at` one by one, a text run reaching
// to the next byte below 0x20. Returns where it stopped.
int SkimItems(int at, const uint8_t* page, const PageMap& map, RunState& r,
              const TopicLimits& limits, const TopicGlyph* glyphs, bool refParamFlag);

}  // namespace morva::topic
