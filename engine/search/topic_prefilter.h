// A quick test that lets the full-text search pass over most topics without
// decoding them. A word can only occur in a topic whose text holds each of
// its characters, and a character only comes from certain JIS X 0208 codes
// of the body bytes (in full-width or half-width mode, letters folded unless
// case matters). So for up to two characters of each word (those that come
// from the fewest codes) the reader notes which of them a topic's bytes may
// give; a topic that cannot give all the noted characters of any word holds
// none of the words.
//
// The test only ever errs towards "may match", so results stay exact. It is
// unavailable when a word has no character that only valid codes give (the
// white square also stands for broken codes, 0x1A for external characters)
// and when the words need too many codes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace morva {

class TopicPrefilter {
 public:
  // At most this many characters, with this many codes in all, are looked for.
  static constexpr size_t kMaxGroups = 4;
  static constexpr size_t kMaxCodes = 8;

  // A character looked for and the codes that give it.
  struct Group {
    std::string character;
    std::vector<uint16_t> codes;  // high byte first
  };

  // words: as FullTextQuery compares them (folded when !matchCase).
  TopicPrefilter(const std::vector<std::string>& words, bool matchCase);

  bool usable() const { return usable_; }
  const std::vector<Group>& groups() const { return groups_; }
  unsigned AllGroups() const { return (1u << groups_.size()) - 1; }
  // The groups that some word needs first (each word's group with the fewest
  // codes): a topic without any of them holds none of the words.
  unsigned PrimaryGroups() const { return primaryGroups_; }

  // The groups (bit g for group g) whose character a decoded character (1 or
  // 2 Shift-JIS bytes, folded like the topic text) is.
  unsigned GroupsOf(std::string_view character) const;
  // Whether a topic whose bytes may give the characters of `seen` may hold a
  // word. Empty words are not looked for: they are in every topic.
  bool MayMatch(unsigned seen) const;

 private:
  bool usable_ = true;
  std::vector<Group> groups_;
  std::vector<unsigned> wordGroups_;  // the groups each non-empty word needs
  unsigned primaryGroups_ = 0;
};

}  // namespace morva
