#pragma once
// The host's clock services on Qt's event loop, for every real run: timers
// are QTimers, and a wait runs a nested event loop. The rest is the base
// host's; the shell adds its dialogs, sound and course hooks on top
// (shell/shell_host.h).

#include "platform/player_host.h"

namespace vork {

class QtHost : public PlayerHost {
 public:
  std::unique_ptr<HostTimer> NewTimer(std::function<void()> tick) override;
  // Without a Qt application there is no loop to run: it only sleeps.
  void Wait(std::int64_t ms) override;
};

}  // namespace vork
