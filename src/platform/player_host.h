#pragma once
// Everything the player asks of its surroundings, behind one interface: boxes
// and dialogs, the clock and its timers, the sound engines, and the few
// moments of a course that the surroundings follow. The player asks Host()
// and never learns who answers; nothing here calls into the player.
//
// A window run and a transcript run install the Qt host (platform/qt/qt_host.h),
// with window boxes or transcript boxes; tests install a host of their own
// whose clock moves only when the test advances it. With no host installed,
// every member answers as the base class does.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vork {

class MessageBoxes;
class SoundEngines;
class TVkReg;
struct TVkDialog;
enum class DialogPlacement;

enum class TimerMode { Repeating, SingleShot };

// A timer of the host's. Its callback runs from the host's event loop (or
// whatever moves the host's clock), never in the middle of other code, and
// may destroy the very timer that called it.
class HostTimer {
 public:
  virtual ~HostTimer() = default;
  // Counts a full interval from now; a running timer starts its count anew.
  virtual void Start(std::int64_t interval_ms, TimerMode mode = TimerMode::Repeating) = 0;
  virtual void Stop() = 0;
  virtual bool Active() const = 0;
};

class PlayerHost {
 public:
  PlayerHost() = default;
  virtual ~PlayerHost() = default;
  PlayerHost(const PlayerHost&) = delete;
  PlayerHost& operator=(const PlayerHost&) = delete;

  // Boxes and dialogs.

  // Default: transcript lines on standard error, each taking its first button.
  virtual MessageBoxes& Boxes();
  // A question with buttons named by the caller (button_dialog.h). Default:
  // asked through Boxes(), as transcript lines when those are TranscriptBoxes.
  virtual int ButtonDialog(std::string_view message, std::string_view caption,
                           const std::vector<std::string>& buttons, DialogPlacement placement);
  // Shows a picture dialog and answers the name of the hot spot that closed
  // it; nothing when there are no dialogs (the default).
  virtual std::optional<std::string> PictureDialog(const TVkDialog&) { return std::nullopt; }

  // The clock and its timers.

  // Milliseconds since an arbitrary fixed point; never goes backwards.
  virtual std::int64_t MonotonicMilliseconds();
  // Local wall-clock time as seconds counted from 1970-01-01 00:00:00 local
  // time (clock.h).
  virtual std::int64_t LocalWallClockSeconds();
  // A stopped timer that calls tick. Default: fails, there is no event loop.
  virtual std::unique_ptr<HostTimer> NewTimer(std::function<void()> tick);
  // Blocks for ms while events (timers, input) go on being handled.
  // Default: sleeps.
  virtual void Wait(std::int64_t ms);
  // Blocks for ms without handling events.
  virtual void Sleep(std::int64_t ms);

  // Sound: the engines of the sound library, or null when there are none.
  virtual SoundEngines* Sound() { return nullptr; }

  // What the surroundings follow of the course.

  // A scene has been shown (the scripted input of a transcript run starts
  // at the first).
  virtual void SceneShown() {}
  // The settings store of the course's current user, or null when there is
  // none; asked at every use, since the course may replace its user.
  virtual TVkReg* CurrentUserSettings() { return nullptr; }

  // A fatal internal check failed (vm/fatal_check.h). The program ends after
  // this returns; a host that must survive such checks (a fuzzer) throws.
  virtual void FatalCheckFailed(const std::string& detail);
};

// The installed host, or the base-class host when none is.
PlayerHost& Host();

// Installs host (not owned) for its lifetime and restores the previous one
// after; installers nest. Install and remove hosts on the main thread only.
class ScopedHost {
 public:
  explicit ScopedHost(PlayerHost& host);
  ~ScopedHost();
  ScopedHost(const ScopedHost&) = delete;
  ScopedHost& operator=(const ScopedHost&) = delete;

 private:
  PlayerHost* previous_;
};

}  // namespace vork
