// Runs the morva-cli binary of the build and collects what it prints.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace morva::cli {

struct CliRun {
  int status = -1;
  std::string out;  // standard output
  std::string err;  // standard error
};

// args are shell words after the binary's name.
inline CliRun RunCli(const std::string& args) {
  CliRun r;
  char errName[] = "/tmp/morva-cli-stderr-XXXXXX";
  const int errFd = mkstemp(errName);
  if (errFd < 0) return r;
  close(errFd);
  const std::string command = std::string(MORVA_CLI_BINARY) + " " + args + " 2>" + errName;
  if (FILE* p = popen(command.c_str(), "r")) {
    std::array<char, 65536> buf;
    size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) r.out.append(buf.data(), n);
    const int raw = pclose(p);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  }
  std::ifstream err(errName, std::ios::binary);
  std::ostringstream text;
  text << err.rdbuf();
  r.err = text.str();
  std::remove(errName);
  return r;
}

}  // namespace morva::cli
