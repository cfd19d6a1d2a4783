// The learner's sound level: kept in the player's settings, heard by the
// sound library (through SDL's disk audio driver, sample by sample) and by
// libmpv.

#include <gtest/gtest.h>
#include <dlfcn.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "media/oggaudio/oggaudio_library.h"
#include "media/oggaudio/sound_fixtures.h"
#include "players/media_engine.h"
#include "media/sound_level.h"

namespace vork {
namespace {

TEST(SoundLevel, IsKeptAcrossRunsAndBadValuesFallBack) {
  testing::TempDir dir;
  const std::string path = (dir / "sound.ini").string();
  EXPECT_EQ(LoadSoundLevel(path), SoundLevel{});  // no file yet: full volume, not muted

  SaveSoundLevel(path, {30, true});
  EXPECT_EQ(LoadSoundLevel(path), (SoundLevel{30, true}));

  struct Case {
    const char* text;
    SoundLevel level;
  };
  const Case cases[] = {
      {"[Sound]\nVolume=250\nMuted=1\n", {100, true}},
      {"[sound]\nvolume=-4\n", {0, false}},
      {"[Sound]\nVolume=loud\nMuted=yes\n", {100, false}},
      {"[Sound]\nVolume=55%\n", {100, false}},
      {"garbage\x01\x02", {100, false}},
  };
  for (const Case& c : cases) {
    std::ofstream(path, std::ios::trunc) << c.text;
    EXPECT_EQ(LoadSoundLevel(path), c.level) << c.text;
  }
}

TEST(SoundLevel, StepsStayWithinRangeAndUnmute) {
  EXPECT_EQ((SoundLevel{100, false}.Stepped(1)), (SoundLevel{100, false}));
  EXPECT_EQ((SoundLevel{5, false}.Stepped(-1)), (SoundLevel{0, false}));
  EXPECT_EQ((SoundLevel{50, true}.Stepped(-1)), (SoundLevel{40, false}));
  EXPECT_EQ((SoundLevel{50, true}).Effective(), 0);
}

TEST(SoundVolume, ListenersHearTheLevelAtOnceAndEveryChangeUntilTheyLeave) {
  SoundVolume::Set({70, false});
  std::vector<int> heard;
  const int ticket = SoundVolume::Listen([&heard](int effective) { heard.push_back(effective); });
  SoundVolume::Set({70, true});
  SoundVolume::Set({20, false});
  SoundVolume::Unlisten(ticket);
  SoundVolume::Set({90, false});
  EXPECT_EQ(heard, (std::vector<int>{70, 0, 20}));
  SoundVolume::Set({});
}

// The sound library at a volume: the same wave played at 100, 50 and 0.
TEST(SoundLevel, TheSoundLibraryScalesEverySample) {
  auto& library = testing::OggAudioLibrary::Shared();
  auto set_volume = reinterpret_cast<OggSetVolumeFunction>(::dlsym(library.handle, "OggSetVolume"));
  ASSERT_NE(set_volume, nullptr);
  testing::TempDir dir;
  const std::string wave = (dir / "tone.wav").string();
  testing::WriteFile(wave, testing::EncodeWave(testing::Tone(44100, 2, 0.2), 44100, 2, 16));

  auto play_at = [&](int volume) {
    library.OggShutdown();
    const std::string raw = (dir / ("out" + std::to_string(volume))).string();
    ::setenv("SDL_AUDIODRIVER", "disk", 1);
    ::setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
    set_volume(volume);
    EXPECT_EQ(library.WavPlaySound(wave.c_str(), 1), 1);
    library.OggShutdown();
    const std::string bytes = testing::ReadFile(raw);
    std::vector<int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
  };
  // The device's output starts whenever its thread first runs: compare from
  // the first sample of each (the tone starts at its loudest).
  auto sounding = [](const std::vector<int16_t>& samples) {
    size_t first = 0;
    while (first < samples.size() && samples[first] == 0) ++first;
    return std::vector<int16_t>(samples.begin() + static_cast<std::ptrdiff_t>(first), samples.end());
  };
  const auto full = sounding(play_at(100));
  const auto half = sounding(play_at(50));
  const auto silent = sounding(play_at(0));
  set_volume(100);
  ::setenv("SDL_AUDIODRIVER", "dummy", 1);

  // 0.2 s of stereo at 44.1 kHz.
  ASSERT_GE(full.size(), 17640u);
  ASSERT_GE(half.size(), 17640u);
  EXPECT_TRUE(silent.empty());
  for (size_t i = 0; i < 17640; ++i) ASSERT_NEAR(half[i], full[i] / 2.0, 1.0) << "sample " << i;
  EXPECT_GT(std::abs(full[0]), 16000);  // there was a sound to scale
}

TEST(SoundLevel, MediaPlayersFollowTheLevelWhileTheyLive) {
  SoundVolume::Set({60, false});
  MediaEngine engine(true);
  EXPECT_DOUBLE_EQ(engine.Volume(), 60);
  SoundVolume::Set({60, true});
  EXPECT_DOUBLE_EQ(engine.Volume(), 0);
  SoundVolume::Set({80, false});
  EXPECT_DOUBLE_EQ(engine.Volume(), 80);
  SoundVolume::Set({});
}

}  // namespace
}  // namespace vork
