// The library loaded as the player loads it, playing through SDL's disk audio
// driver: the "device" writes every buffer it is given to a file of raw
// 16-bit stereo 44.1 kHz samples, at the pace of a real sound card.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <thread>

#include "media/oggaudio/oggaudio_library.h"
#include "media/oggaudio/sound_fixtures.h"

namespace vork {
namespace {

using testing::OggAudioLibrary;
using testing::TempDir;
using Clock = std::chrono::steady_clock;

constexpr int kOutputRate = 44100;
constexpr int kOutputChannels = 2;

// The library's diagnostic log goes to one file for the whole run, set
// before the library first logs.
class LogEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { ::setenv("VORK_LOG", Path().c_str(), 1); }
  void TearDown() override { std::filesystem::remove(Path()); }
  static std::string Path() {
    return (std::filesystem::temp_directory_path() / ("vork-oggaudio-log-" + std::to_string(::getpid()))).string();
  }
};
[[maybe_unused]] ::testing::Environment* const logEnvironment =
    ::testing::AddGlobalTestEnvironment(new LogEnvironment);

std::size_t CountLogLines(const std::string& needle) {
  std::string log = testing::ReadFile(LogEnvironment::Path());
  std::size_t count = 0;
  for (std::size_t at = log.find(needle); at != std::string::npos; at = log.find(needle, at + 1)) ++count;
  return count;
}

double Seconds(Clock::duration duration) { return std::chrono::duration<double>(duration).count(); }

using Samples = std::vector<std::int16_t>;

std::size_t FirstSoundingFrame(const Samples& samples) {
  for (std::size_t i = 0; i < samples.size(); ++i) {
    if (samples[i] != 0) return i / kOutputChannels;
  }
  return samples.size() / kOutputChannels;
}

std::size_t EndOfSound(const Samples& samples) {
  for (std::size_t i = samples.size(); i > 0; --i) {
    if (samples[i - 1] != 0) return (i - 1) / kOutputChannels + 1;
  }
  return 0;
}

// From the first frame that is not silence to the last.
Samples Sounding(const Samples& samples) {
  return Samples(samples.begin() + static_cast<std::ptrdiff_t>(FirstSoundingFrame(samples) * kOutputChannels),
                 samples.begin() + static_cast<std::ptrdiff_t>(
                                       std::max(EndOfSound(samples), FirstSoundingFrame(samples)) * kOutputChannels));
}

class DiskOutput : public ::testing::Test {
 protected:
  void SetUp() override { UseNewOutputFile(); }
  void TearDown() override { lib_.OggShutdown(); }

  // Closes the output (so the next play opens it anew) and points the disk
  // driver at a fresh file.
  void UseNewOutputFile() {
    lib_.OggShutdown();
    output_ = (dir_ / ("output" + std::to_string(outputs_++) + ".raw")).string();
    ::setenv("SDL_AUDIODRIVER", "disk", 1);
    ::setenv("SDL_DISKAUDIOFILE", output_.c_str(), 1);
  }

  // Everything the device was given; closes the output so the file is whole.
  Samples Output() {
    lib_.OggShutdown();
    std::string bytes = testing::ReadFile(output_);
    Samples samples(bytes.size() / 2);
    // A sound with nothing left to play leaves the device nothing at all.
    if (!samples.empty()) std::memcpy(samples.data(), bytes.data(), samples.size() * 2);
    return samples;
  }

  // Frames the disk driver has written so far (it writes whole buffers).
  std::uintmax_t OutputFrames() {
    std::error_code error;
    std::uintmax_t bytes = std::filesystem::file_size(output_, error);
    return error ? 0 : bytes / (2 * kOutputChannels);
  }
  // Waits until the device has taken `frames`, however slowly a loaded
  // machine runs its audio thread; false after 10 s.
  bool WaitForOutput(double frames) {
    Clock::time_point start = Clock::now();
    while (static_cast<double>(OutputFrames()) < frames) {
      if (Seconds(Clock::now() - start) > 10) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
  }

  std::string Write(const std::string& name, const std::string& bytes) {
    std::string path = (dir_ / name).string();
    testing::WriteFile(path, bytes);
    return path;
  }
  std::string WriteOgg(const std::string& name, double seconds, int rate = 44100, int channels = 2) {
    return Write(name, testing::EncodeVorbis(testing::Tone(rate, channels, seconds), rate, channels));
  }
  std::string WriteWave(const std::string& name, double seconds, int rate = 44100, int channels = 2) {
    return Write(name, testing::EncodeWave(testing::Tone(rate, channels, seconds), rate, channels, 16));
  }

  OggAudioLibrary& lib_ = OggAudioLibrary::Shared();
  TempDir dir_;
  std::string output_;
  int outputs_ = 0;
};

TEST(OggAudioLibrary, LoadsWithDlopenAndAnswersRevisionFour) {
  OggAudioLibrary library(OGGAUDIO_LIBRARY);  // throws if an entry point is missing
  EXPECT_EQ(library.OggGetRev(), 4);
  // Only the C entry points are visible: the library's copy of our C++ code
  // must not stand in for the player's own.
  EXPECT_EQ(::dlsym(library.handle, "_ZN4vork13DiagnosticLogESt17basic_string_viewIcSt11char_traitsIcEE"), nullptr);
}

TEST_F(DiskOutput, OggPlaysFromAFileAndFromARangeInsideAnArchive) {
  std::string sound = testing::EncodeVorbis(testing::Tone(44100, 2, 0.4), 44100, 2);
  std::string next = testing::EncodeVorbis(testing::Tone(44100, 2, 0.4, 440.0), 44100, 2);
  std::string junk(1234, '\x7f');
  std::string plain = Write("hello.ogg", sound);
  std::string archive = Write("course@2.vka", junk + sound + next);
  Samples expected = Sounding(testing::DecodeVorbisFile(plain).samples);
  ASSERT_GT(expected.size(), 30000u);

  const std::string locations[] = {
      plain,
      archive + "@" + std::to_string(junk.size()) + "," + std::to_string(sound.size()),
  };
  for (const std::string& location : locations) {
    SCOPED_TRACE(location);
    UseNewOutputFile();
    ASSERT_EQ(lib_.OggPlaySound(location.c_str(), -1, 0, 0, 0, 0), 1);
    EXPECT_EQ(lib_.OggGetError(), OGGAUDIO_ERROR_NONE);
    // Same rate and layout as the output: the samples arrive unchanged.
    EXPECT_EQ(Sounding(Output()), expected);
  }
}

// Expected output at frame i of a wave sound made by testing::Tone, after
// conversion to 16-bit stereo at 44.1 kHz.
double ExpectedToneSample(int channels, std::size_t frame, int outputChannel) {
  int channel = channels == 1 ? 0 : outputChannel;
  double f = 220.0 * (1.0 + channel / 2.0);
  return 0.5 * 32767.0 * std::cos(2.0 * 3.14159265358979 * f * static_cast<double>(frame) / kOutputRate);
}

// Root-mean-square distance from the tone, at the best alignment within a
// few frames (a resampler may shift the start slightly).
double ToneError(const Samples& sound, int channels) {
  double best = 1e9;
  for (int shift = -40; shift <= 40; ++shift) {
    double sum = 0;
    std::size_t count = 0;
    for (std::size_t i = 100; i + 100 < sound.size() / kOutputChannels; ++i) {
      std::ptrdiff_t frame = static_cast<std::ptrdiff_t>(i) + shift;
      for (int c = 0; c < kOutputChannels; ++c) {
        double d = sound[i * kOutputChannels + static_cast<std::size_t>(c)] -
                   ExpectedToneSample(channels, static_cast<std::size_t>(frame), c);
        sum += d * d;
        ++count;
      }
    }
    if (count) best = std::min(best, std::sqrt(sum / static_cast<double>(count)));
  }
  return best;
}

TEST_F(DiskOutput, WaveSoundsAreConvertedToTheOutputFormat) {
  struct {
    int rate, channels, bits;
  } layouts[] = {{44100, 2, 16}, {22050, 1, 8}, {48000, 1, 16}, {11025, 2, 8}, {8000, 2, 16}};
  const double seconds = 0.4;
  for (const auto& layout : layouts) {
    SCOPED_TRACE(std::to_string(layout.rate) + " Hz, " + std::to_string(layout.channels) + " channels, " +
                 std::to_string(layout.bits) + " bits");
    Samples tone = testing::Tone(layout.rate, layout.channels, seconds);
    std::string path = Write("tone.wav", testing::EncodeWave(tone, layout.rate, layout.channels, layout.bits));
    UseNewOutputFile();
    ASSERT_EQ(lib_.WavPlaySound(path.c_str(), 1), 1);
    Samples sound = Sounding(Output());
    EXPECT_NEAR(static_cast<double>(sound.size()) / kOutputChannels, seconds * kOutputRate, 150.0);
    if (layout.rate == kOutputRate && layout.channels == 2 && layout.bits == 16) {
      EXPECT_EQ(sound, Sounding(tone));
    } else {
      EXPECT_LT(ToneError(sound, layout.channels), 0.02 * 32767);  // 2 % of full scale
    }
  }
}

// The output from `from` seconds on, `seconds` long: clear of the edges,
// where a resampler starts up and a codec's last block is filled up.
Samples Middle(const Samples& sound, double from, double seconds) {
  const auto first = static_cast<std::size_t>(from * kOutputRate) * kOutputChannels;
  const auto count = static_cast<std::size_t>(seconds * kOutputRate) * kOutputChannels;
  if (first >= sound.size()) return {};
  return Samples(sound.begin() + static_cast<std::ptrdiff_t>(first),
                 sound.begin() + static_cast<std::ptrdiff_t>(std::min(sound.size(), first + count)));
}

// Every wave encoding a course may hold, written by libsndfile's own writer,
// played through the library to the disk device: the tone arrives at its
// frequency and level on each channel. Prints the table of what it measured.
TEST_F(DiskOutput, EveryWaveEncodingReachesTheDeviceAsTheSourceTone) {
  constexpr int kRate = 22050;
  constexpr double kFrequency = 440.0;
  std::printf("%-16s %-7s %12s %12s %12s %12s\n", "encoding", "layout", "source Hz", "device Hz", "source RMS",
              "device RMS");
  for (const testing::WaveEncoding& encoding : testing::WaveEncodings()) {
    for (int channels : {1, 2}) {
      if (channels == 2 && encoding.monoOnly) continue;
      SCOPED_TRACE(std::string(encoding.name) + ", " + std::to_string(channels) + " channels");
      const Samples tone = testing::Tone(kRate, channels, 0.6, kFrequency);
      const std::string path = Write("tone.wav", testing::EncodeWaveAs(encoding, tone, kRate, channels));
      UseNewOutputFile();
      ASSERT_EQ(lib_.WavPlaySound(path.c_str(), 1), 1) << lib_.OggGetError();
      const Samples sound = Sounding(Output());
      // A block codec's last block is filled up past the tone (one block at most).
      const double blockSeconds = encoding.blockCodec ? 0.06 : 0.0;
      EXPECT_NEAR(static_cast<double>(sound.size()) / kOutputChannels, 0.6 * kOutputRate + blockSeconds / 2 * kOutputRate,
                  (0.01 + blockSeconds / 2) * kOutputRate);
      for (int c = 0; c < kOutputChannels; ++c) {
        const int sourceChannel = channels == 1 ? 0 : c;
        const testing::ToneMeasure source = testing::MeasureTone(tone, channels, sourceChannel, kRate);
        const testing::ToneMeasure device = testing::MeasureTone(Middle(sound, 0.05, 0.5), kOutputChannels, c, kOutputRate);
        std::printf("%-16s %-7s %12.2f %12.2f %12.1f %12.1f\n", encoding.name,
                    (std::string(channels == 1 ? "mono" : "stereo") + (c ? "/R" : "/L")).c_str(), source.frequency,
                    device.frequency, source.level, device.level);
        EXPECT_NEAR(device.frequency, source.frequency, source.frequency * 0.005) << "channel " << c;
        EXPECT_NEAR(device.level, source.level, source.level * 0.05) << "channel " << c;
      }
    }
  }
}

// A recording resumed in the middle: the device gets the sound from there
// on, whether it is a wave in any encoding, inside an archive, or Ogg.
TEST_F(DiskOutput, ARecordingPlaysFromAPositionOn) {
  constexpr int kRate = 22050;
  // One second at 300 Hz, then one at 900 Hz: what sounds tells where it started.
  const auto twoTones = [](int rate) {
    Samples sound = testing::Tone(rate, 1, 1.0, 300.0);
    const Samples second = testing::Tone(rate, 1, 1.0, 900.0);
    sound.insert(sound.end(), second.begin(), second.end());
    return sound;
  };
  const Samples sound = twoTones(kRate);
  const std::string ima = testing::EncodeWaveAs(testing::WaveEncodings()[5], sound, kRate, 1);
  const std::string junk(777, '\x55');
  const std::string archive = Write("course.vka", junk + ima);
  const struct {
    const char* what;
    std::string location;
  } cases[] = {
      {"PCM", Write("pcm.wav", testing::EncodeWave(sound, kRate, 1, 16))},
      {"IMA ADPCM in an archive", archive + "@" + std::to_string(junk.size()) + "," + std::to_string(ima.size())},
      {"GSM 6.10", Write("gsm.wav", testing::EncodeWaveAs(testing::WaveEncodings()[9], twoTones(8000), 8000, 1))},
      {"Ogg Vorbis", Write("talk.ogg", testing::EncodeVorbis(sound, kRate, 1))},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    UseNewOutputFile();
    ASSERT_EQ(lib_.WavPlaySoundFrom(c.location.c_str(), 1250, 1), 1) << lib_.OggGetError();
    const Samples heard = Sounding(Output());
    EXPECT_NEAR(static_cast<double>(heard.size()) / kOutputChannels, 0.75 * kOutputRate, 0.05 * kOutputRate);
    EXPECT_NEAR(testing::MeasureTone(Middle(heard, 0.02, 0.6), kOutputChannels, 0, kOutputRate).frequency, 900.0, 4.5);
  }
  // At or past the end there is nothing left to play, which is no failure.
  UseNewOutputFile();
  EXPECT_EQ(lib_.WavPlaySoundFrom(cases[0].location.c_str(), 2000, 1), 1);
  EXPECT_EQ(lib_.OggGetError(), OGGAUDIO_ERROR_NONE);
  EXPECT_EQ(EndOfSound(Output()), 0u);
  // A damaged recording fails as any sound does.
  EXPECT_EQ(lib_.WavPlaySoundFrom(Write("junk.wav", std::string(500, '\x11')).c_str(), 0, 1), 0);
  EXPECT_EQ(lib_.OggGetError(), OGGAUDIO_ERROR_NOT_A_SOUND);
}

enum class Engine { kOgg, kWave };

class Engines : public DiskOutput {
 protected:
  int Play(Engine engine, const std::string& location, bool wait) {
    return engine == Engine::kOgg ? lib_.OggPlaySound(location.c_str(), wait ? -1 : 0, 0, 0, 0, 0)
                                  : lib_.WavPlaySound(location.c_str(), wait ? -1 : 0);
  }
  bool IsPlaying(Engine engine) { return (engine == Engine::kOgg ? lib_.OggIsPlaying() : lib_.WavIsPlaying()) != 0; }
  std::string Sound(Engine engine, double seconds) {
    return engine == Engine::kOgg ? WriteOgg("sound.ogg", seconds) : WriteWave("sound.wav", seconds);
  }
};

TEST_F(Engines, SynchronousPlayLastsTheSoundAndAsynchronousReturnsAtOnce) {
  const double seconds = 0.8;
  for (Engine engine : {Engine::kOgg, Engine::kWave}) {
    SCOPED_TRACE(engine == Engine::kOgg ? "Ogg" : "wave");
    std::string sound = Sound(engine, seconds);

    Clock::time_point start = Clock::now();
    ASSERT_EQ(Play(engine, sound, true), 1);
    double took = Seconds(Clock::now() - start);
    EXPECT_GT(took, seconds * 0.9);
    EXPECT_LT(took, seconds + 1.5);
    EXPECT_FALSE(IsPlaying(engine));

    start = Clock::now();
    ASSERT_EQ(Play(engine, sound, false), 1);
    EXPECT_LT(Seconds(Clock::now() - start), 0.3);
    EXPECT_TRUE(IsPlaying(engine));
    while (IsPlaying(engine) && Seconds(Clock::now() - start) < 5) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_GT(Seconds(Clock::now() - start), seconds * 0.9);
    EXPECT_FALSE(IsPlaying(engine));
  }
}

TEST_F(Engines, StoppingEitherEngineSilencesBothAtOnce) {
  for (Engine stopper : {Engine::kOgg, Engine::kWave}) {
    SCOPED_TRACE(stopper == Engine::kOgg ? "OggStopSound" : "WavStopSound");
    std::string ogg = Sound(Engine::kOgg, 5.0);
    std::string wave = Sound(Engine::kWave, 5.0);
    UseNewOutputFile();
    ASSERT_EQ(Play(Engine::kOgg, ogg, false), 1);
    ASSERT_EQ(Play(Engine::kWave, wave, false), 1);
    ASSERT_TRUE(WaitForOutput(0.3 * kOutputRate)) << "the output does not advance";
    EXPECT_TRUE(IsPlaying(Engine::kOgg));
    EXPECT_TRUE(IsPlaying(Engine::kWave));

    EXPECT_EQ(stopper == Engine::kOgg ? lib_.OggStopSound(0) : lib_.WavStopSound(), 1);
    const std::uintmax_t writtenAtStop = OutputFrames();
    EXPECT_FALSE(IsPlaying(Engine::kOgg));
    EXPECT_FALSE(IsPlaying(Engine::kWave));
    ASSERT_TRUE(WaitForOutput(static_cast<double>(writtenAtStop) + 0.3 * kOutputRate));

    // Beyond what the device had been given when the stop came, at most the
    // buffer being filled and the one being written may still sound.
    Samples output = Output();
    ASSERT_LT(FirstSoundingFrame(output), EndOfSound(output)) << "nothing sounded";
    EXPECT_LT(EndOfSound(output), writtenAtStop + 3 * 1024);
  }
}

TEST_F(Engines, AWaitingPlayReturnsWhenStoppedOrReplacedFromAnotherThread) {
  std::string longSound = Sound(Engine::kOgg, 3.0);
  std::string shortSound = WriteOgg("short.ogg", 0.1);
  // The output is opened on this thread, as the player opens it on its main
  // thread: SDL keeps per-thread data for the thread that starts it, which a
  // thread of ours would leave behind when it ends.
  ASSERT_EQ(Play(Engine::kOgg, shortSound, true), 1);
  for (bool replace : {false, true}) {
    SCOPED_TRACE(replace ? "replaced" : "stopped");
    int answer = 0;
    Clock::time_point start = Clock::now();
    std::thread waiting([&] { answer = Play(Engine::kOgg, longSound, true); });
    while (!IsPlaying(Engine::kOgg) && Seconds(Clock::now() - start) < 2) std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    if (replace) {
      EXPECT_EQ(Play(Engine::kOgg, shortSound, false), 1);
    } else {
      EXPECT_EQ(lib_.OggStopSound(0), 1);
    }
    waiting.join();
    EXPECT_LT(Seconds(Clock::now() - start), 1.5);
    EXPECT_EQ(answer, 1);
  }
}

TEST_F(Engines, MalformedSoundsAnswerAnErrorCode) {
  std::string ogg = testing::EncodeVorbis(testing::Tone(22050, 1, 0.3), 22050, 1);
  std::string wave = testing::EncodeWave(testing::Tone(22050, 1, 0.3), 22050, 1, 16);
  std::string oggPath = Write("good.ogg", ogg);
  std::string wavePath = Write("good.wav", wave);
  std::string archive = Write("course.vka", "junk" + ogg + wave);
  std::string size = std::to_string(std::filesystem::file_size(archive));
  struct {
    Engine engine;
    std::string location;
    int error;
  } cases[] = {
      {Engine::kOgg, "", OGGAUDIO_ERROR_BAD_LOCATION},
      {Engine::kWave, "", OGGAUDIO_ERROR_BAD_LOCATION},
      {Engine::kOgg, archive + "@1,99999999999999999999", OGGAUDIO_ERROR_BAD_LOCATION},
      {Engine::kOgg, (dir_ / "missing.ogg").string(), OGGAUDIO_ERROR_CANNOT_OPEN},
      {Engine::kWave, dir_.Path().string(), OGGAUDIO_ERROR_CANNOT_OPEN},
      {Engine::kOgg, archive + "@4," + size, OGGAUDIO_ERROR_RANGE_PAST_END},
      {Engine::kWave, archive + "@" + size + ",1", OGGAUDIO_ERROR_RANGE_PAST_END},
      {Engine::kOgg, archive + "@0,0", OGGAUDIO_ERROR_NOT_A_SOUND},
      {Engine::kOgg, archive + "@5," + std::to_string(ogg.size() - 1), OGGAUDIO_ERROR_NOT_A_SOUND},  // first page cut
      {Engine::kOgg, Write("garbage.ogg", std::string(3000, '\x11')), OGGAUDIO_ERROR_NOT_A_SOUND},
      {Engine::kWave, Write("garbage.wav", std::string(3000, '\x11')), OGGAUDIO_ERROR_NOT_A_SOUND},
      {Engine::kOgg, Write("cut.ogg", ogg.substr(0, 100)), OGGAUDIO_ERROR_NOT_A_SOUND},
      {Engine::kWave, Write("cut.wav", wave.substr(0, 30)), OGGAUDIO_ERROR_NOT_A_SOUND},
      {Engine::kOgg, wavePath, OGGAUDIO_ERROR_NOT_A_SOUND},
      {Engine::kWave, oggPath, OGGAUDIO_ERROR_NOT_A_SOUND},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.location);
    EXPECT_EQ(Play(c.engine, c.location, true), 0);
    EXPECT_EQ(lib_.OggGetError(), c.error);
  }
  EXPECT_EQ(lib_.OggPlaySound(nullptr, 0, 0, 0, 0, 0), 0);
  EXPECT_EQ(lib_.OggGetError(), OGGAUDIO_ERROR_BAD_LOCATION);

  // A good sound afterwards plays and clears the error.
  std::string inArchive = archive + "@4," + std::to_string(ogg.size());
  EXPECT_EQ(Play(Engine::kOgg, inArchive, false), 1);
  EXPECT_EQ(lib_.OggGetError(), OGGAUDIO_ERROR_NONE);
}

TEST_F(Engines, WithoutAnAudioDeviceSoundsFailAndTheLogSaysSoOnce) {
  std::string ogg = Sound(Engine::kOgg, 0.2);
  std::string wave = Sound(Engine::kWave, 0.2);
  ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  std::size_t before = CountLogLines("no audio output");
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(Play(Engine::kOgg, ogg, true), 0);
    EXPECT_EQ(lib_.OggGetError(), OGGAUDIO_ERROR_NO_AUDIO_OUTPUT);
    EXPECT_EQ(Play(Engine::kWave, wave, false), 0);
    EXPECT_EQ(lib_.OggGetError(), OGGAUDIO_ERROR_NO_AUDIO_OUTPUT);
  }
  EXPECT_EQ(CountLogLines("no audio output"), before + 1);
  // A bad file is still reported as such.
  EXPECT_EQ(Play(Engine::kOgg, wave, false), 0);
  EXPECT_EQ(lib_.OggGetError(), OGGAUDIO_ERROR_NOT_A_SOUND);

  // Shutting down forgets the failure: a device that appears is used.
  UseNewOutputFile();
  EXPECT_EQ(Play(Engine::kOgg, ogg, false), 1);
}

TEST_F(DiskOutput, OpensTheOutputOnFirstPlayWithASmallBufferAndLogsIt) {
  std::size_t before = CountLogLines("audio output opened");
  std::string sound = WriteWave("click.wav", 0.05);
  EXPECT_EQ(CountLogLines("audio output opened"), before) << "nothing opened before a sound plays";
  ASSERT_EQ(lib_.WavPlaySound(sound.c_str(), 1), 1);
  EXPECT_EQ(CountLogLines("audio output opened"), before + 1);
  EXPECT_EQ(CountLogLines("44100 Hz, 2 channels, buffer of 1024 sample frames = 23 ms"), before + 1);
}

// SDL's default handlers would swallow SIGTERM (turning it into a quit event
// nobody reads), and the player could then no longer be ended from outside.
TEST_F(DiskOutput, AfterTheOutputIsOpenSigtermStillEndsTheProcess) {
  std::string sound = WriteWave("long.wav", 3.0);
  lib_.OggShutdown();  // no audio thread may be running across the fork
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::setenv("SDL_DISKAUDIOFILE", "/dev/null", 1);
    char answer = lib_.WavPlaySound(sound.c_str(), 0) ? '1' : '0';
    (void)!::write(ready[1], &answer, 1);
    ::sleep(5);
    ::_exit(0);
  }
  char answer = 0;
  ASSERT_EQ(::read(ready[0], &answer, 1), 1);
  EXPECT_EQ(answer, '1');
  ::kill(child, SIGTERM);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << "status " << status;
  ::close(ready[0]);
  ::close(ready[1]);
}

}  // namespace
}  // namespace vork
