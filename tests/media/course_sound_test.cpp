// Whole courses making sound in the real player: what reaches the audio
// device, in which order and for how long, what the recorder saves, and
// what is reported when a sound is missing or there is no device at all.

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

#include "media/player_run.h"
#include "media/recording_wave.h"

namespace vork {
namespace {

using testing::CourseFolder;
using testing::EndOfSound;
using testing::FindSound;
using testing::HoldsWholeSound;
using testing::kOutputChannels;
using testing::kOutputRate;
using testing::PlayerResult;
using testing::Samples;

constexpr std::size_t kNowhere = std::string::npos;

// A 44.1 kHz stereo tone, so that the device gets its samples unchanged.
Samples Tone(double seconds, double frequency) { return testing::Tone(kOutputRate, kOutputChannels, seconds, frequency); }
std::string Wave(const Samples& tone) { return testing::EncodeWave(tone, kOutputRate, kOutputChannels, 16); }
std::string Ogg(const Samples& tone) { return testing::EncodeVorbis(tone, kOutputRate, kOutputChannels); }

// What the device plays for an Ogg sound: the test's own decode of it.
Samples DecodedOgg(const CourseFolder& course, const std::string& bytes) {
  const auto path = course / "decode.ogg";
  testing::WriteFile(path, bytes);
  return testing::Sounding(testing::DecodeVorbisFile(path.string()).samples);
}

double Seconds(std::size_t frames) { return static_cast<double>(frames) / kOutputRate; }

// Every course ends itself; a timeout or a fault box would show here.
void ExpectCleanRun(const PlayerResult& run, const std::string& transcript) {
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.transcript, transcript);
}

TEST(CourseSound, ArchivedOggAndLooseWaveReachTheDeviceWhole) {
  CourseFolder course;
  const std::string greeting = Ogg(Tone(0.5, 330.0));
  const Samples beep = Tone(0.3, 660.0);
  course.Archive({{"greeting.ogg", greeting}});
  course.MediaFile("beep.wav", Wave(beep));
  const PlayerResult run = course.Run(R"(
    void main() { sys.changeScene(play); }
    scene play(phase) {
      if (phase == SHOWN) {
        sys.playSound("!greeting.aud");
        sys.playSound("!Beep.AUD");
        sys.showInfo("played");
        sys.changeScene(0);
      }
    }
  )");
  ExpectCleanRun(run, "info: played\n");
  const Samples decoded = DecodedOgg(course, greeting);
  const std::size_t first = FindSound(run.output, decoded);
  ASSERT_NE(first, kNowhere) << "the archived Ogg sound was not played";
  EXPECT_TRUE(HoldsWholeSound(run.output, decoded, first));
  const std::size_t second = FindSound(run.output, beep, first + decoded.size() / kOutputChannels);
  ASSERT_NE(second, kNowhere) << "the loose wave sound was not played after it";
  EXPECT_TRUE(HoldsWholeSound(run.output, beep, second));
  EXPECT_EQ(run.log.find("Audio \""), std::string::npos) << run.log;
}

// Wave sounds of the courses' era in other encodings than 16-bit PCM:
// loose mu-law and IMA ADPCM sounds both reach the device as their tone,
// with nothing reported.
TEST(CourseSound, CompressedWaveSoundsPlay) {
  CourseFolder course;
  const std::vector<std::int16_t> tone = testing::Tone(22050, 1, 0.4, 550.0);
  const auto encoding = [](const std::string& name) -> testing::WaveEncoding {
    for (const testing::WaveEncoding& known : testing::WaveEncodings()) {
      if (known.name == name) return known;
    }
    throw std::runtime_error("no encoding " + name);
  };
  course.MediaFile("tone.wav", testing::EncodeWaveAs(encoding("mu-law"), tone, 22050, 1));
  course.MediaFile("word.wav", testing::EncodeWaveAs(encoding("IMA ADPCM"), tone, 22050, 1));
  const PlayerResult run = course.Run(R"(
    void main() { sys.changeScene(play); }
    scene play(phase) {
      if (phase == SHOWN) {
        sys.playSound("!tone.aud");
        sys.playSound("!word.aud");
        sys.showInfo("played");
        sys.changeScene(0);
      }
    }
  )");
  ExpectCleanRun(run, "info: played\n");
  EXPECT_EQ(run.log.find("Audio \""), std::string::npos) << run.log;
  const Samples heard = testing::Sounding(run.output);
  // Two sounds of 0.4 s each (the ADPCM one filled up to its last block).
  EXPECT_GT(Seconds(heard.size() / kOutputChannels), 0.79);
  const testing::ToneMeasure source = testing::MeasureTone(tone, 1, 0, 22050);
  for (double from : {0.05, 0.45}) {
    SCOPED_TRACE(from);
    const auto first = static_cast<std::ptrdiff_t>(from * kOutputRate) * kOutputChannels;
    const Samples part(heard.begin() + first, heard.begin() + first + static_cast<std::ptrdiff_t>(0.3 * kOutputRate) * kOutputChannels);
    const testing::ToneMeasure device = testing::MeasureTone(part, kOutputChannels, 0, kOutputRate);
    EXPECT_NEAR(device.frequency, 550.0, 2.0);
    EXPECT_NEAR(device.level, source.level, source.level * 0.05);
  }
}

// The timer ticks from the event loop while the synchronous sound plays,
// and the next sound starts only once the first has been played out (a
// PlayAudio stops whatever still plays, which would cut the first short).
TEST(CourseSound, ASynchronousSoundLastsItsLengthWhileTimersTick) {
  CourseFolder course;
  const std::string long_sound = Ogg(Tone(1.0, 220.0));
  const Samples beep = Tone(0.2, 880.0);
  course.Archive({{"long.ogg", long_sound}});
  course.MediaFile("beep.wav", Wave(beep));
  const PlayerResult run = course.Run(R"(
    Timer ticker;
    word ticks;
    word finish_at;
    void main() { sys.changeScene(play); }
    scene play(phase) {
      if (phase == SHOWN) {
        ticker = sys.newTimer();
        ticker.setInterval(20);
        ticker.setOnTick(tick);
        ticker.start();
        word before = ticks;
        sys.playSound("!long.aud");
        word during = ticks - before;
        sys.playSound("beep.aud");
        if (during >= 5) sys.showInfo("the timer ticked during the sound");
        else sys.showInfo("ticks during the sound: " + during);
        finish_at = ticks + 30;
      }
    }
    void tick(Timer self) {
      ticks += 1;
      if (finish_at != 0 && ticks >= finish_at) {
        self.stop();
        sys.changeScene(0);
      }
    }
  )");
  ExpectCleanRun(run, "info: the timer ticked during the sound\n");
  const Samples decoded = DecodedOgg(course, long_sound);
  const std::size_t first = FindSound(run.output, decoded);
  ASSERT_NE(first, kNowhere);
  EXPECT_TRUE(HoldsWholeSound(run.output, decoded, first)) << "the synchronous sound was cut short";
  const std::size_t second = FindSound(run.output, beep, first + decoded.size() / kOutputChannels);
  ASSERT_NE(second, kNowhere);
  EXPECT_TRUE(HoldsWholeSound(run.output, beep, second));
}

// An Ogg sound plays on while letters are spoken through the wave engine;
// a timer tick stops all media. Both must fall silent at once: the wave
// engine ending lets the letter message return, and the Ogg engine ending
// leaves silence up to the course's end.
TEST(CourseSound, StopAllMediaSilencesBothEnginesAtOnce) {
  CourseFolder course;
  course.Archive({{"long.ogg", Ogg(Tone(5.0, 220.0))}});
  course.MediaFile("say_097.wav", Wave(Tone(5.0, 440.0)));
  const PlayerResult run = course.Run(R"(
    Timer ticker;
    word ticks;
    word finish_at;
    void main() { sys.changeScene(play); }
    scene play(phase) {
      if (phase == SHOWN) {
        ticker = sys.newTimer();
        ticker.setInterval(20);
        ticker.setOnTick(tick);
        ticker.start();
        sys.playSound("long.aud");
        sys.sayLetters("a");
        sys.showInfo("the letters were said");
        finish_at = ticks + 40;
      }
    }
    void tick(Timer self) {
      ticks += 1;
      if (ticks == 15) sys.stopAllMedia();
      if (finish_at != 0 && ticks >= finish_at) {
        self.stop();
        sys.changeScene(0);
      }
    }
  )");
  ExpectCleanRun(run, "info: the letters were said\n");
  const std::size_t end = EndOfSound(run.output);
  const std::size_t total = run.output.size() / kOutputChannels;
  EXPECT_GT(Seconds(end), 0.1) << "nothing sounded before the stop";
  EXPECT_LT(Seconds(end), 4.0) << "a sound played on to its end";
  EXPECT_GT(Seconds(total - end), 0.3) << "no silence after the stop: output " << Seconds(total)
                                       << " s, sound until " << Seconds(end) << " s";
}

TEST(CourseSound, LettersAreSaidInOrderFromTheMediaFolder) {
  CourseFolder course;
  const Samples a = Tone(0.15, 300.0), b = Tone(0.15, 500.0), c = Tone(0.15, 700.0);
  course.MediaFile("say_097.wav", Wave(a));
  course.MediaFile("say_098.wav", Wave(b));
  course.MediaFile("SAY_099.WAV", Wave(c));  // names match without regard to case
  // Normalised to "a b\tac": the space (032) and tab (009) have no sound.
  const PlayerResult run = course.Run(R"(
    void main() {
      sys.sayLetters("  A b\tAc  ");
      sys.showInfo("said");
      sys.changeScene(0);
    }
  )");
  ExpectCleanRun(run, "info: said\n");
  std::size_t at = 0;
  for (const Samples* letter : {&a, &b, &a, &c}) {
    at = FindSound(run.output, *letter, at);
    ASSERT_NE(at, kNowhere);
    EXPECT_TRUE(HoldsWholeSound(run.output, *letter, at));
    at += letter->size() / kOutputChannels;
  }
}

TEST(CourseSound, TheRecorderSavesATakeAndAClickSoundEndsTheNext) {
  CourseFolder course;
  const Samples voice = testing::Tone(22050, 1, 0.1, 330.0);
  course.Microphone(voice);
  course.Archive({{"click.ogg", Ogg(Tone(0.05, 1000.0))}});
  const std::string first = (course / "first.wav").string();
  const std::string second = (course / "second.wav").string();
  const PlayerResult run = course.Run(R"(
    void main() {
      AudioRecorder recorder = sys.newAudioRecorder();
      recorder.start();
      sys.sleep(500);
      recorder.stop(")" + first + R"(");
      recorder.start();
      sys.playSound("click.aud");
      recorder.stop(")" + second + R"(");
      recorder.destroy();
      sys.showInfo("recorded");
      sys.changeScene(0);
    }
  )");
  ExpectCleanRun(run, "info: recorded\n");
  EXPECT_FALSE(std::filesystem::exists(second)) << "the click sound should have ended the take";
  for (const auto& entry : std::filesystem::directory_iterator(course.TempPath()))
    EXPECT_FALSE(entry.path().extension() == ".wav") << "a take was left behind: " << entry.path();

  ASSERT_TRUE(std::filesystem::exists(first));
  const std::string saved = testing::ReadFile(first);
  ASSERT_GT(saved.size(), 44u);
  EXPECT_EQ(saved.substr(0, 44), RecordingWaveHeader(static_cast<std::uint32_t>(saved.size() - 44)));
  // The device runs at its own pace: whatever it took is the voice, then silence.
  Samples samples((saved.size() - 44) / 2);
  std::memcpy(samples.data(), saved.data() + 44, samples.size() * 2);
  ASSERT_FALSE(samples.empty());
  for (std::size_t i = 0; i < samples.size(); ++i) {
    ASSERT_EQ(samples[i], i < voice.size() ? voice[i] : 0) << "sample " << i;
  }
}

TEST(CourseSound, MissingAndUnplayableSoundsAreReportedAndTheCourseGoesOn) {
  CourseFolder course;
  course.MediaFile("broken.wav", std::string(2000, '\x11'));
  const PlayerResult run = course.Run(R"(
    void main() {
      sys.playSound("missing.aud");
      sys.playSound("!broken.aud");
      sys.playSound("!lost\\word.aud");
      sys.showInfo("went on");
      sys.changeScene(0);
    }
  )");
  ExpectCleanRun(run, "info: went on\n");
  for (const char* report : {
           "Audio \"missing.aud\" (\"missing.ogg\" or \"missing.wav\") not found.\n",
           "Audio \"broken.aud\" (\"broken.ogg\" or \"broken.wav\") found but could not be played.\n",
           "Audio \"lost\\word.aud\" (\"lost\\word.ogg\" or \"lost\\word.wav\") not found.\n",
       }) {
    EXPECT_NE(run.log.find(report), std::string::npos) << "no line " << report << "in the log:\n" << run.log;
  }
}

TEST(CourseSound, WithoutAnAudioDeviceCoursesRunSilentlyWithOneLogLine) {
  CourseFolder course;
  course.Archive({{"tone.ogg", Ogg(Tone(0.5, 440.0))}});
  course.MediaFile("beep.wav", Wave(Tone(0.5, 660.0)));
  course.MediaFile("say_097.wav", Wave(Tone(0.5, 660.0)));
  const PlayerResult run = course.Run(R"(
    void main() {
      sys.playSound("!tone.aud");
      sys.playSound("tone.aud");
      sys.playSound("!beep.aud");
      sys.sayLetters("aa");
      sys.showInfo("done");
      sys.changeScene(0);
    }
  )", {"SDL_AUDIODRIVER=no-such-driver"});
  ExpectCleanRun(run, "info: done\n");
  std::size_t lines = 0;
  for (std::size_t at = run.log.find("no audio output"); at != std::string::npos;
       at = run.log.find("no audio output", at + 1)) {
    ++lines;
  }
  EXPECT_EQ(lines, 1u) << run.log;
  EXPECT_EQ(run.log.find("could not be played"), std::string::npos) << run.log;
}

}  // namespace
}  // namespace vork
