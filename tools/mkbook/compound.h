// Compound searches: forms of labelled fields, each searched through an index
// of its own. The index page lists one entry of code 0xFF per compound search,
// pointing at that search's definition page; a field may offer a candidate
// list (body text, one candidate per line, ended by an empty line) whose
// lines either are values or open a nested list. Layout in docs/formats.md
// ("Compound searches").
//
//   IndexTree names = BuildIndexTree(nameEntries, pages.NextFreePage(),
//                                    {.leaves = LeafLayout::kGroupedCompound});
//   pages.file().AppendPages(names.pages);
//   CompoundField field{.label = "名前", .index = IndexOf(names)};
//   field.candidatePage = AddCandidateLists(pages, {{"犬"}, {"猫"}});
//   AddCompoundSearch(pages, {field});
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/book/book_address.h"
#include "tools/mkbook/body_text.h"
#include "tools/mkbook/index_tree.h"
#include "tools/mkbook/subbook_pages.h"

namespace morva::mkbook {

namespace compound_layout {
inline constexpr int kFieldsOffset = 16;     // first field record in the definition page
inline constexpr int kFieldHeaderSize = 32;  // sub-entry count, 0, label (30 bytes)
inline constexpr int kLabelLength = 30;
inline constexpr int kSubEntrySize = 16;
inline constexpr uint8_t kCandidateList = 0x01;  // sub-entry kind
}  // namespace compound_layout

// The index of one field, as an index sub-entry carries it. Kinds 0xA1, 0x91,
// 0xB0 and 0xB1 name an index.
struct CompoundIndex {
  uint8_t kind = 0xA1;
  uint32_t startPage = 0;
  uint32_t pageCount = 0;
  std::array<uint8_t, 3> options{};
};

struct CompoundField {
  std::string label;  // UTF-8, at most 15 full-width characters
  CompoundIndex index;
  int32_t candidatePage = 0;  // page whose offset 0 starts the top candidate list; 0 = none
};

// The sub-entry that names a tree placed at tree.firstPage.
CompoundIndex IndexOf(const IndexTree& tree, uint8_t kind = 0xA1,
                      std::array<uint8_t, 3> options = {});

// One line of a candidate list: a value, or (with nested candidates) the
// entry to a list of its own.
struct Candidate {
  std::string text;  // UTF-8, not empty
  std::vector<Candidate> nested = {};
};

// The 2048-byte definition page: byte 1 the field count (declaredFieldCount
// replaces it), field records from byte 16. Every field has one index
// sub-entry, followed by a candidate-list sub-entry when it has a list.
// Throws std::invalid_argument for an unknown index kind and
// std::length_error for a label over 30 bytes or fields beyond the page.
std::string BuildCompoundDefinition(const std::vector<CompoundField>& fields,
                                    std::optional<uint8_t> declaredFieldCount = std::nullopt);

// Writes the list and every list nested in it into text, the top list first
// (the nested lists follow it, each ended by an empty line); returns where
// the top list begins. Throws std::invalid_argument for an empty candidate.
BookAddress WriteCandidateList(BodyText& text, const std::vector<Candidate>& list);

// Places candidate lists on fresh pages of the sub-book; returns the page
// whose offset 0 holds the top list.
int32_t AddCandidateLists(SubbookPages& pages, const std::vector<Candidate>& list);

// Places a definition page on a fresh page and lists it on the index page
// under code 0xFF; returns its page. Compound searches are numbered in the
// order they are added.
int32_t AddCompoundSearch(SubbookPages& pages, const std::vector<CompoundField>& fields);

}  // namespace morva::mkbook
