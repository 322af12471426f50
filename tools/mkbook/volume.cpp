#include "tools/mkbook/volume.h"

#include <cctype>
#include <fstream>
#include <stdexcept>

namespace morva::mkbook {

void Subbook::AddFont(int slot, std::string name, std::string bytes) {
  record.fontFiles.at(static_cast<size_t>(slot)) = name;
  fonts.push_back({std::move(name), std::move(bytes)});
}

Volume Volume::WithoutCatalog() {
  Volume v;
  v.layout_.reset();
  return v;
}

Subbook& Volume::AddSubbook(Subbook subbook) { return subbooks_.emplace_back(std::move(subbook)); }

void Volume::AddFile(std::string path, std::string bytes) {
  files_.push_back({std::move(path), std::move(bytes)});
}

void Volume::AddDirectory(std::string path) { directories_.push_back(std::move(path)); }

std::string Volume::Cased(std::string_view name) const {
  std::string out(name);
  for (char& c : out) {
    const auto u = static_cast<unsigned char>(c);
    c = static_cast<char>(nameCase_ == NameCase::kUpper ? std::toupper(u) : std::tolower(u));
  }
  return out;
}

std::filesystem::path Volume::CatalogPath() const {
  if (!layout_) return {};
  return Cased(*layout_ == CatalogLayout::kCatalogs ? "catalogs" : "catalog");
}

std::filesystem::path Volume::SubbookDirectory(int i) const {
  std::string dir = subbooks_.at(static_cast<size_t>(i)).record.directory;
  dir.erase(dir.find_last_not_of(' ') + 1);
  return Cased(dir);
}

std::filesystem::path Volume::BodyDirectory(int i) const {
  if (layout_ == CatalogLayout::kCatalog) return SubbookDirectory(i);
  return SubbookDirectory(i) / Cased("data");
}

std::filesystem::path Volume::BodyPath(int i) const {
  return BodyDirectory(i) / Cased(layout_ == CatalogLayout::kCatalog ? "start" : "honmon");
}

std::filesystem::path Volume::FontPath(int i, std::string_view name) const {
  return SubbookDirectory(i) / Cased("gaiji") / Cased(name);
}

std::string Volume::CatalogBytes() const {
  if (!layout_) return {};
  std::vector<CatalogRecord> records;
  for (const Subbook& s : subbooks_) records.push_back(s.record);
  return BuildCatalog(*layout_, records, declaredCount_);
}

void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

void Volume::WriteTo(const std::filesystem::path& root) const {
  std::filesystem::create_directories(root);
  if (layout_) WriteBytes(root / CatalogPath(), CatalogBytes());
  for (int i = 0; i < SubbookCount(); ++i) {
    const Subbook& s = subbooks_[static_cast<size_t>(i)];
    WriteBytes(root / BodyPath(i), s.body);
    for (const NamedFile& f : s.fonts) WriteBytes(root / FontPath(i, f.name), f.bytes);
    for (const NamedFile& f : s.besideBody) WriteBytes(root / BodyDirectory(i) / f.name, f.bytes);
    for (const NamedFile& f : s.files) WriteBytes(root / SubbookDirectory(i) / f.name, f.bytes);
  }
  for (const std::string& d : directories_) std::filesystem::create_directories(root / d);
  for (const NamedFile& f : files_) WriteBytes(root / f.name, f.bytes);
}

}  // namespace morva::mkbook
