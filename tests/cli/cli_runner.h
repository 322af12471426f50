// Runs the programs of the build, morva-cli above all, and collects what
// they print.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/support/test_dirs.h"

namespace morva::cli {

struct CliRun {
  int status = -1;
  std::string out;  // standard output
  std::string err;  // standard error
  bool timedOut = false;
};

// Runs a shell command line and collects what it prints. With
// timeoutSeconds above 0 the process is killed when it runs longer, and
// timedOut is set: a test of something that once hung fails instead of
// hanging the suite.
inline CliRun RunCommand(const std::string& commandLine, int timeoutSeconds = 0) {
  CliRun r;
  char errName[] = "/tmp/morva-cli-err-XXXXXX";
  const int errFd = ::mkstemp(errName);
  if (errFd < 0) return r;
  ::close(errFd);
  const std::string limit =
      timeoutSeconds > 0 ? "timeout -s KILL " + std::to_string(timeoutSeconds) + " " : "";
  if (FILE* p = popen((limit + commandLine + " 2>" + errName).c_str(), "r")) {
    std::array<char, 65536> buf;
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) r.out.append(buf.data(), n);
    const int raw = pclose(p);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    // timeout reports a killed command as 128 + 9.
    r.timedOut = timeoutSeconds > 0 && r.status == 128 + 9;
  }
  r.err = testing::ReadFile(errName);
  ::unlink(errName);
  return r;
}

#ifdef MORVA_CLI_BINARY
// Runs morva-cli with args (split by the shell).
inline CliRun RunCli(const std::string& args, int timeoutSeconds = 0) {
  return RunCommand(MORVA_CLI_BINARY " " + args, timeoutSeconds);
}
#endif

inline bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// A writable copy of a shared book at target.
inline void CopySharedBook(const std::string& book, const std::filesystem::path& target) {
  namespace fs = std::filesystem;
  fs::copy(testing::SharedBooks() / book, target, fs::copy_options::recursive);
  for (auto& e : fs::recursive_directory_iterator(target))
    fs::permissions(e.path(), fs::perms::owner_write, fs::perm_options::add);
}

}  // namespace morva::cli
