// Index keys in the form a reader compares them: the writer stores each key as
// a search prepares a typed word for that index, so a word typed as it
// appears in the book finds its entry.
//
// The preparation: a minus sign is taken as a hyphen (typed input never
// yields the former); then, under the first option byte of the index,
//   bits 4-5 zero:  ａ..ｚ become Ａ..Ｚ;
//   kana indexes 0x90, 0x70: katakana become hiragana, small and voiced kana
//                   their plain base kana (ぁ->あ, が->か, ぱ->は, ヴ->う);
//   bits 2-3 zero (not in 0x80, 0xFF): ・ and ’ are dropped;
//   bits 0-1 zero (not in 0x80): the long-vowel mark ー becomes the vowel of
//                   the kana before it (dropped after a non-kana);
//   bits 0-1 two (not in 0x80): ー is dropped.
// Keys are JIS X 0208 bytes, two per character; backward indexes store the
// result reversed (ReverseJisKey).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace morva::mkbook {

std::string CanonicalIndexKey(std::string_view jis, uint8_t indexCode, uint8_t firstOption = 0);

}  // namespace morva::mkbook
