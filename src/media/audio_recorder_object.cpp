#include "media/audio_recorder_object.h"

#include <filesystem>

#include "bridge/messages.h"
#include "media/play_audio.h"
#include "media/recording_wave.h"
#include "media/sound_capture.h"
#include "text/temp_file.h"
#include "platform/errors.h"
#include "platform/path_resolver.h"

namespace vork {

TVkAudioRecorderObject::TVkAudioRecorderObject() : recorder_(std::make_unique<SoundCapture>()) {}

TVkAudioRecorderObject::~TVkAudioRecorderObject() {
  recorder_.reset();  // closes the device before its file goes
  DiscardTake();
}

void TVkAudioRecorderObject::Release() {
  recording_ = false;
  recorder_->Stop();
  DiscardTake();
}

void TVkAudioRecorderObject::StopMedia() {
  if (!recording_) return;
  recording_ = false;
  recorder_->Stop();
}

void TVkAudioRecorderObject::DiscardTake() {
  if (temp_file_.empty()) return;
  std::error_code ignored;  // a file already gone is nothing to discard
  std::filesystem::remove(temp_file_, ignored);
  temp_file_.clear();
}

void TVkAudioRecorderObject::StartRecording() {
  // Ends every take, this object's own included (unsaved).
  StopAllMedia(Manager());
  StopMedia();
  DiscardTake();
  temp_file_ = CreateTempFile(".wav");
  if (temp_file_.empty())
    throw EVkError("Cannot create a temporary file for the recording in \"" + TempDirectory() + "\".");
  WriteRecordingTemplate(temp_file_);
  recorder_->Start(temp_file_);
  recording_ = true;
}

void TVkAudioRecorderObject::StopRecording(const std::string& target) {
  struct DiscardOnExit {
    TVkAudioRecorderObject& self;
    ~DiscardOnExit() { self.DiscardTake(); }
  } discard{*this};
  if (!recording_) return;
  recording_ = false;
  recorder_->Stop();
  if (target.empty()) return;
  if (!recorder_->WriteFailure().empty())
    throw EVkError("Cannot write the recording \"" + temp_file_ + "\": " + recorder_->WriteFailure() + ".");
  SaveRecording(temp_file_, ResolveCoursePath(target));
}

void TVkAudioRecorderObject::HandleMessage(int32_t message) {
  switch (static_cast<AudioRecorderMessage>(message)) {
    case AudioRecorderMessage::Start: StartRecording(); break;
    case AudioRecorderMessage::Stop: StopRecording(PopString()); break;
    default: TVkScriptObject::HandleMessage(message); break;
  }
}

}  // namespace vork
