#include "app/main_window/view_settings_of.h"

namespace morva {

ViewSettings ViewSettingsOf(const Settings& s) {
  ViewSettings v;
  v.textColor = s.textColor;
  v.backColor = s.backColor;
  v.titleColor = s.titleColor;
  v.jumpColor = s.jumpColor;
  v.specialColor = s.specialColor;
  v.bold = s.bold;
  v.lineSpace = s.lineSpace;
  v.wordWrap = s.wordWrap;
  v.scroll = s.scroll;
  v.scrollKey = s.scrollKey;
  v.showSpecialChars = s.showSpecialChars;
  v.font0 = {s.font0.face1, s.font0.size1, s.font0.face2, s.font0.size2};
  v.font1 = {s.font1.face1, s.font1.size1, s.font1.face2, s.font1.size2};
  return v;
}

}  // namespace morva
