#include "cli/process_exit.h"

#include <signal.h>

#include <cstdio>
#include <cstdlib>

#include "cli/book_session.h"
#include "engine/book/temp_file.h"

namespace morva::cli {

namespace {

extern "C" void RemoveTempFilesAndReraise(int signal) {
  // Only async-signal-safe calls: unlink, then the default action.
  RemoveTempFilesNow();
  ::signal(signal, SIG_DFL);
  ::raise(signal);
}

}  // namespace

void ExitNow(int status) {
  Output::FlushCurrent();
  std::fflush(stdout);
  RemoveTempFilesNow();
  std::_Exit(status);
}

void InstallSignalCleanup() {
  for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
    struct sigaction old {};
    if (::sigaction(signal, nullptr, &old) != 0 || old.sa_handler == SIG_IGN) continue;
    struct sigaction action {};
    action.sa_handler = RemoveTempFilesAndReraise;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal, &action, nullptr);
  }
}

}  // namespace morva::cli
