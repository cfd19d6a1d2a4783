#include "media/recording_wave.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/byte_order.h"
#include "platform/errors.h"

namespace vork {

namespace {

constexpr int kChannels = 1;
constexpr int kBitsPerSample = 16;

constexpr std::array<std::int16_t, 34> kTemplateSamples = {
    -2, -3, 0, -1, -1, -1, -3, -1, -2, -3, 0, -1, -2, 0, -1, 0, 0,
    -2, -2, -3, -1, -2, 0, 2, -2, -2, 0, 0, 0, 0, -3, -2, 0, -1};

std::string ErrnoText() { return std::strerror(errno); }

}  // namespace

std::string WaveHeader(int channels, int rate, int bits, std::uint32_t data_bytes) {
  const auto frame = static_cast<std::uint32_t>(channels * (bits / 8));
  std::string header = "RIFF";
  AppendLittleEndian(header, 36 + data_bytes, 4);
  header += "WAVEfmt ";
  AppendLittleEndian(header, 16, 4);
  AppendLittleEndian(header, 1, 2);  // PCM
  AppendLittleEndian(header, static_cast<std::uint32_t>(channels), 2);
  AppendLittleEndian(header, static_cast<std::uint32_t>(rate), 4);
  AppendLittleEndian(header, static_cast<std::uint32_t>(rate) * frame, 4);
  AppendLittleEndian(header, frame, 2);
  AppendLittleEndian(header, static_cast<std::uint32_t>(bits), 2);
  header += "data";
  AppendLittleEndian(header, data_bytes, 4);
  return header;
}

std::string RecordingWaveHeader(std::uint32_t data_bytes) {
  return WaveHeader(kChannels, kRecordingRate, kBitsPerSample, data_bytes);
}

std::string RecordingTemplate() {
  std::string file = RecordingWaveHeader(kTemplateSamples.size() * 2);
  for (std::int16_t sample : kTemplateSamples) AppendLittleEndian(file, static_cast<std::uint16_t>(sample), 2);
  return file;
}

void WriteRecordingTemplate(const std::string& path) {
  const std::string bytes = RecordingTemplate();
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw EVkError("Cannot write the recording \"" + path + "\": " + ErrnoText() + ".");
}

void SaveRecording(const std::string& recording, const std::string& target) {
  std::error_code error;
  std::filesystem::copy_file(recording, target, std::filesystem::copy_options::overwrite_existing, error);
  if (error) throw EVkError("Cannot save the recording as \"" + target + "\": " + error.message() + ".");
}

}  // namespace vork
