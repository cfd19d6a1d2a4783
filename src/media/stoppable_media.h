#pragma once
// What StopAllMedia asks of the script objects it silences: the media
// players (classes 5 and 7) and the audio recorder (class 21).

namespace vork {

class StoppableMedia {
 public:
  // Stops playing or recording at once: a recorder drops its take unsaved.
  // Runs no bytecode, so StopAllMedia can go on to the next object.
  virtual void StopMedia() = 0;

 protected:
  ~StoppableMedia() = default;
};

}  // namespace vork
