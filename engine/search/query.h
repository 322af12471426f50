// Query text: the pre-pass that cleans what the user typed, and the token
// readers that split it into operands, the operators and/or/not, and
// parentheses. Operands go on to the key conversion (search_key.h).
//
// Readers advance a string_view cursor over the query; the returned tokens
// own their text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "engine/search/search_key.h"

namespace morva {

class TDisk;

// Queries are cut to this many bytes (at a character boundary) before they
// are read; this also bounds how deeply parentheses can nest.
inline constexpr size_t kMaxQueryBytes = 127;

struct QueryToken {
  enum Kind { kWord, kAnd, kOr, kNot, kOpen, kClose, kEnd };
  Kind kind = kEnd;
  // The word as read (also for and/or/not, whose text is kept so that an
  // operator in an operand's place can still be searched as a word).
  std::string text;

  bool IsOperator() const { return kind == kAnd || kind == kOr || kind == kNot; }
};

// Drops quote characters (a quoted stretch is copied unchanged) and turns the
// full-width space, *, +, @, ( and ) outside quotes into their ASCII forms.
std::string QueryPrePass(std::string_view query);

// Reads the next token. A word keeps at most capacity - 1 bytes; characters
// that do not fit are skipped, never split. An unquoted word "and", "or" or
// "not" (any case) is that operator; a word in double quotes is always a word.
QueryToken ReadToken(std::string_view& cursor, size_t capacity = kOperandCapacity);

// ReadToken with the '@' forms in front: "@word" reads as "@@word" (the cross
// index), "@nm word" loads field m of compound search n into the 0xFF
// IndexKind row (LoadFieldIndex) and reads as "@word".
QueryToken ReadOperand(TDisk& disk, std::string_view& cursor, size_t capacity = kOperandCapacity);

}  // namespace morva
