#include <gtest/gtest.h>

#include <dirent.h>
#include <signal.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "driver/run_rewrite.h"

namespace aplpatch {
namespace {

// Reads the blocked-signal masks of the process's threads other than this one, as Linux shows
// them; false while one of them is not yet asleep.
bool readOtherThreads(std::vector<unsigned long long>& masks) {
  DIR* tasks = ::opendir("/proc/self/task");
  if (tasks == nullptr) return false;
  const std::string self = std::to_string(::syscall(SYS_gettid));
  bool allAsleep = true;
  while (const dirent* task = ::readdir(tasks)) {
    const std::string id = task->d_name;
    if (id == "." || id == ".." || id == self) continue;
    std::ifstream status("/proc/self/task/" + id + "/status");
    for (std::string line; std::getline(status, line);) {
      if (line.rfind("State:", 0) == 0 && line.find("(sleeping)") == std::string::npos) allAsleep = false;
      if (line.rfind("SigBlk:", 0) == 0) masks.push_back(std::strtoull(line.c_str() + 7, nullptr, 16));
    }
  }
  ::closedir(tasks);
  return allAsleep && !masks.empty();
}

// The masks once every other thread sleeps: a thread that has only just started holds every signal
// back while the C library sets it up, whatever it will hold back afterwards.
std::vector<unsigned long long> otherThreadsBlocked() {
  for (int attempt = 0; attempt < 500; ++attempt) {
    std::vector<unsigned long long> masks;
    if (readOtherThreads(masks)) return masks;
    ::usleep(2000);
  }
  return {};
}

// A signal that landed on the checker's worker would run the cleanup there, past a deferral that
// holds it back on the run's thread only.
TEST(StructureCheckWorker, NeverTakesAnInterrupt) {
  if (::access("/proc/self/task", R_OK) != 0) GTEST_SKIP() << "no /proc to read thread masks from";
  std::unique_ptr<StructureCheck> check = startStructureCheck();
  const std::vector<unsigned long long> masks = otherThreadsBlocked();
  ASSERT_FALSE(masks.empty()) << "no sleeping worker thread to look at";
  for (unsigned long long mask : masks) {
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) EXPECT_TRUE(mask >> (signal - 1) & 1) << "signal " << signal;
  }
  sigset_t own;
  ::sigprocmask(SIG_SETMASK, nullptr, &own);
  EXPECT_FALSE(::sigismember(&own, SIGINT)) << "the run's own thread must take interrupts again";
}

}  // namespace
}  // namespace aplpatch
