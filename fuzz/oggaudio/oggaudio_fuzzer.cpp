// Feeds arbitrary bytes to both decoders of the sound library, as a whole
// file and as a byte range inside a bigger one, and decodes them to memory
// (no audio device). Also parses the bytes as a sound location.
// Seeds: tests/media/oggaudio's write_oggaudio_corpus.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string_view>

#include "media/oggaudio/sound_decoder.h"
#include "media/oggaudio/sound_error.h"
#include "media/oggaudio/sound_location.h"

namespace {

using vork::ByteRangeFile;

// More than any input of a few kilobytes should decode to; stops a
// pathological stream from turning into a timeout.
constexpr std::size_t kMostBytes = std::size_t{64} << 20;

template <class Open>
void DecodeToMemory(Open open, const std::uint8_t* data, std::size_t size, std::size_t skip) {
  std::FILE* file = ::fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
  if (!file) return;
  try {
    std::unique_ptr<vork::SoundDecoder> decoder = open(ByteRangeFile(file, skip, size - skip));
    vork::PcmFormat format = decoder->Format();
    if (format.channels < 1 || format.channels > vork::kMostChannels) __builtin_trap();
    std::byte buffer[4096];
    std::size_t total = 0;
    while (std::size_t bytes = decoder->Read(buffer)) {
      if (bytes > sizeof buffer || bytes % static_cast<std::size_t>(format.FrameBytes()) != 0) __builtin_trap();
      total += bytes;
      if (total > kMostBytes) break;
    }
  } catch (const vork::SoundError&) {
  }
}

}  // namespace

// libvorbisfile 1.3.7 itself leaks 8 bytes when it refuses some damaged
// streams (ov_open fails with OV_ENOTVORBIS and there is nothing left for the
// caller to free); only leaks in our own code should stop the fuzzer.
extern "C" const char* __lsan_default_suppressions() { return "leak:libvorbisfile.so\n"; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  vork::ParseSoundLocation(std::string_view(reinterpret_cast<const char*>(data), size));
  if (size == 0) return 0;  // fmemopen refuses an empty buffer
  // Once as a whole file, once as a range that starts where the first byte
  // says, so reading and seeking inside a range are exercised too.
  for (std::size_t skip : {std::size_t{0}, data[0] % size}) {
    DecodeToMemory(vork::OpenVorbisSound, data, size, skip);
    DecodeToMemory(vork::OpenWaveSound, data, size, skip);
  }
  return 0;
}
