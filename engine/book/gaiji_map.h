// Unicode maps for external characters: a text file per sub-book that says
// which Unicode characters each half- or full-width code stands for.
//
// One character a line, fields separated by tabs:
//   zA121<TAB>u00E9[,u0301...][<TAB>replacement text]
// The code is "h" (half width) or "z" (full width) and four hexadecimal
// digits; each code point is "u" and 4-6 hexadecimal digits (at most 10FFFF,
// no surrogates). A code point field of "-" or "null" means no character:
// the bitmap is drawn and plain text takes the replacement text. A "#" at the
// start of a line or after a space or tab starts a comment, so a "#" inside a
// replacement text such as "C#" stays. Blank lines are ignored; a later line
// for the same code replaces an earlier one.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace morva {

struct GaijiMapEntry {
  std::string utf8;         // the mapped characters; empty for "-" / "null"
  std::string replacement;  // text for plain-text copies; may be empty
  bool HasCharacter() const { return !utf8.empty(); }
};

class TGaiji;

class GaijiMap {
 public:
  const GaijiMapEntry* Find(bool fullWidth, uint16_t code) const;
  void Set(bool fullWidth, uint16_t code, GaijiMapEntry entry);
  // Leaves the codes the book's own conversion table converts to it: that
  // conversion takes precedence over the map.
  void DropConverted(const TGaiji& conversion);
  bool Empty() const { return entries_.empty(); }
  size_t Size() const { return entries_.size(); }

 private:
  std::unordered_map<uint32_t, GaijiMapEntry> entries_;
};

struct GaijiMapParse {
  GaijiMap map;
  std::vector<int> badLines;  // 1-based numbers of the malformed lines, skipped
};

// Parses a map's text (UTF-8, LF or CR LF line ends).
GaijiMapParse ParseGaijiMap(std::string_view text);

// Reads and parses the file; nothing when it cannot be read.
std::optional<GaijiMapParse> LoadGaijiMap(const std::string& path);

// The path of "<subbookName>.map" in folder, whatever the case of either
// name; "" when there is none.
std::string FindGaijiMapIn(const std::string& folder, std::string_view subbookName);

// Where a sub-book's map is looked for: the user's own maps in
// $XDG_CONFIG_HOME/morva/gaiji (~/.config/morva/gaiji without it) first, then
// the volume's folder. The first "<subbookName>.map" found is the map; ""
// when there is none.
std::string FindGaijiMap(const std::string& volumeFolder, std::string_view subbookName);

// The one warning for a map with malformed lines, naming the file and the
// first bad line; "" when every line was good.
std::string GaijiMapWarning(const std::string& path, const GaijiMapParse& parsed);

}  // namespace morva
