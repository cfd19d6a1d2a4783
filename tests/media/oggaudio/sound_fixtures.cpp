#include "media/oggaudio/sound_fixtures.h"

#include <unistd.h>
#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>
#include <sndfile.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <cmath>
#include <fstream>
#include <numbers>
#include <sstream>
#include <stdexcept>

namespace vork::testing {

std::vector<std::int16_t> Tone(int rate, int channels, double seconds, double frequency, double amplitude) {
  const std::size_t frames = static_cast<std::size_t>(seconds * rate);
  std::vector<std::int16_t> samples(frames * static_cast<std::size_t>(channels));
  for (std::size_t i = 0; i < frames; ++i) {
    for (int c = 0; c < channels; ++c) {
      double f = frequency * (1.0 + c / 2.0);
      double value = amplitude * std::cos(2.0 * std::numbers::pi * f * static_cast<double>(i) / rate);
      samples[i * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c)] =
          static_cast<std::int16_t>(std::lround(value * 32767.0));
    }
  }
  return samples;
}

namespace {

// Small pages, as a longer sound would have many: cut-off and chained files
// then end or change in the middle of the audio.
constexpr int kPageBytes = 512;

void AppendPages(ogg_stream_state& stream, std::string& out, bool flush) {
  ogg_page page;
  while (flush ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout_fill(&stream, &page, kPageBytes)) {
    out.append(reinterpret_cast<const char*>(page.header), static_cast<std::size_t>(page.header_len));
    out.append(reinterpret_cast<const char*>(page.body), static_cast<std::size_t>(page.body_len));
  }
}

void DrainEncoder(vorbis_dsp_state& dsp, vorbis_block& block, ogg_stream_state& stream, std::string& out) {
  while (vorbis_analysis_blockout(&dsp, &block) == 1) {
    vorbis_analysis(&block, nullptr);
    vorbis_bitrate_addblock(&block);
    ogg_packet packet;
    while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
      ogg_stream_packetin(&stream, &packet);
      AppendPages(stream, out, false);
    }
  }
}

}  // namespace

std::string EncodeVorbis(const std::vector<std::int16_t>& samples, int rate, int channels, float quality) {
  // Each stream gets its own serial number, so encodings can be chained.
  static std::atomic<int> serial{1000};
  vorbis_info info;
  vorbis_info_init(&info);
  if (vorbis_encode_init_vbr(&info, channels, rate, quality) != 0) throw std::runtime_error("vorbis_encode_init_vbr");
  vorbis_comment comment;
  vorbis_comment_init(&comment);
  vorbis_dsp_state dsp;
  vorbis_analysis_init(&dsp, &info);
  vorbis_block block;
  vorbis_block_init(&dsp, &block);
  ogg_stream_state stream;
  ogg_stream_init(&stream, serial++);

  std::string out;
  ogg_packet header, commentHeader, codebooks;
  vorbis_analysis_headerout(&dsp, &comment, &header, &commentHeader, &codebooks);
  ogg_stream_packetin(&stream, &header);
  ogg_stream_packetin(&stream, &commentHeader);
  ogg_stream_packetin(&stream, &codebooks);
  AppendPages(stream, out, true);  // audio starts on a page of its own

  const std::size_t frames = samples.size() / static_cast<std::size_t>(channels);
  constexpr std::size_t kChunk = 1024;
  for (std::size_t start = 0; start < frames; start += kChunk) {
    std::size_t count = std::min(kChunk, frames - start);
    float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(count));
    for (std::size_t i = 0; i < count; ++i) {
      for (int c = 0; c < channels; ++c) {
        buffer[c][i] = samples[(start + i) * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c)] / 32768.0f;
      }
    }
    vorbis_analysis_wrote(&dsp, static_cast<int>(count));
    DrainEncoder(dsp, block, stream, out);
  }
  vorbis_analysis_wrote(&dsp, 0);
  DrainEncoder(dsp, block, stream, out);
  AppendPages(stream, out, true);

  ogg_stream_clear(&stream);
  vorbis_block_clear(&block);
  vorbis_dsp_clear(&dsp);
  vorbis_comment_clear(&comment);
  vorbis_info_clear(&info);
  return out;
}

namespace {

void Put16(std::string& out, std::uint32_t value) {
  out.push_back(static_cast<char>(value & 0xFF));
  out.push_back(static_cast<char>(value >> 8 & 0xFF));
}

void Put32(std::string& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

}  // namespace

std::string EncodeWave(const std::vector<std::int16_t>& samples, int rate, int channels, int bits) {
  const std::uint32_t bytesPerSample = static_cast<std::uint32_t>(bits / 8);
  const std::uint32_t dataSize = static_cast<std::uint32_t>(samples.size()) * bytesPerSample;
  std::string out = "RIFF";
  Put32(out, 36 + dataSize);
  out += "WAVEfmt ";
  Put32(out, 16);
  Put16(out, 1);
  Put16(out, static_cast<std::uint32_t>(channels));
  Put32(out, static_cast<std::uint32_t>(rate));
  Put32(out, static_cast<std::uint32_t>(rate * channels) * bytesPerSample);
  Put16(out, static_cast<std::uint32_t>(channels) * bytesPerSample);
  Put16(out, static_cast<std::uint32_t>(bits));
  out += "data";
  Put32(out, dataSize);
  for (std::int16_t sample : samples) {
    if (bits == 8) {
      out.push_back(static_cast<char>((sample >> 8) + 128));
    } else {
      Put16(out, static_cast<std::uint16_t>(sample));
    }
  }
  return out;
}

const std::vector<WaveEncoding>& WaveEncodings() {
  // Tolerances: the lossless ones only round; the adaptive ones lag on the
  // first cycles; GSM is a speech coder and keeps the tone, not its shape.
  static const std::vector<WaveEncoding> encodings = {
      {"PCM 8-bit", SF_FORMAT_PCM_U8, false, false, 0.01},
      {"PCM 16-bit", SF_FORMAT_PCM_16, false, false, 0.001},
      {"PCM 24-bit", SF_FORMAT_PCM_24, false, false, 0.001},
      {"PCM 32-bit", SF_FORMAT_PCM_32, false, false, 0.001},
      {"IEEE float", SF_FORMAT_FLOAT, false, false, 0.001},
      {"IMA ADPCM", SF_FORMAT_IMA_ADPCM, false, true, 0.05},
      {"Microsoft ADPCM", SF_FORMAT_MS_ADPCM, false, true, 0.05},
      {"mu-law", SF_FORMAT_ULAW, false, false, 0.02},
      {"A-law", SF_FORMAT_ALAW, false, false, 0.02},
      {"GSM 6.10", SF_FORMAT_GSM610, true, true, 0.5},
  };
  return encodings;
}

namespace {

// libsndfile writing into a string.
struct MemoryFile {
  std::string bytes;
  sf_count_t position = 0;
};

MemoryFile& Memory(void* data) { return *static_cast<MemoryFile*>(data); }

sf_count_t MemoryLength(void* data) { return static_cast<sf_count_t>(Memory(data).bytes.size()); }

sf_count_t MemorySeek(sf_count_t offset, int whence, void* data) {
  MemoryFile& file = Memory(data);
  sf_count_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? file.position : MemoryLength(data);
  file.position = std::max<sf_count_t>(0, base + offset);
  return file.position;
}

sf_count_t MemoryRead(void* buffer, sf_count_t count, void* data) {
  MemoryFile& file = Memory(data);
  const sf_count_t left = std::max<sf_count_t>(0, MemoryLength(data) - file.position);
  const sf_count_t taken = std::min(count, left);
  std::memcpy(buffer, file.bytes.data() + file.position, static_cast<std::size_t>(taken));
  file.position += taken;
  return taken;
}

sf_count_t MemoryWrite(const void* buffer, sf_count_t count, void* data) {
  MemoryFile& file = Memory(data);
  const auto end = static_cast<std::size_t>(file.position + count);
  if (file.bytes.size() < end) file.bytes.resize(end);
  std::memcpy(file.bytes.data() + file.position, buffer, static_cast<std::size_t>(count));
  file.position += count;
  return count;
}

sf_count_t MemoryTell(void* data) { return Memory(data).position; }

}  // namespace

std::string EncodeWaveAs(const WaveEncoding& encoding, const std::vector<std::int16_t>& samples, int rate,
                         int channels, bool extensible) {
  SF_VIRTUAL_IO io{MemoryLength, MemorySeek, MemoryRead, MemoryWrite, MemoryTell};
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = channels;
  info.format = (extensible ? SF_FORMAT_WAVEX : SF_FORMAT_WAV) | encoding.subtype;
  MemoryFile file;
  SNDFILE* sound = sf_open_virtual(&io, SFM_WRITE, &info, &file);
  if (!sound) throw std::runtime_error(std::string("libsndfile cannot write ") + encoding.name + ": " + sf_strerror(nullptr));
  const auto frames = static_cast<sf_count_t>(samples.size() / static_cast<std::size_t>(channels));
  const sf_count_t written = sf_writef_short(sound, samples.data(), frames);
  sf_close(sound);
  if (written != frames) throw std::runtime_error(std::string("libsndfile wrote too little ") + encoding.name);
  return file.bytes;
}

ToneMeasure MeasureTone(const std::vector<std::int16_t>& samples, int channels, int channel, int rate) {
  const std::size_t frames = samples.size() / static_cast<std::size_t>(channels);
  const auto at = [&](std::size_t frame) {
    return static_cast<double>(samples[frame * static_cast<std::size_t>(channels) + static_cast<std::size_t>(channel)]);
  };
  ToneMeasure measure;
  if (frames < 2) return measure;
  double sum = 0;
  for (std::size_t i = 0; i < frames; ++i) sum += at(i) * at(i);
  measure.level = std::sqrt(sum / static_cast<double>(frames));
  // Whole cycles between the first and the last rising crossing, with the
  // crossing points interpolated between samples.
  double first = -1, last = -1;
  int cycles = -1;
  for (std::size_t i = 1; i < frames; ++i) {
    if (at(i - 1) < 0 && at(i) >= 0) {
      const double point = static_cast<double>(i - 1) + -at(i - 1) / (at(i) - at(i - 1));
      if (first < 0) first = point;
      last = point;
      ++cycles;
    }
  }
  if (cycles > 0) measure.frequency = cycles * static_cast<double>(rate) / (last - first);
  return measure;
}

DecodedSound DecodeVorbisFile(const std::string& path) {
  OggVorbis_File file;
  if (ov_fopen(path.c_str(), &file) != 0) throw std::runtime_error("ov_fopen " + path);
  DecodedSound sound;
  sound.rate = static_cast<int>(ov_info(&file, -1)->rate);
  sound.channels = ov_info(&file, -1)->channels;
  std::int16_t buffer[4096];
  int link = 0;
  for (;;) {
    long bytes = ov_read(&file, reinterpret_cast<char*>(buffer), sizeof buffer, 0, 2, 1, &link);
    if (bytes == OV_HOLE) continue;
    if (bytes <= 0) break;
    sound.samples.insert(sound.samples.end(), buffer, buffer + bytes / 2);
  }
  ov_clear(&file);
  return sound;
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  path_ = std::filesystem::temp_directory_path() /
          ("vork-oggaudio-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(path_);
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace vork::testing
