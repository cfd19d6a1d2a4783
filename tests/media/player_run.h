#pragma once
// A course folder made by a test (image, archive, media and users
// directories) and a headless run of the real player in it, with sound
// going through SDL's disk driver: what the "device" plays lands in a file
// of raw 16-bit stereo 44.1 kHz samples, and what the "microphone" hears is
// read from another.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "media/oggaudio/sound_fixtures.h"

namespace vork::testing {

using Samples = std::vector<std::int16_t>;

inline constexpr int kOutputRate = 44100;
inline constexpr int kOutputChannels = 2;

struct PlayerResult {
  int status = -1;
  std::string transcript;
  std::string log;  // the diagnostic log
  Samples output;   // everything the audio device was given
};

class CourseFolder {
 public:
  CourseFolder();

  const std::filesystem::path& Path() const { return dir_.Path(); }
  std::filesystem::path operator/(const std::string& name) const { return dir_ / name; }
  // The temporary folder the player is given (TMPDIR).
  std::filesystem::path TempPath() const { return dir_ / "tmp"; }

  // Packs these resources into the course's archive.
  void Archive(const std::map<std::string, std::string>& resources);
  void MediaFile(const std::string& name, const std::string& bytes);
  // Raw 16-bit mono samples for the microphone.
  void Microphone(const Samples& samples);

  // Compiles `source` and runs it; `environment` adds to or overrides the
  // player's environment ("NAME=value").
  PlayerResult Run(const std::string& source, const std::vector<std::string>& environment = {});

 private:
  TempDir dir_;
};

// Interleaved output samples from the first non-silent frame to the last.
Samples Sounding(const Samples& samples);
// The frame at which `sound` starts inside `output`, at or after frame
// `from`, matching `sound`'s first frames exactly; npos when absent.
std::size_t FindSound(const Samples& output, const Samples& sound, std::size_t from = 0);
// True when the whole of `sound` stands in `output` from frame `at`.
bool HoldsWholeSound(const Samples& output, const Samples& sound, std::size_t at);
// One past the last frame that is not silence (0 when all is silence).
std::size_t EndOfSound(const Samples& output);

}  // namespace vork::testing
