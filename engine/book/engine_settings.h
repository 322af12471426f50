// The settings values that the engine reads. The application fills them from
// its settings store; the CLI and the tests set them directly.
#pragma once

#include <string>

namespace morva {

struct EngineSettings {
  bool english = false;      // message language of the boxes
  bool scroll = true;        // continuous display
  int bufferSize = 8000;     // bytes formatted at a time in continuous display
  bool zenpo = true;         // prefix matching of forward indexes
  bool ime = true;           // derive a book's input-method mode
  int font0TextSize = 18;    // chooses the 16- or 24-dot font slot
  int sort = 1;              // word-list order: 0 none, 1 storage, 2 heading
  bool specialMenu = true;   // one word-list item per menu candidate
  std::string dicInfoPath;   // per-book information file; empty: none
  bool unicodeMaps = false;  // each opened sub-book takes its own Unicode map
};

}  // namespace morva
