// Runs the morva-cli binary of the build and collects what it prints.
#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <string>

namespace morva::cli {

struct CliRun {
  int status = -1;
  std::string out;  // standard output only
};

inline CliRun RunCli(const std::string& args) {
  CliRun r;
  const std::string command = std::string(MORVA_CLI_BINARY) + " " + args + " 2>/dev/null";
  FILE* p = popen(command.c_str(), "r");
  if (!p) return r;
  std::array<char, 65536> buf;
  size_t n;
  while ((n = fread(buf.data(), 1, buf.size(), p)) > 0) r.out.append(buf.data(), n);
  const int raw = pclose(p);
  r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return r;
}

}  // namespace morva::cli
