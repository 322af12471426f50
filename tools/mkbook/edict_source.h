// Lines of an EDICT dictionary file (EUC-JP text, one entry per line):
//
//   KANJI [KANA] /gloss 1/gloss 2/.../
//   KANA /gloss 1/.../
//
// The first line of a published file is a header ("　？？？ /EDICT, .../
// Copyright .../Created: .../") that carries the source's notices.
// EUC-JP holds JIS X 0208 as byte pairs with the high bit set; a line that
// holds anything else (JIS X 0212 after 0x8F, half-width kana after 0x8E,
// control bytes) is reported as outside JIS X 0208, so a caller can skip it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace morva::mkbook {

struct EdictEntry {
  std::string headword;              // JIS X 0208 bytes
  std::string reading;               // JIS X 0208 bytes; empty when the headword is kana
  std::vector<std::string> glosses;  // as in the file: ASCII and EUC-JP pairs
};

enum class EdictLine {
  kEntry,
  kHeader,  // the file's header line; its glosses are the notices
  kBlank,
  kMalformed,   // no headword or no gloss
  kOutsideJis,  // characters outside ASCII and JIS X 0208
};

// Parses one line without its line end (a trailing CR is ignored). Fills
// entry for kEntry and kHeader.
EdictLine ParseEdictLine(std::string_view line, EdictEntry& entry);

// JIS X 0208 bytes of validated EUC-JP text: pairs lose their high bits,
// ASCII takes its full-width form (a space the full-width space).
std::string JisFromEuc(std::string_view euc);

}  // namespace morva::mkbook
