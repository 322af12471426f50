// The settings the content view reads. The application fills this from its
// settings store; tests and the developer harness set it directly. Face names
// are Shift-JIS, as stored; colours are red + green * 256 + blue * 65536.
#pragma once

#include <cstdint>
#include <string>

namespace morva {

// One font set: the list font (word list, reference list) and the text font
// of the content. Sizes are cell heights in pixels.
struct FontSpec {
  std::string listFace;
  int listSize = 14;
  std::string textFace;
  int textSize = 18;
};

struct ViewSettings {
  uint32_t textColor = 0x000000;
  uint32_t backColor = 0xFFFFFF;
  uint32_t titleColor = 0xFF0000;    // blue
  uint32_t jumpColor = 0x008000;     // green
  uint32_t specialColor = 0x808080;  // grey
  int bold = 0;                      // 0 plain, 1 bold headwords, 2 everything bold
  int lineSpace = 0;                 // extra pixels between lines
  bool wordWrap = false;             // ASCII words move to the next line whole
  bool scroll = true;                // continuous display
  bool scrollKey = false;         // the search box passes paging keys on (used by the main window)
  bool showSpecialChars = false;  // line-end and end-of-text marks
  // Font0: books in JIS text; Font1: single-byte books.
  FontSpec font0{"\x82\x6c\x82\x72 \x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e", 14, "FixedSys", 18};
  FontSpec font1{"FixedSys", 18, "FixedSys", 18};
};

}  // namespace morva
