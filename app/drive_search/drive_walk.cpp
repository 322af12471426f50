#include "app/drive_search/drive_walk.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <system_error>

#include "app/drive_search/drive_list.h"
#include "engine/book/file_lookup.h"
#include "engine/book/report.h"
#include "engine/book/subbook_setup.h"
#include "engine/book/tdisk.h"
#include "engine/book/text_utils.h"
#include "engine/text/sjis.h"

namespace morva {
namespace {

namespace fs = std::filesystem;

constexpr size_t kShortNameBytes = 6;

// Subdirectory names of path in name order, "." and ".." left out; empty when
// the directory cannot be listed.
std::vector<std::string> Subdirectories(const std::string& path) {
  std::vector<std::string> names;
  std::error_code ec;
  fs::directory_iterator it(path, fs::directory_options::skip_permission_denied, ec);
  if (ec) return names;
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    if (ec) break;
    std::error_code typeError;
    if (!it->is_directory(typeError) || typeError) continue;
    std::string name = it->path().filename().string();
    if (name == "." || name == "..") continue;
    names.push_back(std::move(name));
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string Join(const std::string& directory, const std::string& name) {
  return directory.ends_with('/') ? directory + name : directory + "/" + name;
}

// The 8-character directory name of catalog record `record`, trailing blanks
// removed; empty when it cannot be read.
std::string SubbookDirectoryName(TDisk& disk, int record) {
  const CatalogLayout* layout = LayoutOfKind(disk.volumeKind);
  if (layout == nullptr) return {};
  disk.CloseBookFile();
  disk.SetMultiFile(false);
  std::string name;
  if (disk.OpenBookFile(layout->catalogFile, false, false) &&
      disk.SeekAbsolute(layout->DirectoryOffset(record)) == 0) {
    char buffer[CatalogLayout::kDirectoryNameLength + 1] = {};
    disk.ReadBytes(buffer, CatalogLayout::kDirectoryNameLength);
    name = buffer;
  }
  disk.CloseBookFile();
  while (!name.empty() && name.back() == ' ') name.pop_back();
  return name;
}

}  // namespace

uint32_t FoundBookColor(int n) {
  static constexpr std::array<uint32_t, 7> kColors = {
      0x0000FF,  // red
      0x00FF00,  // green
      0x00FFFF,  // yellow
      0x008000,  // dark green
      0xFF0000,  // blue
      0x800080,  // purple
      0xFFFFFF,  // white
  };
  return kColors[static_cast<size_t>(std::clamp(n, 0, 6))];
}

void WalkDirectory(TDisk& disk, const std::string& root, const std::string& path, int depth, int depthLimit,
                   const std::function<void(const std::string&)>& onVolume) {
  disk.CloseSubbook();
  std::error_code ec;
  fs::directory_iterator probe(path, ec);
  if (ec) return;
  if (depth < depthLimit) {
    for (const std::string& name : Subdirectories(path))
      WalkDirectory(disk, root, Join(path, name), depth + 1, depthLimit, onVolume);
  }
  // Directories with a "." in their name (below the root) are walked into but
  // not taken as volumes: such a directory is part of a volume, as ruigo.dat
  // is, and is found by probing its parent.
  if (path.find('.', std::min(root.size(), path.size())) != std::string::npos) return;
  if (disk.OpenVolume(path, std::string())) onVolume(path);
  disk.CloseSubbook();
}

void AddVolumeBooks(TDisk& disk, const std::string& volumeDirectory, DriveSearchResult& result) {
  const int count = disk.subbookCount;
  if (count < 1) return;
  const int kind = disk.volumeKind;
  BookBarEntry separator;
  result.bar.push_back(separator);
  for (int i = 0; i < count; ++i) {
    if (kind == 0) {
      const std::string directory = SubbookDirectoryName(disk, i);
      if (!directory.empty() && FindPathNoCase(Join(Join(volumeDirectory, directory), "stream"))) continue;
    }
    // Reading the title closes the volume's catalog again; the kind stays.
    disk.volumeKind = kind;
    std::string title = disk.ReadSubbookTitle(i);
    BookBarEntry entry;
    entry.location = volumeDirectory;
    entry.shortName = std::string(SjisCut(title, kShortNameBytes));
    // A book without a title would read as a separator.
    if (entry.shortName.empty()) entry.shortName = Sjis("無題");
    entry.subbook = static_cast<int16_t>(i);
    entry.mark = true;
    entry.title = title;
    entry.colour = FoundBookColor(result.BookCount());
    result.menu.push_back({static_cast<int>(result.bar.size()), title});
    result.bar.push_back(std::move(entry));
  }
}

DriveSearchResult SearchDrives(TDisk& disk, const std::string& searchRoots, int depthLimit, ProgressBox* progress) {
  DriveSearchResult result;
  disk.CloseSubbook();
  const std::vector<std::string> roots = ParseSearchRoots(searchRoots, HomeDirectory());
  if (progress != nullptr) progress->Open(Sjis("ﾄﾞﾗｲﾌﾞをｻｰﾁしています"), static_cast<int>(roots.size()));
  for (size_t i = 0; i < roots.size(); ++i) {
    if (progress != nullptr && progress->Step(static_cast<int>(i) + 1)) {
      result.cancelled = true;
      break;
    }
    WalkDirectory(disk, roots[i], roots[i], 0, depthLimit,
                  [&](const std::string& volume) { AddVolumeBooks(disk, volume, result); });
  }
  if (progress != nullptr) progress->Close();
  disk.CloseSubbook();
  return result;
}

}  // namespace morva
