#include "app/drive_search/drive_walk.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <functional>
#include <set>
#include <system_error>
#include <utility>

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
  const CatalogLayout* layout = LayoutOfKind(disk.subbook().volumeKind);
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

// The walk over one search root. Every directory entered is remembered by
// device and inode, so a link back up the tree (or two links to one
// directory) is followed once instead of multiplying the paths.
class DirectoryWalk {
 public:
  DirectoryWalk(TDisk& disk, std::string root, int depthLimit,
                std::function<void(const std::string& volumeDirectory)> onVolume)
      : disk_(disk),
        root_(std::move(root)),
        depthLimit_(depthLimit),
        onVolume_(std::move(onVolume)) {}

  // Walks directory path: with depth below the limit, first every
  // subdirectory (in name order, depth + 1), then, unless the part of the
  // path below the root contains a ".", the directory itself: the volume
  // there is opened on disk, onVolume is called with the directory, and the
  // volume is closed again. Directories that cannot be listed, and those
  // entered before, end their walk silently. depth is 0 for the root.
  void Walk(const std::string& path, int depth) {
    disk_.CloseSubbook();
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return;
    if (!entered_.insert({st.st_dev, st.st_ino}).second) return;
    std::error_code ec;
    fs::directory_iterator probe(path, ec);
    if (ec) return;
    if (depth < depthLimit_) {
      for (const std::string& name : Subdirectories(path)) Walk(Join(path, name), depth + 1);
    }
    // Directories with a "." in their name (below the root) are walked into
    // but not taken as volumes: such a directory is part of a volume, as
    // ruigo.dat is, and is found by probing its parent.
    if (path.find('.', std::min(root_.size(), path.size())) != std::string::npos) return;
    if (disk_.OpenVolume(path, std::string())) onVolume_(path);
    disk_.CloseSubbook();
  }

 private:
  TDisk& disk_;
  std::string root_;
  int depthLimit_;
  std::function<void(const std::string&)> onVolume_;
  std::set<std::pair<dev_t, ino_t>> entered_;
};

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

void AddVolumeBooks(TDisk& disk, const std::string& volumeDirectory, DriveSearchResult& result) {
  const int count = disk.subbook().subbookCount;
  if (count < 1) return;
  const int kind = disk.subbook().volumeKind;
  BookBarEntry separator;
  result.bar.push_back(separator);
  for (int i = 0; i < count; ++i) {
    if (kind == 0) {
      const std::string directory = SubbookDirectoryName(disk, i);
      // A directory name that would lead out of the volume is not looked at.
      if (!directory.empty() && StaysInDirectory(directory) &&
          FindPathNoCase(Join(Join(volumeDirectory, directory), "stream")))
        continue;
    }
    // Reading the title closes the volume's catalog again; the kind stays.
    disk.subbook().volumeKind = kind;
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

namespace {

// Walks every root in turn with the progress box (when given), one step per
// root; a cancel keeps what was found so far.
DriveSearchResult SearchRootList(TDisk& disk, const std::vector<std::string>& roots, int depthLimit,
                                 ProgressBox* progress) {
  DriveSearchResult result;
  disk.CloseSubbook();
  if (progress != nullptr)
    progress->Open(Sjis("ﾄﾞﾗｲﾌﾞをｻｰﾁしています"), static_cast<int>(roots.size()));
  for (size_t i = 0; i < roots.size(); ++i) {
    if (progress != nullptr && progress->Step(static_cast<int>(i) + 1)) {
      result.cancelled = true;
      break;
    }
    DirectoryWalk(disk, roots[i], depthLimit, [&](const std::string& volume) {
      AddVolumeBooks(disk, volume, result);
    }).Walk(roots[i], 0);
  }
  if (progress != nullptr) progress->Close();
  disk.CloseSubbook();
  return result;
}

}  // namespace

DriveSearchResult SearchDrives(TDisk& disk, const std::string& searchRoots, int depthLimit,
                               ProgressBox* progress) {
  return SearchRootList(disk, ParseSearchRoots(searchRoots, HomeDirectory()), depthLimit, progress);
}

DriveSearchResult SearchFolder(TDisk& disk, const std::string& folder, int depthLimit,
                               ProgressBox* progress) {
  return SearchRootList(disk, {folder}, depthLimit, progress);
}

}  // namespace morva
