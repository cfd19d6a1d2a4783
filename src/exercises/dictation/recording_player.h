#pragma once
// TVkRecordingPlayer: the dictation's player for its recording, with the
// few operations of a media-control player that the exercise needs: open a
// file, play from a position in milliseconds with a notice at the end, stop,
// read and set the position.
//
// Opening reads only the recording's header (its layout and length); each
// play has the wave engine stream the recording itself from the position
// on, through the same decoders as every other sound. The position while
// playing is the clock's, counted from the play's start; playing ends when
// that reaches the end of the recording or when the engine stops earlier
// (every sound of the course can be stopped by another).

#include <QTimer>
#include <cstdint>
#include <functional>
#include <string>

namespace vork {

class TKsAudioPlayer;

enum class RecordingMode { kNotReady, kStopped, kPlaying };

class TVkRecordingPlayer {
 public:
  // Answers whether the wave engine is still playing; the default asks the
  // loaded sound library.
  using PlayingProbe = std::function<bool()>;

  TVkRecordingPlayer();
  TVkRecordingPlayer(TKsAudioPlayer& audio, PlayingProbe playing);
  ~TVkRecordingPlayer();
  TVkRecordingPlayer(const TVkRecordingPlayer&) = delete;
  TVkRecordingPlayer& operator=(const TVkRecordingPlayer&) = delete;

  const std::string& FileName() const { return file_name_; }
  void SetFileName(std::string name) { file_name_ = std::move(name); }
  // Finds the file named FileName (an ".aud" name of the course's sounds,
  // a file of the media folder, or a path) and reads its header; throws
  // EVkError when it is not a sound that can be played.
  void Open();
  bool IsOpen() const { return open_; }

  RecordingMode Mode();
  std::int64_t Length() const { return length_ms_; }
  std::int64_t Position();
  // Clamped to the recording; a playing recording stops first.
  void SetPosition(std::int64_t ms);
  // The next play ends with OnNotify (also when it is stopped).
  void SetNotify(bool notify) { notify_ = notify; }
  // From the position on; a recording at its end starts again from 0.
  void Play();
  void Stop();

  std::function<void()> OnNotify;

 private:
  void Poll();
  // Ends a play at `position`; the notice goes out last, as the caller may
  // be gone after it.
  void Finish(std::int64_t position);

  TKsAudioPlayer& audio_;
  PlayingProbe playing_probe_;
  std::string file_name_;
  bool open_ = false;
  std::string location_;  // where the recording's bytes are, as the engines take it
  std::int64_t length_ms_ = 0;
  std::int64_t position_ms_ = 0;
  bool playing_ = false;
  bool engine_seen_playing_ = false;
  std::int64_t play_started_at_ = 0;
  std::int64_t play_started_from_ = 0;
  bool notify_ = false;
  QTimer poll_;
};

}  // namespace vork
