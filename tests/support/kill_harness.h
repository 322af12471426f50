// Killing a process in the middle of writing files: a forked child repeats
// the work until it is killed with SIGKILL at a random moment, and the test
// checks what the files hold after every kill. Also a child that writes
// under a file-size limit, which makes writes fail as on a full disk.
#pragma once

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <random>

namespace morva::testing {

// Runs work in `kills` children in turn, each killed after a random delay of
// up to about one run of work (timed here first, in this process), so that
// the kills fall on every moment of it, and calls check after each kill.
// Stops at the first failing check.
inline void KillWhileWorking(int kills, const std::function<void()>& work,
                             const std::function<void(int kill)>& check) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 3; ++i) work();
  const auto once = std::chrono::duration_cast<std::chrono::microseconds>(
                        std::chrono::steady_clock::now() - start) /
                    3;
  std::mt19937 random(20261207);
  std::uniform_int_distribution<long> delay(0, once.count() + 200);
  for (int k = 0; k < kills; ++k) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      for (;;) work();
    }
    ::usleep(static_cast<useconds_t>(delay(random)));
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the child ended by itself";
    check(k);
    if (::testing::Test::HasFailure()) return;
  }
}

// Runs work in a child whose files may grow to at most `bytes`: a longer
// write fails (EFBIG) as on a full disk. Returns what work returned.
inline bool WorkWithFileSizeLimit(rlim_t bytes, const std::function<bool()>& work) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{bytes, bytes};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ::_exit(work() ? 0 : 1);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status));
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace morva::testing
