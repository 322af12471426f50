// Runs the morva-cli binary of the build and collects what it prints.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace morva::cli {

struct CliRun {
  int status = -1;
  std::string out;  // standard output
  std::string err;  // standard error
  bool timedOut = false;
};

// Runs morva-cli with args (split by the shell). With timeoutSeconds above 0
// the process is killed when it runs longer, and timedOut is set: a test of
// something that once hung fails instead of hanging the suite.
inline CliRun RunCli(const std::string& args, int timeoutSeconds = 0) {
  CliRun r;
  char errName[] = "/tmp/morva-cli-err-XXXXXX";
  const int errFd = ::mkstemp(errName);
  if (errFd < 0) return r;
  ::close(errFd);
  const std::string limit =
      timeoutSeconds > 0 ? "timeout -s KILL " + std::to_string(timeoutSeconds) + " " : "";
  const std::string command = limit + std::string(MORVA_CLI_BINARY) + " " + args + " 2>" + errName;
  if (FILE* p = popen(command.c_str(), "r")) {
    std::array<char, 65536> buf;
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) r.out.append(buf.data(), n);
    const int raw = pclose(p);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    // timeout reports a killed command as 128 + 9.
    r.timedOut = timeoutSeconds > 0 && r.status == 128 + 9;
  }
  if (FILE* e = std::fopen(errName, "rb")) {
    std::array<char, 4096> buf;
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), e)) > 0) r.err.append(buf.data(), n);
    std::fclose(e);
  }
  ::unlink(errName);
  return r;
}

}  // namespace morva::cli
