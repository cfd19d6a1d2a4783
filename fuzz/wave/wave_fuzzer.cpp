// Feeds arbitrary bytes to the wave engine's decoders as a recording is
// played: opened by its content, moved to a position the input chooses
// (a resumed Listen), then decoded to memory (no audio device). The frames
// given never exceed what the header promised from that position on.
// Seeds: write_oggaudio_corpus writes one wave of every encoding.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>

#include "media/oggaudio/sound_decoder.h"
#include "media/oggaudio/sound_error.h"

namespace {

// More than any input of a few kilobytes should decode to; stops a
// pathological header from turning into a timeout.
constexpr std::size_t kMostBytes = std::size_t{16} << 20;

void PlayFrom(const std::uint8_t* data, std::size_t size, std::uint64_t start_per_mille) {
  std::FILE* file = ::fmemopen(const_cast<std::uint8_t*>(data), size, "rb");
  if (!file) return;
  try {
    std::unique_ptr<vork::SoundDecoder> decoder = vork::OpenAnySound(vork::ByteRangeFile(file, 0, size));
    const vork::PcmFormat format = decoder->Format();
    if (format.channels < 1 || format.channels > vork::kMostChannels) __builtin_trap();
    if (format.rate < vork::kLowestRate || format.rate > vork::kHighestRate) __builtin_trap();
    const std::uint64_t frames = decoder->Frames();
    const std::uint64_t start = frames / 1000 * start_per_mille + frames % 1000 * start_per_mille / 1000;
    if (!decoder->Seek(start)) return;
    alignas(8) std::byte buffer[4096];
    const auto frame_bytes = static_cast<std::size_t>(format.FrameBytes());
    std::uint64_t given = 0;
    std::size_t total = 0;
    while (std::size_t bytes = decoder->Read(buffer)) {
      if (bytes > sizeof buffer || bytes % frame_bytes != 0) __builtin_trap();
      given += bytes / frame_bytes;
      total += bytes;
      if (total > kMostBytes) return;
    }
    if (frames > 0 && start + given > frames) __builtin_trap();
  } catch (const vork::SoundError&) {
  }
}

}  // namespace

extern "C" const char* __lsan_default_suppressions() { return "leak:libvorbisfile.so\n"; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;  // fmemopen refuses an empty buffer
  // The last byte picks the resume point; the whole input is the file.
  PlayFrom(data, size, 0);
  PlayFrom(data, size, data[size - 1] * 1000u / 256u);
  return 0;
}
