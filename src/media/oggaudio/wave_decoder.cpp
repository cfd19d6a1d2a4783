// PCM wave sounds: a RIFF "WAVE" file with a "fmt " chunk and a "data" chunk,
// other chunks skipped. The samples need no decoding, only framing.

#include <array>
#include <cstdint>
#include <cstring>
#include <string>

#include "media/oggaudio/oggaudio.h"
#include "media/oggaudio/sound_decoder.h"
#include "media/oggaudio/sound_error.h"
#include "platform/byte_order.h"

namespace vork {

namespace {

constexpr std::uint16_t kFormatPcm = 1;
constexpr std::uint16_t kFormatExtensible = 0xFFFE;

[[noreturn]] void NotAWave(const std::string& reason) {
  throw SoundError(OGGAUDIO_ERROR_NOT_A_SOUND, "not a playable wave sound: " + reason);
}

PcmFormat ParseFormatChunk(ByteRangeFile& file, std::uint32_t chunkSize) {
  // The extensible layout is 40 bytes; anything beyond is skipped by the caller.
  std::array<std::uint8_t, 40> fmt{};
  if (chunkSize < 16) NotAWave("the format chunk is too short");
  std::size_t wanted = chunkSize < fmt.size() ? chunkSize : fmt.size();
  if (file.Read(fmt.data(), wanted) != wanted) NotAWave("the format chunk is cut off");
  std::uint16_t tag = ReadLittle16(&fmt[0]);
  std::uint16_t channels = ReadLittle16(&fmt[2]);
  std::uint32_t rate = ReadLittle32(&fmt[4]);
  std::uint16_t bits = ReadLittle16(&fmt[14]);
  // An extensible header names its real format in the first two bytes of its
  // sub-format identifier.
  if (tag == kFormatExtensible && wanted >= 40) tag = ReadLittle16(&fmt[24]);
  if (tag != kFormatPcm) NotAWave("format " + std::to_string(tag) + " is not PCM");
  if (bits != 8 && bits != 16) NotAWave(std::to_string(bits) + "-bit samples");
  if (channels < 1 || channels > kMostChannels) NotAWave(std::to_string(channels) + " channels");
  if (rate < std::uint32_t{kLowestRate} || rate > std::uint32_t{kHighestRate}) NotAWave("a rate of " + std::to_string(rate) + " Hz");
  PcmFormat format;
  format.type = bits == 8 ? SampleType::kUnsigned8 : SampleType::kSigned16Little;
  format.channels = channels;
  format.rate = static_cast<int>(rate);
  return format;
}

class WaveDecoder final : public SoundDecoder {
 public:
  explicit WaveDecoder(ByteRangeFile file) : file_(std::move(file)) { FindSamples(); }

  PcmFormat Format() const override { return format_; }

  std::size_t Read(std::span<std::byte> buffer) override {
    std::uint64_t frameBytes = static_cast<std::uint64_t>(format_.FrameBytes());
    std::uint64_t count = buffer.size() < remaining_ ? buffer.size() : remaining_;
    count -= count % frameBytes;
    std::size_t done = file_.Read(buffer.data(), static_cast<std::size_t>(count));
    if (done < count) {
      remaining_ = 0;  // a read error ends the sound
      return done - done % frameBytes;
    }
    remaining_ -= done;
    return done;
  }

 private:
  void FindSamples() {
    std::uint8_t header[12];
    if (file_.Read(header, 12) != 12 || std::memcmp(header, "RIFF", 4) != 0 || std::memcmp(header + 8, "WAVE", 4) != 0) {
      NotAWave("no RIFF WAVE header");
    }
    bool haveFormat = false;
    for (;;) {
      std::uint8_t chunk[8];
      if (file_.Read(chunk, 8) != 8) NotAWave("no data chunk");
      std::uint32_t size = ReadLittle32(chunk + 4);
      std::uint64_t next = file_.Tell() + size + (size & 1);  // chunks are padded to even sizes
      if (std::memcmp(chunk, "fmt ", 4) == 0) {
        format_ = ParseFormatChunk(file_, size);
        haveFormat = true;
      } else if (std::memcmp(chunk, "data", 4) == 0) {
        if (!haveFormat) NotAWave("the data chunk comes before the format chunk");
        // A data size past the end (a cut-off file, or a recorder that never
        // wrote the size back) plays what is there.
        std::uint64_t there = file_.Size() - file_.Tell();
        remaining_ = size < there ? size : there;
        remaining_ -= remaining_ % static_cast<std::uint64_t>(format_.FrameBytes());
        return;
      }
      if (!file_.Seek(static_cast<std::int64_t>(next), SEEK_SET)) NotAWave("no data chunk");
    }
  }

  ByteRangeFile file_;
  PcmFormat format_;
  std::uint64_t remaining_ = 0;  // bytes of whole frames left to play
};

}  // namespace

std::unique_ptr<SoundDecoder> OpenWaveSound(ByteRangeFile file) {
  return std::make_unique<WaveDecoder>(std::move(file));
}

}  // namespace vork
