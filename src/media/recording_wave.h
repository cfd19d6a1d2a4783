#pragma once
// The wave layout of the learner's voice recordings: 22,050 Hz mono 16-bit
// PCM behind a canonical 44-byte header. Every take starts from a fixed
// 112-byte file of that layout (34 near-silent samples), which the
// recording then replaces.

#include <cstddef>
#include <cstdint>
#include <string>

namespace vork {

inline constexpr int kRecordingRate = 22050;
inline constexpr std::size_t kWaveHeaderBytes = 44;
// RIFF sizes are 32 bits, and many readers take them as signed: a take
// stops growing below 2 GiB (about 13 hours).
inline constexpr std::uint32_t kMostRecordingBytes = (0x7FFFFFFFu - 36u) & ~1u;

// The canonical 44-byte header of a PCM wave holding `data_bytes` bytes of
// interleaved samples of `bits` bits (8 or 16).
std::string WaveHeader(int channels, int rate, int bits, std::uint32_t data_bytes);

// The recording layout's header for `data_bytes` bytes of samples.
std::string RecordingWaveHeader(std::uint32_t data_bytes);

// The 112-byte file every take starts from.
std::string RecordingTemplate();

// Replaces the content of `path` with the template. Raises EVkError naming
// the file when it cannot be written.
void WriteRecordingTemplate(const std::string& path);

// Copies the finished recording to `target` (replacing it). Raises EVkError
// naming the target when it cannot be written.
void SaveRecording(const std::string& recording, const std::string& target);

}  // namespace vork
