#pragma once
// The learner's sound level: a volume and a mute switch for every course
// sound and every media player. It belongs to the person at the computer,
// not to a course, so it is kept in the player's own settings directory
// (sound.ini, section "Sound": Volume=0..100, Muted=0|1) and never in a
// course's files.

#include <functional>
#include <string>
#include <vector>

namespace vork {

struct SoundLevel {
  static constexpr int kStep = 10;

  int volume = 100;  // 0..100
  bool muted = false;

  // What the outputs are set to: 0 while muted.
  int Effective() const { return muted ? 0 : volume; }
  // Louder or quieter by `steps` steps, within 0..100; unmutes.
  SoundLevel Stepped(int steps) const;

  bool operator==(const SoundLevel&) const = default;
};

// A missing or unreadable file, and values out of range, give the defaults
// (or the nearest value in range).
SoundLevel LoadSoundLevel(const std::string& path);
// Throws EVkError naming the file when it cannot be written.
void SaveSoundLevel(const std::string& path, const SoundLevel& level);

// The level in force for the whole program. Outputs listen to it: each
// listener hears the effective volume at once and after every change.
class SoundVolume {
 public:
  using Listener = std::function<void(int effective)>;

  static const SoundLevel& Level();
  static void Set(const SoundLevel& level);
  // Answers a ticket for Unlisten.
  static int Listen(Listener listener);
  static void Unlisten(int ticket);
};

}  // namespace vork
