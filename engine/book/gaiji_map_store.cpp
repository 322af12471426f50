#include "engine/book/gaiji_map_store.h"

#include <filesystem>

#include "engine/book/tgaiji.h"

namespace morva {

const GaijiMap* GaijiMapStore::Load(const std::string& path, const std::string& subbookDirectory,
                                    const TGaiji& conversion, std::string* warning) {
  // Each sub-book has its own conversion table, so the same file may lose
  // different codes for different sub-books.
  const std::string key = subbookDirectory + '\n' + path;
  if (auto known = maps_.find(key); known != maps_.end()) return known->second.get();
  std::unique_ptr<GaijiMap>& slot = maps_[key];
  auto parsed = LoadGaijiMap(path);
  if (!parsed) {
    *warning = "cannot read the map " + path;
    return nullptr;
  }
  *warning = GaijiMapWarning(path, *parsed);
  parsed->map.DropConverted(conversion);
  if (!parsed->map.Empty()) slot = std::make_unique<GaijiMap>(std::move(parsed->map));
  return slot.get();
}

const GaijiMap* GaijiMapStore::OfSubbook(const std::string& volumeFolder,
                                         const std::string& subbookDirectory,
                                         const TGaiji& conversion, std::string* warning) {
  auto known = pathOfSubbook_.find(subbookDirectory);
  if (known == pathOfSubbook_.end()) {
    const std::string name = std::filesystem::path(subbookDirectory).filename().string();
    known = pathOfSubbook_.emplace(subbookDirectory, FindGaijiMap(volumeFolder, name)).first;
  }
  if (known->second.empty()) return nullptr;
  return Load(known->second, subbookDirectory, conversion, warning);
}

}  // namespace morva
