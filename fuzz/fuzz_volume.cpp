#include "fuzz/fuzz_volume.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "tools/mkbook/catalog.h"

namespace morva::fuzz {

namespace {
void WriteFileBytes(const std::string& path, const void* data, size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
}
}  // namespace

FuzzVolume::FuzzVolume() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "morva-fuzz-XXXXXX").string();
  std::vector<char> buf(tmpl.begin(), tmpl.end());
  buf.push_back('\0');
  if (mkdtemp(buf.data())) dir_ = buf.data();
  std::filesystem::create_directories(dir_ + "/fuzz/data");
  mkbook::CatalogRecord record;
  record.title = std::string("\x24\x22\x24\x24", 4);  // あい
  record.directory = "fuzz";
  record.indexPage = 1;
  const std::string catalog = mkbook::BuildCatalog(mkbook::CatalogLayout::kCatalogs, {record});
  WriteFileBytes(dir_ + "/catalogs", catalog.data(), catalog.size());
}

FuzzVolume::~FuzzVolume() {
  std::error_code ec;
  std::filesystem::remove_all(dir_, ec);
}

const std::string& FuzzVolume::Write(const uint8_t* data, size_t size) {
  WriteFileBytes(dir_ + "/fuzz/data/honmon", data, size);
  return dir_;
}

BookBar FuzzVolume::Books() const {
  BookBar bar(2);
  bar[1].shortName = "fuzz";
  bar[1].location = dir_;
  bar[1].subbook = 0;
  return bar;
}

}  // namespace morva::fuzz
