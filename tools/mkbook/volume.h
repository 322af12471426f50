// Volume: a book volume as a directory tree, written in one go.
//
//   catalogs                      catalog
//   <dir>/data/honmon             <dir>/start
//   <dir>/gaiji/<font files>
//
// A volume may also have no catalog at all (a title known by a directory such
// as sekai/ or ruigo.dat/, whose files a per-book information file names).
// The names the writer makes up (catalog file, sub-book directories, data,
// honmon, start, gaiji, font files) follow the chosen NameCase, because
// published volumes arrive in upper case; names given for extra files are
// written exactly as given.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/mkbook/catalog.h"

namespace morva::mkbook {

enum class NameCase { kLower, kUpper };

struct NamedFile {
  std::string name;  // '/'-separated relative path
  std::string bytes;
};

struct Subbook {
  CatalogRecord record;
  std::string body;                   // the body file: data/honmon or start
  std::vector<NamedFile> fonts;       // in <dir>/gaiji/ (name cased)
  std::vector<NamedFile> besideBody;  // in the body file's directory (name as given)
  std::vector<NamedFile> files;       // relative to <dir> (name as given)

  // Names a font file in catalog slot k (0-3 first group, 4-7 second) and adds
  // it to gaiji/.
  void AddFont(int slot, std::string name, std::string bytes);
};

class Volume {
 public:
  explicit Volume(CatalogLayout layout = CatalogLayout::kCatalogs) : layout_(layout) {}
  // A volume without a catalog file; its content comes from AddDirectory and
  // AddFile (and sub-books, whose directories are written without a catalog).
  static Volume WithoutCatalog();

  void SetNameCase(NameCase nameCase) { nameCase_ = nameCase; }
  // Writes this count into the catalog instead of the real one.
  void SetDeclaredSubbookCount(uint16_t count) { declaredCount_ = count; }

  Subbook& AddSubbook(Subbook subbook);
  Subbook& subbook(int i) { return subbooks_.at(static_cast<size_t>(i)); }
  const Subbook& subbook(int i) const { return subbooks_.at(static_cast<size_t>(i)); }
  int SubbookCount() const { return static_cast<int>(subbooks_.size()); }
  void AddFile(std::string path, std::string bytes);
  void AddDirectory(std::string path);

  // Relative paths the writer uses (empty catalog path without a catalog).
  std::filesystem::path CatalogPath() const;
  std::filesystem::path SubbookDirectory(int i) const;
  std::filesystem::path BodyPath(int i) const;
  std::filesystem::path FontPath(int i, std::string_view name) const;

  // The catalog file's bytes (empty without a catalog).
  std::string CatalogBytes() const;

  // Creates root and everything in it. Throws std::filesystem::filesystem_error
  // or std::runtime_error when a file cannot be written.
  void WriteTo(const std::filesystem::path& root) const;

 private:
  std::string Cased(std::string_view name) const;
  std::filesystem::path BodyDirectory(int i) const;

  std::optional<CatalogLayout> layout_;
  NameCase nameCase_ = NameCase::kLower;
  std::optional<uint16_t> declaredCount_;
  std::vector<Subbook> subbooks_;
  std::vector<NamedFile> files_;
  std::vector<std::string> directories_;
};

// Writes bytes to a file, creating its directory. Throws std::runtime_error.
void WriteBytes(const std::filesystem::path& path, std::string_view bytes);

}  // namespace morva::mkbook
