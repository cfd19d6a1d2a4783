#pragma once
// TVkAudioRecorderObject (class 21): records the learner's voice into a
// temporary wave file and saves it under the name the course chooses.
// Messages: 0 start a take, 1 (target) stop it and save it under target
// ("" saves nothing). Any StopAllMedia ends a take unsaved.

#include <cstdint>
#include <memory>
#include <string>

#include "bridge/script_object.h"
#include "media/stoppable_media.h"

namespace vork {

class SoundCapture;

class TVkAudioRecorderObject : public TVkScriptObject, public StoppableMedia {
 public:
  TVkAudioRecorderObject();
  ~TVkAudioRecorderObject() override;

  void HandleMessage(int32_t message) override;
  void Release() override;

  // Stops the device without saving; the take's file stays until the next
  // message discards it.
  void StopMedia() override;

  bool Recording() const { return recording_; }
  const std::string& TempFile() const { return temp_file_; }

 private:
  void StartRecording();
  void StopRecording(const std::string& target);
  void DiscardTake();

  std::string temp_file_;
  std::unique_ptr<SoundCapture> recorder_;
  bool recording_ = false;
};

}  // namespace vork
