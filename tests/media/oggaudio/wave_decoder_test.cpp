#include <gtest/gtest.h>

#include "media/oggaudio/sound_fixtures.h"
#include "media/oggaudio/oggaudio.h"
#include "media/oggaudio/sound_decoder.h"
#include "media/oggaudio/sound_error.h"

namespace vork {
namespace {

using testing::TempDir;

std::string Little(std::uint32_t value, int bytes) {
  std::string out;
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(value >> (8 * i) & 0xFF));
  return out;
}

std::string Chunk(const std::string& id, const std::string& body) {
  std::string out = id + Little(static_cast<std::uint32_t>(body.size()), 4) + body;
  if (body.size() % 2) out.push_back('\0');
  return out;
}

std::string FormatBody(int tag, int channels, int rate, int bits) {
  int block = channels * bits / 8;
  return Little(static_cast<std::uint32_t>(tag), 2) + Little(static_cast<std::uint32_t>(channels), 2) +
         Little(static_cast<std::uint32_t>(rate), 4) + Little(static_cast<std::uint32_t>(rate * block), 4) +
         Little(static_cast<std::uint32_t>(block), 2) + Little(static_cast<std::uint32_t>(bits), 2);
}

std::string Riff(const std::string& chunks) {
  return "RIFF" + Little(static_cast<std::uint32_t>(4 + chunks.size()), 4) + "WAVE" + chunks;
}

struct Decoded {
  PcmFormat format;
  std::string bytes;
};

Decoded DecodeWave(const std::string& fileBytes) {
  TempDir dir;
  testing::WriteFile(dir / "sound.wav", fileBytes);
  std::unique_ptr<SoundDecoder> decoder = OpenWaveSound(ByteRangeFile::Open({(dir / "sound.wav").string()}));
  Decoded decoded{decoder->Format(), {}};
  std::byte buffer[1000];  // not a multiple of every frame size
  while (std::size_t bytes = decoder->Read(buffer)) {
    EXPECT_EQ(bytes % static_cast<std::size_t>(decoded.format.FrameBytes()), 0u);
    decoded.bytes.append(reinterpret_cast<const char*>(buffer), bytes);
  }
  return decoded;
}

TEST(WaveDecoder, FindsTheSamplesPastOtherChunksAndPadding) {
  const std::string samples = "\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x0b\x0c";
  struct {
    const char* name;
    std::string file;
    SampleType type;
    int channels, rate;
    std::string expected;
  } cases[] = {
      {"canonical 16-bit stereo", Riff(Chunk("fmt ", FormatBody(1, 2, 44100, 16)) + Chunk("data", samples)),
       SampleType::kSigned16Little, 2, 44100, samples},
      {"odd-sized chunks before and after the format",
       Riff(Chunk("LIST", "odd") + Chunk("fmt ", FormatBody(1, 1, 8000, 8)) + Chunk("fact", "12345") +
            Chunk("data", samples)),
       SampleType::kUnsigned8, 1, 8000, samples},
      {"format chunk with extra bytes",
       Riff(Chunk("fmt ", FormatBody(1, 1, 22050, 16) + Little(0, 2)) + Chunk("data", samples)),
       SampleType::kSigned16Little, 1, 22050, samples},
      {"extensible header naming PCM",
       Riff(Chunk("fmt ", FormatBody(0xFFFE, 2, 48000, 16) + Little(22, 2) + Little(16, 2) + Little(3, 4) +
                              Little(1, 2) + std::string(14, '\x00')) +
            Chunk("data", samples)),
       SampleType::kSigned16Little, 2, 48000, samples},
      // A recorder cut off mid-write: the sizes claim more than there is;
      // what is there plays, in whole frames.
      {"data size past the end",
       Riff(Chunk("fmt ", FormatBody(1, 2, 11025, 16))) + "data" + Little(100000, 4) + samples + "\x0d",
       SampleType::kSigned16Little, 2, 11025, samples},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Decoded decoded = DecodeWave(c.file);
    EXPECT_EQ(decoded.format.type, c.type);
    EXPECT_EQ(decoded.format.channels, c.channels);
    EXPECT_EQ(decoded.format.rate, c.rate);
    EXPECT_EQ(decoded.bytes, c.expected);
  }
}

TEST(WaveDecoder, RefusesWhatItCannotPlay) {
  const std::string data = Chunk("data", "\x01\x02\x03\x04");
  const std::string format = Chunk("fmt ", FormatBody(1, 1, 22050, 16));
  struct {
    const char* name;
    std::string file;
  } cases[] = {
      {"empty", ""},
      {"not RIFF", "RIFX" + Little(12, 4) + "WAVE" + format + data},
      {"RIFF but not WAVE", "RIFF" + Little(12, 4) + "AVI " + format + data},
      {"no data chunk", Riff(format)},
      {"data before format", Riff(data + format)},
      {"format too short", Riff(Chunk("fmt ", FormatBody(1, 1, 22050, 16).substr(0, 14)) + data)},
      {"format cut off by the end", Riff("fmt " + Little(16, 4) + "\x01\x00")},
      {"chunk size past the end", Riff("LIST" + Little(0xFFFFFFF0u, 4) + format + data)},
      {"float samples", Riff(Chunk("fmt ", FormatBody(3, 1, 22050, 32)) + data)},
      {"compressed", Riff(Chunk("fmt ", FormatBody(2, 1, 22050, 4)) + data)},
      {"extensible float",
       Riff(Chunk("fmt ", FormatBody(0xFFFE, 1, 22050, 16) + Little(22, 2) + Little(16, 2) + Little(4, 4) +
                              Little(3, 2) + std::string(14, '\x00')) +
            data)},
      {"24-bit", Riff(Chunk("fmt ", FormatBody(1, 1, 22050, 24)) + data)},
      {"no channels", Riff(Chunk("fmt ", FormatBody(1, 0, 22050, 16)) + data)},
      {"nine channels", Riff(Chunk("fmt ", FormatBody(1, 9, 22050, 16)) + data)},
      {"rate 0", Riff(Chunk("fmt ", FormatBody(1, 1, 0, 16)) + data)},
      {"rate 1 Hz", Riff(Chunk("fmt ", FormatBody(1, 1, 1, 16)) + data)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      DecodeWave(c.file);
      ADD_FAILURE() << "accepted";
    } catch (const SoundError& error) {
      EXPECT_EQ(error.Code(), OGGAUDIO_ERROR_NOT_A_SOUND);
    }
  }
}

}  // namespace
}  // namespace vork
