// Ending morva-cli early without leaving anything behind: the output written
// so far goes out, the run's temporary files are removed.
#pragma once

namespace morva::cli {

// Writes the pending output, removes the temporary files and ends the
// process with status at once (no destructors run).
[[noreturn]] void ExitNow(int status);

// Handlers for SIGINT, SIGTERM, SIGHUP and SIGPIPE that remove the
// temporary files and then end the process by the same signal, so the
// caller sees the usual status. A signal ignored when the program starts
// stays ignored (nohup, background jobs; with SIGPIPE ignored a write to a
// closed pipe fails with EPIPE, which Output handles).
void InstallSignalCleanup();

}  // namespace morva::cli
