// The commands of morva-cli, one function each. Each returns the exit status:
// 0 success, 1 the book cannot be opened or read, 2 a usage error, 3 no hits.
#pragma once

#include "cli/cli_args.h"

namespace morva::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitBook = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitNoHits = 3;

int RunBooks(Arguments& args);
int RunShow(Arguments& args);
int RunText(Arguments& args);
int RunCopyright(Arguments& args);
int RunDump(Arguments& args);
int RunSearch(Arguments& args);
int RunMenu(Arguments& args);
int RunMulti(Arguments& args);
int RunFulltext(Arguments& args);

// Prints "morva-cli: message" to stderr and returns status.
int Fail(int status, const std::string& message);

}  // namespace morva::cli
