// Candidate lists of compound-search fields: body text starting at a book
// address, one candidate per line, ended by the first empty line. A line that
// holds a candidate end escape (0x63) carrying an address opens a nested list
// at that address; any other line is a value.
//
// Each call seeks and reads the book from the list's address, so it
// invalidates other readers' positions. Texts are Shift-JIS with external
// characters as 4-byte markers (0x0B, '1' wide or '0' narrow, high byte, low
// byte), whatever the disk's external-character mode.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "engine/book/book_address.h"

namespace morva {

class TDisk;

// Number of lines of the list at `list` before its first empty line, at most
// maxRows.
int CountCandidateLines(TDisk& disk, BookAddress list, int maxRows);

struct CandidateLine {
  bool exists = false;                // the list had that many lines
  std::string text;                   // at most `capacity` bytes
  std::optional<BookAddress> nested;  // the address the line carries
};

// Line `row` (from 0) of the list at `list`. Line breaks are counted without
// regard to empty lines, so a row past the list's end may still exist.
CandidateLine ReadCandidateLine(TDisk& disk, BookAddress list, int row, size_t capacity);

// Text of a candidate for the field's edit: each external-character marker
// becomes "＿" (wide) or "_" (narrow).
std::string CandidateDisplayText(std::string_view marked);

// Text of a candidate for a query: each external-character marker becomes
// the character's 2-byte code, which the key conversion keeps as it is.
std::string CandidateQueryText(std::string_view marked);

}  // namespace morva
