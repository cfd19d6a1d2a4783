#include <gtest/gtest.h>

#include "media/oggaudio/sound_fixtures.h"
#include "media/oggaudio/oggaudio.h"
#include "media/oggaudio/sound_decoder.h"
#include "media/oggaudio/sound_error.h"

namespace vork {
namespace {

using testing::TempDir;

struct Decoded {
  PcmFormat format;
  std::vector<std::int16_t> samples;
};

Decoded Decode(const SoundLocation& location) {
  std::unique_ptr<SoundDecoder> decoder = OpenVorbisSound(ByteRangeFile::Open(location));
  Decoded decoded{decoder->Format(), {}};
  std::int16_t buffer[700];
  while (std::size_t bytes = decoder->Read(std::as_writable_bytes(std::span(buffer)))) {
    decoded.samples.insert(decoded.samples.end(), buffer, buffer + bytes / 2);
  }
  return decoded;
}

class VorbisDecoder : public ::testing::Test {
 protected:
  std::string Write(const std::string& name, const std::string& bytes) {
    std::string path = (dir_ / name).string();
    testing::WriteFile(path, bytes);
    return path;
  }
  TempDir dir_;
};

TEST_F(VorbisDecoder, GivesWhatVorbisfileGivesForTheWholeFile) {
  struct {
    int rate, channels;
  } layouts[] = {{44100, 2}, {22050, 1}, {8000, 1}};
  for (const auto& layout : layouts) {
    SCOPED_TRACE(std::to_string(layout.rate) + " Hz, " + std::to_string(layout.channels) + " channels");
    std::string path = Write("tone.ogg", testing::EncodeVorbis(testing::Tone(layout.rate, layout.channels, 0.4),
                                                               layout.rate, layout.channels));
    Decoded decoded = Decode({path});
    EXPECT_EQ(decoded.format.type, SampleType::kSigned16Little);
    EXPECT_EQ(decoded.format.rate, layout.rate);
    EXPECT_EQ(decoded.format.channels, layout.channels);
    EXPECT_EQ(decoded.samples, testing::DecodeVorbisFile(path).samples);
    EXPECT_NEAR(static_cast<double>(decoded.samples.size()) / layout.channels, 0.4 * layout.rate, 1.0);
  }
}

// The sound in an archive is followed by other data, here another Ogg stream:
// read past its range, it would chain on and play the next sound too.
TEST_F(VorbisDecoder, PlaysOnlyItsRangeInsideAnArchive) {
  std::string sound = testing::EncodeVorbis(testing::Tone(44100, 2, 0.3), 44100, 2);
  std::string next = testing::EncodeVorbis(testing::Tone(44100, 2, 0.5, 330.0), 44100, 2);
  std::string junk(777, '\x5a');
  std::string archive = Write("course.vka", junk + sound + next);
  std::string alone = Write("alone.ogg", sound);

  Decoded decoded = Decode({archive, true, junk.size(), sound.size()});
  EXPECT_EQ(decoded.samples, testing::DecodeVorbisFile(alone).samples);
}

TEST_F(VorbisDecoder, AChainPlaysOnUntilItsLayoutChanges) {
  std::string first = testing::EncodeVorbis(testing::Tone(44100, 2, 0.3), 44100, 2);
  std::string sameLayout = testing::EncodeVorbis(testing::Tone(44100, 2, 0.2, 330.0), 44100, 2);
  std::string otherRate = testing::EncodeVorbis(testing::Tone(22050, 2, 0.2), 22050, 2);
  std::string otherChannels = testing::EncodeVorbis(testing::Tone(44100, 1, 0.2), 44100, 1);
  auto framesOf = [](const Decoded& d) { return d.samples.size() / static_cast<std::size_t>(d.format.channels); };

  EXPECT_NEAR(framesOf(Decode({Write("same.ogg", first + sameLayout)})), 0.5 * 44100, 2.0);
  EXPECT_NEAR(framesOf(Decode({Write("rate.ogg", first + otherRate + sameLayout)})), 0.3 * 44100, 2.0);
  EXPECT_NEAR(framesOf(Decode({Write("channels.ogg", first + otherChannels)})), 0.3 * 44100, 2.0);
}

TEST_F(VorbisDecoder, RefusesDataThatIsNotOggVorbis) {
  std::string sound = testing::EncodeVorbis(testing::Tone(22050, 1, 0.3), 22050, 1);
  // Vorbis keeps its three headers (identification, comments, codebooks)
  // within the first few kilobytes.
  struct {
    const char* name;
    std::string bytes;
  } cases[] = {
      {"empty", ""},
      {"garbage", std::string(5000, '\x93')},
      {"a wave file", testing::EncodeWave(testing::Tone(22050, 1, 0.1), 22050, 1, 16)},
      {"cut in the capture pattern", sound.substr(0, 3)},
      {"cut in the identification header", sound.substr(0, 40)},
      {"cut in the codebooks", sound.substr(0, 200)},
      {"cut before the audio", sound.substr(0, 2000)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      Decode({Write("bad.ogg", c.bytes)});
      ADD_FAILURE() << "accepted";
    } catch (const SoundError& error) {
      EXPECT_EQ(error.Code(), OGGAUDIO_ERROR_NOT_A_SOUND);
    }
  }
}

TEST_F(VorbisDecoder, ACutOffSoundPlaysWhatIsThere) {
  std::string sound = testing::EncodeVorbis(testing::Tone(44100, 2, 1.0), 44100, 2);
  std::vector<std::int16_t> whole = testing::DecodeVorbisFile(Write("whole.ogg", sound)).samples;
  // The third page is the first with audio, after the identification and
  // setup headers.
  std::size_t audio = sound.find("OggS", sound.find("OggS", 1) + 1);
  ASSERT_NE(audio, std::string::npos);
  for (std::size_t keep : {(audio + sound.size()) / 2, sound.size() - 1}) {
    SCOPED_TRACE(keep);
    std::vector<std::int16_t> part = Decode({Write("cut.ogg", sound.substr(0, keep))}).samples;
    EXPECT_GT(part.size(), 0u);
    EXPECT_LT(part.size(), whole.size());
    ASSERT_LE(part.size(), whole.size());
    EXPECT_TRUE(std::equal(part.begin(), part.end(), whole.begin()));
  }
}

}  // namespace
}  // namespace vork
