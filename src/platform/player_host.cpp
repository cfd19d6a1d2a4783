#include "platform/player_host.h"

#include <atomic>
#include <chrono>
#include <ctime>
#include <thread>

#include "platform/button_dialog.h"
#include "platform/errors.h"
#include "platform/message_boxes.h"

namespace vork {

namespace {

// Atomic because the watchdog and the sound thread may read the clock.
std::atomic<PlayerHost*> installed{nullptr};

PlayerHost& DefaultHost() {
  static PlayerHost host;
  return host;
}

}  // namespace

MessageBoxes& PlayerHost::Boxes() { return DefaultBoxes(); }

int PlayerHost::ButtonDialog(std::string_view message, std::string_view,
                             const std::vector<std::string>& buttons, DialogPlacement) {
  return AskThroughBoxes(Boxes(), message, buttons);
}

std::int64_t PlayerHost::MonotonicMilliseconds() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::int64_t PlayerHost::LocalWallClockSeconds() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  using namespace std::chrono;
  const sys_days day = year{local.tm_year + 1900} / (local.tm_mon + 1) / local.tm_mday;
  return duration_cast<seconds>(day.time_since_epoch()).count() + local.tm_hour * 3600 +
         local.tm_min * 60 + local.tm_sec;
}

std::unique_ptr<HostTimer> PlayerHost::NewTimer(std::function<void()>) {
  throw EVkError("no timers in this player");
}

void PlayerHost::Wait(std::int64_t ms) { Sleep(ms); }

void PlayerHost::Sleep(std::int64_t ms) {
  if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void PlayerHost::FatalCheckFailed(const std::string&) {}

PlayerHost& Host() {
  PlayerHost* host = installed.load(std::memory_order_acquire);
  return host ? *host : DefaultHost();
}

ScopedHost::ScopedHost(PlayerHost& host) : previous_(installed.load()) {
  installed.store(&host, std::memory_order_release);
}

ScopedHost::~ScopedHost() { installed.store(previous_, std::memory_order_release); }

}  // namespace vork
