// The Unicode maps of the sub-books met in a run, each file read once.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "engine/book/gaiji_map.h"

namespace morva {

class GaijiMapStore {
 public:
  // The map in the file at path for the sub-book in subbookDirectory, without
  // the codes the sub-book's own conversion table converts (that conversion
  // takes precedence). nullptr when the file cannot be read or maps nothing.
  // The first reading for a sub-book sets *warning when the file cannot be
  // read or has malformed lines; later calls return the same map and leave
  // *warning alone.
  const GaijiMap* Load(const std::string& path, const std::string& subbookDirectory,
                       const TGaiji& conversion, std::string* warning);

  // The map of a sub-book, looked for where FindGaijiMap looks; nullptr when
  // there is none.
  const GaijiMap* OfSubbook(const std::string& volumeFolder, const std::string& subbookDirectory,
                            const TGaiji& conversion, std::string* warning);

 private:
  std::map<std::string, std::unique_ptr<GaijiMap>> maps_;  // by sub-book and path
  std::map<std::string, std::string> pathOfSubbook_;       // "" for none
};

}  // namespace morva
