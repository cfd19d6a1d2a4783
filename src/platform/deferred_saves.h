#pragma once
// Stores that keep their changes in memory and write them at the next point
// where the course cannot be half-way through a change: when the routine
// that changed them returns to the event loop, at a scene or user change,
// before another program starts, and at the end of the run. Writing the
// whole store after every single change made a course that writes thousands
// of settings in one routine freeze for a minute.
//
// Main thread only, like everything that runs bytecode.

#include <string>

namespace vork {

class TDeferredSave {
 public:
  TDeferredSave() = default;
  // Drops a pending save without writing: the owner saves (or decides not
  // to) in its own destructor, which runs before this one.
  virtual ~TDeferredSave();
  TDeferredSave(const TDeferredSave&) = delete;
  TDeferredSave& operator=(const TDeferredSave&) = delete;

  bool SavePending() const { return scheduled_; }

 protected:
  // Asks for one SaveDeferred at the next save point; repeated calls before
  // it cost nothing.
  void ScheduleSave();
  void CancelScheduledSave();

  // Writes the store. Throws on failure; the save then stays pending.
  virtual void SaveDeferred() = 0;

 private:
  friend bool SaveDeferredChanges();
  bool scheduled_ = false;
  // The text of the last failure that was shown, so that a disk that stays
  // full shows its box once rather than at every timer tick.
  std::string last_failure_;
};

// Saves every store with a pending save. A failed save is shown in the
// standard error box (once for the same failure of the same store) and is
// tried again at the next save point. Never throws; false when a save
// failed.
bool SaveDeferredChanges();

}  // namespace vork
