#include "platform/atomic_file.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace morva {

namespace {

namespace fs = std::filesystem;

// Writes all of bytes to fd, going on after short writes and interruptions.
bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// The file that really gets replaced: the end of a chain of symbolic links.
fs::path TargetOf(const std::string& path) {
  std::error_code ec;
  fs::path target = path;
  for (int depth = 0; depth < 40 && fs::is_symlink(fs::symlink_status(target, ec)); ++depth) {
    fs::path link = fs::read_symlink(target, ec);
    if (ec) break;
    target = link.is_absolute() ? link : target.parent_path() / link;
  }
  return target;
}

// Flushes the directory's entries, so that a rename in it is on disk.
bool SyncDirectory(const fs::path& dir) {
  const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

// "<name>.tmp<pid>-<n>": the pid, or 0 when name is not of that form.
pid_t TemporaryFilePid(const std::string& name) {
  const size_t tmp = name.rfind(".tmp");
  if (tmp == std::string::npos || tmp == 0) return 0;
  size_t i = tmp + 4;
  long long pid = 0;
  const size_t pidStart = i;
  for (; i < name.size() && name[i] >= '0' && name[i] <= '9' && pid < 1LL << 31; ++i)
    pid = pid * 10 + (name[i] - '0');
  if (i == pidStart || i >= name.size() || name[i] != '-' || pid <= 0 || pid >= 1LL << 31) return 0;
  const size_t attemptStart = ++i;
  while (i < name.size() && name[i] >= '0' && name[i] <= '9') ++i;
  if (i == attemptStart || i != name.size()) return 0;
  return static_cast<pid_t>(pid);
}

}  // namespace

bool ReplaceFileContents(const std::string& path, std::string_view bytes, std::error_code* error) {
  auto fail = [error](int code) {
    if (error) *error = std::error_code(code, std::generic_category());
    return false;
  };
  if (path.empty()) return fail(ENOENT);
  const fs::path target = TargetOf(path);
  std::error_code ec;
  const fs::path dir = target.parent_path();
  if (!dir.empty()) fs::create_directories(dir, ec);

  // The temporary file is made with the usual mode under the user's umask; a
  // replaced file then gets its own mode back.
  std::string tempName;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    tempName =
        target.string() + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
    fd = ::open(tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return fail(errno);
  }
  if (fd < 0) return fail(EEXIST);

  struct stat old {};
  int code = 0;
  auto check = [&code](bool ok) {
    if (!ok && code == 0) code = errno != 0 ? errno : EIO;
    return ok;
  };
  bool ok = check(WriteAll(fd, bytes));
  if (ok && ::stat(target.c_str(), &old) == 0) ok = check(::fchmod(fd, old.st_mode & 07777) == 0);
  ok = ok && check(::fsync(fd) == 0);
  ok = check(::close(fd) == 0) && ok;
  if (ok) ok = check(std::rename(tempName.c_str(), target.c_str()) == 0);
  if (!ok) {
    ::unlink(tempName.c_str());
    return fail(code);
  }
  // The new contents are in place; a failed flush of the directory only
  // means the rename might not survive a power loss.
  SyncDirectory(dir);
  return true;
}

bool ReadFileContents(const std::string& path, std::string& bytes, std::error_code* error) {
  bytes.clear();
  auto fail = [error](int code) {
    if (error) *error = std::error_code(code, std::generic_category());
    return false;
  };
  // Opened without waiting, so a FIFO of that name cannot hang the program.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return fail(errno);
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    const int code = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    ::close(fd);
    return fail(code);
  }
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  if (st.st_size > 0) bytes.reserve(static_cast<size_t>(st.st_size));
  char buf[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int code = errno;
      ::close(fd);
      bytes.clear();
      return fail(code);
    }
    if (n == 0) break;
    bytes.append(buf, static_cast<size_t>(n));
  }
  ::close(fd);
  return true;
}

void RemoveStaleTemporaryFiles(const std::string& directory) {
  std::error_code ec;
  for (fs::directory_iterator it(directory, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    const pid_t pid = TemporaryFilePid(name);
    if (pid == 0 || !it->is_regular_file(ec)) continue;
    // A process that still runs may be writing it.
    if (::kill(pid, 0) == 0 || errno != ESRCH) continue;
    std::error_code ignored;
    fs::remove(it->path(), ignored);
  }
}

}  // namespace morva
