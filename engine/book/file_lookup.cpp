#include "engine/book/file_lookup.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <vector>

#include "engine/book/ebzip_format.h"

namespace morva {

std::string ToSlashes(std::string_view path) {
  std::string s(path);
  std::replace(s.begin(), s.end(), '\\', '/');
  return s;
}

namespace {

bool Exists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0;
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

// The entries of dir that name the same book file as component: an exact
// match first, then the others in listing order.
std::vector<std::string> MatchesInDirectory(const std::string& dir, std::string_view component) {
  std::vector<std::string> found;
  DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return found;
  while (dirent* e = ::readdir(d)) {
    if (SameBookFileName(component, e->d_name)) {
      if (component == e->d_name) {
        found.insert(found.begin(), e->d_name);
      } else {
        found.emplace_back(e->d_name);
      }
    }
  }
  ::closedir(d);
  return found;
}

// Resolves components[i..] under resolved (which ends in "/" or is empty),
// trying every matching entry so that "sub" and "SUB" side by side both work.
std::optional<std::string> ResolveFrom(const std::string& resolved,
                                       const std::vector<std::string_view>& components, size_t i) {
  if (i == components.size()) {
    if (!Exists(resolved.empty() ? "." : resolved)) return std::nullopt;
    return resolved;
  }
  const bool last = i + 1 == components.size();
  const std::string_view c = components[i];
  if (c == "..") return ResolveFrom(resolved + "../", components, i + 1);
  for (const std::string& name : MatchesInDirectory(resolved, c)) {
    std::string next = resolved + name;
    if (!last) next += '/';
    if (auto r = ResolveFrom(next, components, i + 1)) return r;
  }
  return std::nullopt;
}

}  // namespace

bool SameBookFileName(std::string_view wanted, std::string_view onDisk) {
  if (EqualNoCase(wanted, onDisk)) return true;
  // ISO 9660 version suffix ";1" and the trailing "." of a name without extension.
  size_t semi = onDisk.rfind(';');
  if (semi != std::string_view::npos) onDisk = onDisk.substr(0, semi);
  if (!onDisk.empty() && onDisk.back() == '.' && onDisk != "." && onDisk != "..")
    onDisk.remove_suffix(1);
  return EqualNoCase(wanted, onDisk);
}

std::optional<std::string> FindPathNoCase(std::string_view rawPath) {
  std::string path = ToSlashes(rawPath);
  if (path.empty()) return std::nullopt;
  if (Exists(path)) return path;
  const bool trailingSlash = path.back() == '/';
  std::vector<std::string_view> components;
  size_t pos = path[0] == '/' ? 1 : 0;
  while (pos < path.size()) {
    size_t slash = path.find('/', pos);
    if (slash == std::string::npos) slash = path.size();
    std::string_view c = std::string_view(path).substr(pos, slash - pos);
    if (!c.empty() && c != ".") components.push_back(c);
    pos = slash + 1;
  }
  if (components.size() > 64) return std::nullopt;
  auto found = ResolveFrom(path[0] == '/' ? "/" : "", components, 0);
  if (found && trailingSlash && found->back() != '/') *found += '/';
  return found;
}

std::optional<std::string> FindBookFile(std::string_view path) {
  if (auto plain = FindPathNoCase(path)) return plain;
  const std::string p(path);
  if (auto compressed = FindPathNoCase(p + ".ebz")) return compressed;
  return FindPathNoCase(p + ".org");
}

bool StaysInDirectory(std::string_view name) {
  return name != ".." && name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

int OpenRegularFile(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
  if (fd < 0) return -1;
  // The name may have been replaced by something else between the two looks.
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return -1;
  }
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  return fd;
}

bool IsCompressedBookFile(std::string_view path) {
  const std::optional<std::string> found = FindBookFile(path);
  if (!found) return false;
  const int fd = OpenRegularFile(*found);
  if (fd < 0) return false;
  uint8_t magic[ebzip::kMagicSize];
  const bool compressed =
      ::pread(fd, magic, sizeof magic, 0) == static_cast<ssize_t>(sizeof magic) &&
      ebzip::HasMagic(magic, sizeof magic);
  ::close(fd);
  return compressed;
}

}  // namespace morva
