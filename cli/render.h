// Turning marked text into what the terminal shows.
#pragma once

#include <string>
#include <string_view>

namespace morva {
class GaijiMap;
}  // namespace morva

namespace morva::cli {

// Readable UTF-8 text: headwords, link and caption texts as they read, indents
// as two spaces a level at the start of a line, hidden markers and style codes
// left out. External characters appear as the text the markup gave them
// (conversion text, or "[hA121]" style codes). With a Unicode map, an
// external character left as a code prints as its mapped characters, or as
// the map's replacement text when it maps to no character.
void AppendReadable(std::string_view marked, std::string* utf8, const GaijiMap* map = nullptr);

// Every byte visible: text as UTF-8, each control byte as "{XX}", the hidden
// markers as "{02:R000004D20005}" and external characters as "{0B:1A121}".
void AppendMarked(std::string_view marked, std::string* utf8);

}  // namespace morva::cli
