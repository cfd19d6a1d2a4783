// Ogg Vorbis sounds through libvorbisfile, reading the byte range through
// callbacks so that a sound inside an archive streams from the archive.

#include <vorbis/vorbisfile.h>

#include <cstring>
#include <string>

#include "media/oggaudio/oggaudio.h"
#include "media/oggaudio/sound_decoder.h"
#include "media/oggaudio/sound_error.h"

namespace vork {

namespace {

// A run of damaged pages longer than this ends the sound rather than letting
// a hostile file keep the decoder busy.
constexpr int kMostHolesInARow = 64;

std::size_t ReadFromRange(void* buffer, std::size_t size, std::size_t count, void* source) {
  if (size == 0) return 0;
  return static_cast<ByteRangeFile*>(source)->Read(buffer, size * count) / size;
}

int SeekInRange(void* source, ogg_int64_t offset, int whence) {
  return static_cast<ByteRangeFile*>(source)->Seek(offset, whence) ? 0 : -1;
}

long TellInRange(void* source) { return static_cast<long>(static_cast<ByteRangeFile*>(source)->Tell()); }

std::string VorbisFailure(int code) {
  switch (code) {
    case OV_EREAD: return "the data could not be read";
    case OV_ENOTVORBIS: return "not Ogg Vorbis data";
    case OV_EVERSION: return "an unsupported Vorbis version";
    case OV_EBADHEADER: return "a damaged Vorbis header";
    default: return "damaged Ogg Vorbis data (" + std::to_string(code) + ")";
  }
}

class VorbisDecoder final : public SoundDecoder {
 public:
  explicit VorbisDecoder(ByteRangeFile file) : file_(std::move(file)) {}
  VorbisDecoder(const VorbisDecoder&) = delete;
  VorbisDecoder& operator=(const VorbisDecoder&) = delete;
  ~VorbisDecoder() override {
    if (open_) ov_clear(&vorbis_);
  }

  // Separate from the constructor because vorbisfile keeps pointers to
  // file_ and vorbis_: the decoder must already sit at its final address.
  void Open() {
    // The source is closed by file_, not by vorbisfile.
    ov_callbacks callbacks{ReadFromRange, SeekInRange, nullptr, TellInRange};
    int result = ov_open_callbacks(&file_, &vorbis_, nullptr, 0, callbacks);
    if (result != 0) throw SoundError(OGGAUDIO_ERROR_NOT_A_SOUND, VorbisFailure(result));
    open_ = true;
    const vorbis_info* info = ov_info(&vorbis_, -1);
    if (!info || info->channels < 1 || info->channels > kMostChannels || info->rate < kLowestRate ||
        info->rate > kHighestRate) {
      throw SoundError(OGGAUDIO_ERROR_NOT_A_SOUND,
                       "an Ogg Vorbis layout that cannot be played (" + std::to_string(info ? info->channels : 0) +
                           " channels at " + std::to_string(info ? info->rate : 0) + " Hz)");
    }
    format_.channels = info->channels;
    format_.rate = static_cast<int>(info->rate);
    link_ = vorbis_.current_link;
    const ogg_int64_t total = ov_pcm_total(&vorbis_, -1);
    frames_ = total > 0 ? static_cast<std::uint64_t>(total) : 0;
  }

  PcmFormat Format() const override { return format_; }
  std::uint64_t Frames() const override { return frames_; }

  bool Seek(std::uint64_t frame) override {
    if (frame > frames_ || ov_pcm_seek(&vorbis_, static_cast<ogg_int64_t>(frame)) != 0) return false;
    ended_ = false;
    return true;
  }

  std::size_t Read(std::span<std::byte> buffer) override {
    if (ended_) return 0;
    for (int holes = 0; holes < kMostHolesInARow; ++holes) {
      int link = 0;
      long bytes = ov_read(&vorbis_, reinterpret_cast<char*>(buffer.data()), static_cast<int>(buffer.size()),
                           0 /* little-endian */, 2, 1 /* signed 16-bit */, &link);
      if (bytes == OV_HOLE) continue;
      if (bytes > 0 && !SameFormat(link)) bytes = 0;
      if (bytes <= 0) break;
      return static_cast<std::size_t>(bytes);
    }
    ended_ = true;
    return 0;
  }

 private:
  // A chained stream may change its rate or channel count from one link to
  // the next; the sound ends at such a change instead of playing it wrongly.
  bool SameFormat(int link) {
    if (link == link_) return true;
    const vorbis_info* info = ov_info(&vorbis_, link);
    if (!info || info->channels != format_.channels || info->rate != format_.rate) return false;
    link_ = link;
    return true;
  }

  ByteRangeFile file_;
  OggVorbis_File vorbis_{};
  bool open_ = false;
  bool ended_ = false;
  int link_ = 0;
  std::uint64_t frames_ = 0;
  PcmFormat format_;
};

}  // namespace

std::unique_ptr<SoundDecoder> OpenVorbisSound(ByteRangeFile file) {
  auto decoder = std::make_unique<VorbisDecoder>(std::move(file));
  decoder->Open();
  return decoder;
}

std::unique_ptr<SoundDecoder> OpenAnySound(ByteRangeFile file) {
  char magic[4] = {};
  const bool ogg = file.Read(magic, sizeof magic) == sizeof magic && std::memcmp(magic, "OggS", 4) == 0;
  file.Seek(0, SEEK_SET);
  return ogg ? OpenVorbisSound(std::move(file)) : OpenWaveSound(std::move(file));
}

}  // namespace vork
