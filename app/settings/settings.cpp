#include "app/settings/settings.h"

namespace morva {

EngineSettings ToEngineSettings(const Settings& s) {
  EngineSettings e;
  e.english = s.english;
  e.scroll = s.scroll;
  e.bufferSize = s.bufferSize;
  e.zenpo = s.zenpo;
  e.ime = s.ime;
  e.font0TextSize = s.font0.size2;
  e.sort = s.sort;
  e.specialMenu = s.specialMenu;
  e.dicInfoPath = s.dicInfo;
  e.unicodeMaps = true;
  return e;
}

}  // namespace morva
