// The wave layout every voice recording starts from and is saved in.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "media/recording_wave.h"
#include "platform/byte_order.h"

namespace vork {
namespace {

std::uint32_t Word32(const std::string& bytes, std::size_t at) { return ReadLittle32(bytes.data() + at); }
std::uint16_t Word16(const std::string& bytes, std::size_t at) { return ReadLittle16(bytes.data() + at); }

TEST(RecordingWave, TheTemplateIsTheFixed112ByteMonoFile) {
  const std::string file = RecordingTemplate();
  ASSERT_EQ(file.size(), 112u);
  EXPECT_EQ(file.substr(0, 4), "RIFF");
  EXPECT_EQ(Word32(file, 4), 104u);
  EXPECT_EQ(file.substr(8, 8), "WAVEfmt ");
  EXPECT_EQ(Word32(file, 16), 16u);
  EXPECT_EQ(Word16(file, 20), 1u);       // PCM
  EXPECT_EQ(Word16(file, 22), 1u);       // mono
  EXPECT_EQ(Word32(file, 24), 22050u);   // samples per second
  EXPECT_EQ(Word32(file, 28), 44100u);   // bytes per second
  EXPECT_EQ(Word16(file, 32), 2u);       // block alignment
  EXPECT_EQ(Word16(file, 34), 16u);      // bits per sample
  EXPECT_EQ(file.substr(36, 4), "data");
  EXPECT_EQ(Word32(file, 40), 68u);
  const std::int16_t samples[34] = {-2, -3, 0, -1, -1, -1, -3, -1, -2, -3, 0, -1, -2, 0, -1, 0, 0,
                                    -2, -2, -3, -1, -2, 0,  2,  -2, -2, 0, 0,  0,  0, -3, -2, 0, -1};
  for (std::size_t i = 0; i < 34; ++i) {
    EXPECT_EQ(static_cast<std::int16_t>(Word16(file, 44 + 2 * i)), samples[i]) << "sample " << i;
  }
}

TEST(RecordingWave, TheHeaderCountsTheSamplesThatFollow) {
  for (std::uint32_t data : {0u, 2u, 44100u, kMostRecordingBytes}) {
    SCOPED_TRACE(data);
    const std::string header = RecordingWaveHeader(data);
    ASSERT_EQ(header.size(), kWaveHeaderBytes);
    EXPECT_EQ(Word32(header, 4), 36u + data);
    EXPECT_EQ(Word32(header, 40), data);
    EXPECT_EQ(header.substr(0, 36), RecordingTemplate().substr(0, 36).replace(4, 4, header.substr(4, 4)));
  }
  // The largest take still gives sizes that a signed 32-bit reader accepts.
  EXPECT_LE(36u + kMostRecordingBytes, 0x7FFFFFFFu);
}

// Played-back recordings keep the layout they were decoded in, so the rates
// and frame sizes must follow the arguments, not the recording layout.
TEST(RecordingWave, AnyLayoutGetsItsOwnRatesAndFrameSize) {
  struct Case {
    int channels, rate, bits;
    std::uint32_t byte_rate, frame;
  } cases[] = {{2, 44100, 16, 176400, 4}, {1, 8000, 8, 8000, 1}, {2, 11025, 8, 22050, 2}, {6, 48000, 16, 576000, 12}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.channels) + " channels, " + std::to_string(c.bits) + " bits");
    const std::string header = WaveHeader(c.channels, c.rate, c.bits, 1000);
    ASSERT_EQ(header.size(), kWaveHeaderBytes);
    EXPECT_EQ(header.substr(0, 4) + header.substr(8, 8) + header.substr(36, 4), "RIFFWAVEfmt data");
    EXPECT_EQ(Word32(header, 4), 1036u);
    EXPECT_EQ(Word16(header, 20), 1u);  // PCM
    EXPECT_EQ(Word16(header, 22), c.channels);
    EXPECT_EQ(Word32(header, 24), static_cast<std::uint32_t>(c.rate));
    EXPECT_EQ(Word32(header, 28), c.byte_rate);
    EXPECT_EQ(Word16(header, 32), c.frame);
    EXPECT_EQ(Word16(header, 34), c.bits);
    EXPECT_EQ(Word32(header, 40), 1000u);
  }
}

}  // namespace
}  // namespace vork
