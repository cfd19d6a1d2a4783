// Wave sounds through libsndfile: every encoding a RIFF "WAVE" file of the
// courses' era may hold (PCM of 8 to 32 bits, IEEE float, IMA and Microsoft
// ADPCM, µ-law, A-law, GSM 6.10), decoded to 16-bit samples a buffer at a
// time, straight from the byte range.

#include <sndfile.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "media/oggaudio/oggaudio.h"
#include "media/oggaudio/sound_decoder.h"
#include "media/oggaudio/sound_error.h"

namespace vork {

namespace {

[[noreturn]] void NotAWave(const std::string& reason) {
  throw SoundError(OGGAUDIO_ERROR_NOT_A_SOUND, "not a playable wave sound: " + reason);
}

ByteRangeFile& Source(void* source) { return *static_cast<ByteRangeFile*>(source); }

sf_count_t SourceLength(void* source) { return static_cast<sf_count_t>(Source(source).Size()); }

sf_count_t SeekInSource(sf_count_t offset, int whence, void* source) {
  // A refused position leaves the file where it was; libsndfile sees that
  // in the answer and treats the file as ending there.
  Source(source).Seek(offset, whence);
  return static_cast<sf_count_t>(Source(source).Tell());
}

sf_count_t ReadFromSource(void* buffer, sf_count_t count, void* source) {
  if (count <= 0) return 0;
  return static_cast<sf_count_t>(Source(source).Read(buffer, static_cast<std::size_t>(count)));
}

sf_count_t WriteNothing(const void*, sf_count_t, void*) { return 0; }

sf_count_t TellSource(void* source) { return static_cast<sf_count_t>(Source(source).Tell()); }

// Only RIFF waves reach libsndfile: it would also take a dozen other
// containers by their content, none of which a wave sound of a course is.
void CheckRiffWave(ByteRangeFile& file) {
  char header[12];
  if (file.Read(header, sizeof header) != sizeof header || std::memcmp(header, "RIFF", 4) != 0 ||
      std::memcmp(header + 8, "WAVE", 4) != 0) {
    NotAWave("no RIFF WAVE header");
  }
  file.Seek(0, SEEK_SET);
}

class WaveDecoder final : public SoundDecoder {
 public:
  explicit WaveDecoder(ByteRangeFile file) : file_(std::move(file)) {}
  WaveDecoder(const WaveDecoder&) = delete;
  WaveDecoder& operator=(const WaveDecoder&) = delete;
  ~WaveDecoder() override {
    if (sound_) sf_close(sound_);
  }

  // Separate from the constructor because libsndfile keeps a pointer to
  // file_: the decoder must already sit at its final address.
  void Open() {
    CheckRiffWave(file_);
    SF_INFO info{};
    sound_ = OpenFromStart(info);
    if (!sound_) NotAWave(sf_strerror(nullptr));
    const int container = info.format & SF_FORMAT_TYPEMASK;
    if (container != SF_FORMAT_WAV && container != SF_FORMAT_WAVEX) NotAWave("not a RIFF wave");
    if (info.channels < 1 || info.channels > kMostChannels) NotAWave(std::to_string(info.channels) + " channels");
    if (info.samplerate < kLowestRate || info.samplerate > kHighestRate) {
      NotAWave("a rate of " + std::to_string(info.samplerate) + " Hz");
    }
    format_.channels = info.channels;
    format_.rate = info.samplerate;
    frames_ = info.frames > 0 ? static_cast<std::uint64_t>(info.frames) : 0;
  }

  PcmFormat Format() const override { return format_; }
  std::uint64_t Frames() const override { return frames_; }

  std::size_t Read(std::span<std::byte> buffer) override {
    if (ended_) return 0;
    const auto frameBytes = static_cast<std::size_t>(format_.FrameBytes());
    const auto frames = static_cast<sf_count_t>(buffer.size() / frameBytes);
    // The buffer comes from a byte vector: aligned for any sample type.
    const sf_count_t got = sf_readf_short(sound_, reinterpret_cast<short*>(buffer.data()), frames);
    if (got <= 0) {
      ended_ = true;
      return 0;
    }
    return static_cast<std::size_t>(got) * frameBytes;
  }

  bool Seek(std::uint64_t frame) override {
    if (frame > frames_) return false;
    if (sf_seek(sound_, static_cast<sf_count_t>(frame), SEEK_SET) < 0 && !DecodeUpTo(frame)) return false;
    ended_ = false;
    return true;
  }

 private:
  // libsndfile cannot seek inside GSM 6.10: there the sound is decoded from
  // its start up to the frame, so a resumed recording still starts exactly
  // where it was left.
  bool DecodeUpTo(std::uint64_t frame) {
    SF_INFO info{};
    SNDFILE* again = OpenFromStart(info);
    if (!again) return false;
    sf_close(sound_);
    sound_ = again;
    std::vector<short> skipped(4096 * static_cast<std::size_t>(format_.channels));
    for (std::uint64_t left = frame; left > 0;) {
      const auto wanted = static_cast<sf_count_t>(std::min<std::uint64_t>(left, 4096));
      const sf_count_t got = sf_readf_short(sound_, skipped.data(), wanted);
      if (got <= 0) return false;
      left -= static_cast<std::uint64_t>(got);
    }
    return true;
  }

  SNDFILE* OpenFromStart(SF_INFO& info) {
    if (!file_.Seek(0, SEEK_SET)) return nullptr;
    SF_VIRTUAL_IO io{SourceLength, SeekInSource, ReadFromSource, WriteNothing, TellSource};
    SNDFILE* sound = sf_open_virtual(&io, SFM_READ, &info, &file_);
    // Float samples beyond full scale would wrap around to the opposite
    // sign when turned into integers; clipped they only sound loud.
    if (sound) sf_command(sound, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    return sound;
  }

  ByteRangeFile file_;
  SNDFILE* sound_ = nullptr;
  PcmFormat format_;
  std::uint64_t frames_ = 0;
  bool ended_ = false;
};

}  // namespace

std::unique_ptr<SoundDecoder> OpenWaveSound(ByteRangeFile file) {
  auto decoder = std::make_unique<WaveDecoder>(std::move(file));
  decoder->Open();
  return decoder;
}

}  // namespace vork
