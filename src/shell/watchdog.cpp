#include "shell/watchdog.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>

namespace vork {

void StartWatchdog(int ms) {
  std::thread([ms] {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    // _exit, not exit: the main thread may hold locks or be inside Qt, and
    // no destructor may run concurrently with it.
    std::fflush(stdout);
    std::fflush(stderr);
    _exit(124);
  }).detach();
}

}  // namespace vork
