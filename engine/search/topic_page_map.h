// What skimming needs to know of one page of body text, found once for the
// page: where its bytes below 0x20 lie (escapes, parameters, control bytes:
// everything but text pairs), where its escape bytes lie, and where the
// prefilter's codes begin. Internal to the topic reader.
#pragma once

#include <array>
#include <cstdint>

#include "engine/book/book_address.h"
#include "engine/search/topic_prefilter.h"

namespace morva {

struct PageMap {
  static constexpr int kWords = kPageSize / 64;
  int32_t page = 0;  // 0: none yet
  const TopicPrefilter* prefilter = nullptr;
  std::array<uint64_t, kWords> controls{};
  std::array<uint64_t, kWords> escapes{};  // bytes 0x1F

  // Maps the page; of the codes, those of the groups that begin a word (the
  // others are looked for when one of those is there).
  void Build(const uint8_t* bytes, int32_t pageNumber, const TopicPrefilter& filter);
  // The first byte below 0x20 at or after `from`; kPageSize when none.
  int NextControl(int from) const;
  // The groups one of whose codes begins in [from, to), for a topic whose
  // part of the page begins at topicFrom and that has shown the groups `seen`
  // so far. The other groups are looked for only once a word's first group
  // has been seen, but then over all of the topic's part of the page, since
  // a word's characters may lie on either side of an escape. bytes: the page.
  unsigned GroupsIn(const uint8_t* bytes, int from, int to, int topicFrom, unsigned seen);

 private:
  void FindCodes(const uint8_t* bytes, unsigned groups);
  unsigned InRange(unsigned groups, int from, int to) const;

  // Per prefilter group, where one of its codes begins.
  std::array<std::array<uint64_t, kWords>, TopicPrefilter::kMaxGroups> codes_{};
  unsigned looked_ = 0;     // the groups looked for on this page
  unsigned somewhere_ = 0;  // the groups with a code somewhere on the page
};

}  // namespace morva
