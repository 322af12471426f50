// The program's name, version and the lines of its about box.
#pragma once

namespace morva {

inline constexpr const char* kProgramName = "Morva";
// UTF-8 lines of the about box, under the product line.
const char* const* AboutLines();
const char* ProductLine();

}  // namespace morva
