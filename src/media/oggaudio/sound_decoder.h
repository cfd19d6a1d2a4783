#pragma once
// A sound being decoded to PCM, a buffer at a time, for the audio output (or
// for a test or fuzzer without one).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>

#include "media/oggaudio/byte_range_file.h"

namespace vork {

enum class SampleType {
  kUnsigned8,       // 128 is silence
  kSigned16Little,  // little-endian on every host
};

struct PcmFormat {
  SampleType type = SampleType::kSigned16Little;
  int channels = 0;
  int rate = 0;  // sample frames per second

  int FrameBytes() const { return channels * (type == SampleType::kUnsigned8 ? 1 : 2); }
};

// Layouts the audio output takes. Outside this span of rates a tiny file could
// play for hours (or not at all); no recording tool writes such rates.
constexpr int kMostChannels = 8;
constexpr int kLowestRate = 1000;
constexpr int kHighestRate = 384000;

class SoundDecoder {
 public:
  virtual ~SoundDecoder() = default;
  virtual PcmFormat Format() const = 0;
  // Fills the front of `buffer` with whole sample frames and answers how many
  // bytes it wrote; 0 means the sound has ended. Damage found in the middle
  // of a sound ends it early; it is no error. `buffer` must hold at least one
  // frame of 8 channels.
  virtual std::size_t Read(std::span<std::byte> buffer) = 0;
  // Sample frames in the whole sound as its header tells; 0 when unknown.
  virtual std::uint64_t Frames() const = 0;
  // Makes the next Read start at sample frame `frame` (0 is the start);
  // false, with the position unchanged, when the sound cannot go there.
  virtual bool Seek(std::uint64_t frame) = 0;
};

// All throw SoundError (OGGAUDIO_ERROR_NOT_A_SOUND) when the data is not a
// sound they can play.
std::unique_ptr<SoundDecoder> OpenVorbisSound(ByteRangeFile file);
// Every encoding of a RIFF wave that libsndfile decodes.
std::unique_ptr<SoundDecoder> OpenWaveSound(ByteRangeFile file);
// Either of the two, told apart by the first bytes (a recording may have
// been made by the player or shipped with the course).
std::unique_ptr<SoundDecoder> OpenAnySound(ByteRangeFile file);

}  // namespace vork
