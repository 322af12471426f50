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
  // The groups one of whose codes begins in [from, to). bytes: the page.
  unsigned GroupsIn(const uint8_t* bytes, int from, int to);

 private:
  void FindCodes(const uint8_t* bytes, unsigned groups);
  unsigned InRange(unsigned groups, int from, int to) const;

  // Per prefilter group, where one of its codes begins.
  std::array<std::array<uint64_t, kWords>, TopicPrefilter::kMaxGroups> codes_{};
  unsigned looked_ = 0;     // the groups looked for on this page
  unsigned somewhere_ = 0;  // the groups with a code somewhere on the page
};

}  // namespace morva
