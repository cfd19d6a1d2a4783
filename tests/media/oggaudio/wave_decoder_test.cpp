#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

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

// The subtype GUID of an extensible header: the format tag, then the fixed
// tail every such GUID shares.
std::string SubFormat(int tag) {
  return Little(static_cast<std::uint32_t>(tag), 4) + std::string("\x00\x00\x10\x00\x80\x00\x00\xaa\x00\x38\x9b\x71", 12);
}

struct Decoded {
  PcmFormat format;
  std::string bytes;
};

std::string ReadToEnd(SoundDecoder& decoder) {
  std::string bytes;
  alignas(8) std::byte buffer[1000];  // not a multiple of every frame size
  while (std::size_t count = decoder.Read(buffer)) {
    EXPECT_EQ(count % static_cast<std::size_t>(decoder.Format().FrameBytes()), 0u);
    bytes.append(reinterpret_cast<const char*>(buffer), count);
  }
  return bytes;
}

std::unique_ptr<SoundDecoder> OpenBytes(const TempDir& dir, const std::string& fileBytes) {
  testing::WriteFile(dir / "sound.wav", fileBytes);
  return OpenWaveSound(ByteRangeFile::Open({(dir / "sound.wav").string()}));
}

Decoded DecodeWave(const std::string& fileBytes) {
  TempDir dir;
  std::unique_ptr<SoundDecoder> decoder = OpenBytes(dir, fileBytes);
  Decoded decoded{decoder->Format(), {}};
  decoded.bytes = ReadToEnd(*decoder);
  return decoded;
}

std::vector<std::int16_t> Samples(const std::string& bytes) {
  std::vector<std::int16_t> samples(bytes.size() / 2);
  std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
  return samples;
}

// Unsigned 8-bit samples as the decoder gives them: 16-bit, 128 as silence.
std::string Widened(const std::string& unsigned8) {
  std::string out;
  for (char c : unsigned8) out += Little(static_cast<std::uint32_t>((static_cast<unsigned char>(c) - 128) * 256), 2);
  return out;
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
       SampleType::kSigned16Little, 1, 8000, Widened(samples)},
      {"format chunk with extra bytes",
       Riff(Chunk("fmt ", FormatBody(1, 1, 22050, 16) + Little(0, 2)) + Chunk("data", samples)),
       SampleType::kSigned16Little, 1, 22050, samples},
      {"extensible header naming PCM",
       Riff(Chunk("fmt ", FormatBody(0xFFFE, 2, 48000, 16) + Little(22, 2) + Little(16, 2) + Little(3, 4) +
                              SubFormat(1)) +
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
      {"an encoding nobody decodes", Riff(Chunk("fmt ", FormatBody(0x1234, 1, 22050, 4)) + data)},
      {"extensible naming an unknown sub-format",
       Riff(Chunk("fmt ", FormatBody(0xFFFE, 1, 22050, 16) + Little(22, 2) + Little(16, 2) + Little(4, 4) +
                              Little(3, 2) + std::string(14, '\x00')) +
            data)},
      {"Ogg Vorbis", testing::EncodeVorbis(testing::Tone(8000, 1, 0.05), 8000, 1)},
      {"a RIFF header on AIFF data", "RIFF" + Little(12, 4) + "WAVE" + std::string("FORM\0\0\0\x04AIFF", 12)},
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

// Every encoding, mono and stereo, plain and extensible, decodes to the tone
// libsndfile's writer was given.
TEST(WaveDecoder, EveryEncodingDecodesToTheSourceTone) {
  constexpr int kRate = 22050;
  for (const testing::WaveEncoding& encoding : testing::WaveEncodings()) {
    for (int channels : {1, 2}) {
      if (channels == 2 && encoding.monoOnly) continue;
      for (bool extensible : {false, true}) {
        if (extensible && encoding.blockCodec) continue;
        SCOPED_TRACE(std::string(encoding.name) + ", " + std::to_string(channels) + " channels" +
                     (extensible ? ", extensible" : ""));
        const std::vector<std::int16_t> tone = testing::Tone(kRate, channels, 0.5, 440.0);
        Decoded decoded = DecodeWave(testing::EncodeWaveAs(encoding, tone, kRate, channels, extensible));
        EXPECT_EQ(decoded.format.type, SampleType::kSigned16Little);
        EXPECT_EQ(decoded.format.channels, channels);
        EXPECT_EQ(decoded.format.rate, kRate);
        const std::vector<std::int16_t> samples = Samples(decoded.bytes);
        // Block codecs fill their last block with silence.
        ASSERT_GE(samples.size(), tone.size());
        EXPECT_LT(samples.size(), tone.size() + 2048u * static_cast<std::size_t>(channels));
        for (int c = 0; c < channels; ++c) {
          const testing::ToneMeasure source = testing::MeasureTone(tone, channels, c, kRate);
          const std::vector<std::int16_t> heard(samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(tone.size()));
          const testing::ToneMeasure measured = testing::MeasureTone(heard, channels, c, kRate);
          EXPECT_NEAR(measured.frequency, source.frequency, source.frequency * 0.005) << "channel " << c;
          EXPECT_NEAR(measured.level, source.level, source.level * std::max(0.02, encoding.tolerance / 2)) << "channel " << c;
        }
        if (encoding.monoOnly) continue;  // a speech coder keeps the tone, not its wave form
        double sum = 0;
        for (std::size_t i = 0; i < tone.size(); ++i) sum += (samples[i] - tone[i]) * double(samples[i] - tone[i]);
        EXPECT_LT(std::sqrt(sum / static_cast<double>(tone.size())), encoding.tolerance * 32767);
      }
    }
  }
}

// A recording resumed from a position plays exactly the samples a play
// from the start would have reached there, in every encoding.
TEST(WaveDecoder, SeekingGivesTheSamplesPlayingThroughWouldGive) {
  constexpr int kRate = 8000;
  TempDir dir;
  for (const testing::WaveEncoding& encoding : testing::WaveEncodings()) {
    const int channels = encoding.monoOnly ? 1 : 2;
    SCOPED_TRACE(encoding.name);
    const std::string file = testing::EncodeWaveAs(encoding, testing::Tone(kRate, channels, 1.0, 330.0), kRate, channels);
    std::unique_ptr<SoundDecoder> decoder = OpenBytes(dir, file);
    const std::string whole = ReadToEnd(*decoder);
    const std::size_t frameBytes = static_cast<std::size_t>(decoder->Format().FrameBytes());
    ASSERT_EQ(decoder->Frames(), whole.size() / frameBytes);
    // Inside a codec block, on a block edge, the last frame, the very end,
    // and back to a point already played.
    for (std::uint64_t frame : {std::uint64_t{1}, std::uint64_t{3001}, std::uint64_t{320}, std::uint64_t{505},
                                decoder->Frames() - 1, decoder->Frames(), std::uint64_t{0}}) {
      SCOPED_TRACE("frame " + std::to_string(frame));
      ASSERT_TRUE(decoder->Seek(frame));
      EXPECT_EQ(ReadToEnd(*decoder), whole.substr(static_cast<std::size_t>(frame) * frameBytes));
    }
    EXPECT_FALSE(decoder->Seek(decoder->Frames() + 1));
  }
}

// A file cut off inside a codec block plays what is there and ends there;
// only the cut block itself may come out differently.
TEST(WaveDecoder, ACutOffFilePlaysWhatIsThere) {
  constexpr int kRate = 8000;
  for (const testing::WaveEncoding& encoding : testing::WaveEncodings()) {
    SCOPED_TRACE(encoding.name);
    const std::vector<std::int16_t> tone = testing::Tone(kRate, 1, 1.0, 330.0);
    const std::string file = testing::EncodeWaveAs(encoding, tone, kRate, 1);
    const std::string whole = DecodeWave(file).bytes;
    const std::string cut = DecodeWave(file.substr(0, file.size() * 2 / 3 + 1)).bytes;
    EXPECT_GT(cut.size(), whole.size() / 2);
    EXPECT_LT(cut.size(), whole.size());
    const std::size_t cutBlock = encoding.blockCodec ? 2048 : 0;
    EXPECT_EQ(cut.substr(0, cut.size() - cutBlock), whole.substr(0, cut.size() - cutBlock));
  }
}

}  // namespace
}  // namespace vork
