#pragma once
// Sounds made by the tests themselves: tones, their Ogg Vorbis and wave
// encodings, and a reference decode done with vorbisfile directly.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vork::testing {

// Interleaved 16-bit samples of a cosine tone; channel c sounds at
// (1 + c / 2) times `frequency`, so swapped or merged channels show.
std::vector<std::int16_t> Tone(int rate, int channels, double seconds, double frequency = 220.0,
                               double amplitude = 0.5);

std::string EncodeVorbis(const std::vector<std::int16_t>& samples, int rate, int channels, float quality = 0.0f);
// `bits` 8 (unsigned) or 16; a canonical 44-byte header.
std::string EncodeWave(const std::vector<std::int16_t>& samples, int rate, int channels, int bits);

struct DecodedSound {
  int rate = 0;
  int channels = 0;
  std::vector<std::int16_t> samples;  // interleaved
};
// Decodes a whole Ogg Vorbis file the straightforward way (ov_fopen, every link).
DecodedSound DecodeVorbisFile(const std::string& path);

void WriteFile(const std::filesystem::path& path, const std::string& bytes);
std::string ReadFile(const std::filesystem::path& path);

// A fresh folder under the temp directory, removed with everything in it.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace vork::testing
