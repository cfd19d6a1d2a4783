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

// The wave encodings a course's sounds may use, each written by libsndfile's
// own writer; `bits` is the nominal sample size the encoding stores.
struct WaveEncoding {
  const char* name;
  int subtype;      // libsndfile's SF_FORMAT_* sub-format
  bool monoOnly;    // GSM 6.10 has no stereo in a wave
  bool blockCodec;  // ADPCM and GSM: plain wave headers only, whole blocks
  double tolerance; // how far the decoded tone may stray, of full scale
};
const std::vector<WaveEncoding>& WaveEncodings();
// `samples` encoded as a RIFF wave (WAVE_FORMAT_EXTENSIBLE with `extensible`).
std::string EncodeWaveAs(const WaveEncoding& encoding, const std::vector<std::int16_t>& samples, int rate,
                         int channels, bool extensible = false);

// A tone as heard on one channel of interleaved 16-bit samples: its
// frequency from the rising zero crossings, its level as root mean square.
struct ToneMeasure {
  double frequency = 0;
  double level = 0;
};
ToneMeasure MeasureTone(const std::vector<std::int16_t>& samples, int channels, int channel, int rate);

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
