#pragma once
// TKsAudioPlayer: hands a sound location (a file path, or "archive@offset,size"
// inside a course archive) to the engine that can play it. Two process-wide
// players exist and share the library's two engines, so stopping either
// stops every sound that either started:
// - the archive-aware player (PlayAudio, StopAllMedia) also sends archive
//   locations to the Ogg engine;
// - the file player (letters spoken aloud, media players before they start)
//   plays only files named ".ogg" or ".wav".

#include <cstdint>
#include <functional>
#include <string_view>

namespace vork {

class SoundEngines;

enum class AudioPlayerRole { kArchiveAware, kFilesOnly };

class TKsAudioPlayer {
 public:
  // Where the engines come from, asked at every call: the library is loaded
  // by the start-up check, after the players exist. The one-argument
  // constructor asks the host (PlayerHost::Sound).
  using EngineSource = std::function<SoundEngines*()>;

  explicit TKsAudioPlayer(AudioPlayerRole role);
  TKsAudioPlayer(AudioPlayerRole role, EngineSource engines);

  // True when the sound plays (or played to its end, with wait). A machine
  // without an audio device counts as playing: the library has logged that
  // once, and courses run silently. With wait, pending events are processed
  // until the sound ends or is stopped, so timers tick meanwhile and an
  // event may stop the sound; leaving the event loop (the course ending)
  // also ends the wait.
  bool Play(std::string_view location, bool wait);
  // Plays a recording (a wave or Ogg Vorbis sound, whatever its name) from
  // `start_ms` on, streamed by the wave engine; answers as Play without wait.
  bool PlayFrom(std::string_view location, std::int64_t start_ms);
  // Stops every sound of both engines.
  void Stop();

  static TKsAudioPlayer& ArchivePlayer();
  static TKsAudioPlayer& FilePlayer();

 private:
  // Play's answer once the engine was asked.
  static bool Answer(SoundEngines& engines, bool started);

  AudioPlayerRole role_;
  EngineSource engines_;
};

// Runs pending events until `still_going` answers false (polled every few
// milliseconds) or the application's event loop is told to exit. Without a
// Qt application it only sleeps between polls.
void ProcessEventsWhile(const std::function<bool()>& still_going);

}  // namespace vork
