#pragma once
// Delivering a course's keystrokes (send-keys notation) to the player's own
// focused widget as key events: the keys go nowhere outside the player.

#include <string>

namespace vork {

// wait: each key is processed before the next is sent (the events are sent,
// not posted). A malformed text shows its error box and sends nothing.
void SendKeys(const std::string& keys, bool wait);

}  // namespace vork
