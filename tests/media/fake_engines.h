#pragma once
// Sound engines that play nothing and remember what they were asked, for
// tests of the code above the sound library.

#include <string>
#include <vector>

#include "media/oggaudio/oggaudio.h"
#include "media/sound_library.h"

namespace vork::testing {

class FakeEngines : public SoundEngines {
 public:
  // What the next play answers, and the error code it leaves.
  bool answer = true;
  int error = OGGAUDIO_ERROR_NONE;
  // How many polls of Playing answer true after a play.
  int polls_while_playing = 0;

  // "ogg LOCATION", "wave LOCATION", "wave LOCATION from MS", "stop ogg", "stop wave"
  std::vector<std::string> calls;
  int polls = 0;

  bool PlayOgg(const std::string& location) override { return Play("ogg " + location); }
  bool PlayWave(const std::string& location) override { return Play("wave " + location); }
  bool PlayWaveFrom(const std::string& location, std::int64_t start_ms) override {
    return Play("wave " + location + " from " + std::to_string(start_ms));
  }
  int LastError() override { return last_error_; }
  void StopOgg() override { Stop("stop ogg"); }
  void StopWave() override { Stop("stop wave"); }
  bool OggPlaying() override { return Poll(); }
  bool WavePlaying() override { return Poll(); }

 private:
  bool Play(const std::string& call) {
    calls.push_back(call);
    last_error_ = answer ? OGGAUDIO_ERROR_NONE : error;
    left_ = answer ? polls_while_playing : 0;
    return answer;
  }
  void Stop(const std::string& call) {
    calls.push_back(call);
    left_ = 0;
  }
  bool Poll() {
    ++polls;
    if (left_ == 0) return false;
    --left_;
    return true;
  }

  int last_error_ = OGGAUDIO_ERROR_NONE;
  int left_ = 0;
};

}  // namespace vork::testing
