// Per-book values from the per-book information file (MORVA.DAT): how one
// title is read, shown and searched. Reset to the defaults at every sub-book
// opening, then adjusted by the statements of the title's section.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace morva {

struct BookInfo {
  static constexpr int kMaxSkipCodes = 20;

  int endCode = 0;                        // END=: an item ends after this escape
  std::array<std::string, 10> endings{};  // ENDINGn=
  std::string neglect;                    // NEGLECT=
  bool neglectSeen = false;
  std::string multi;             // MULTI=
  std::string source;            // SOURCE=
  std::string prestring;         // PRESTRING=
  std::string sprestring = "+";  // SPRESTRING=
  int nEnd = 1;
  int nKey = 2;
  int nTab1 = 32767;
  int nCol1 = 32767;
  int32_t nBytes = 100000;
  int kanaDic = 0;
  int alphaDic = 0;
  int ime = -1;                                // IME=ON 1, IME=OFF 0, not set -1
  bool titleColor = true;                      // TITLECOLOR=OFF clears it
  bool zenpo = true;                           // ZENPO=, default from the settings
  std::vector<std::pair<int, int>> skipCodes;  // SKIPCODE=: (escape code, byte count)
  std::string translate;                       // TRANSLATE=
  bool newlineOff = false;                     // NEWLINE=OFF
  int honmonFontFiles = 0;                     // HONMON=path,G statements met
};

}  // namespace morva
