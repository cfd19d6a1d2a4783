// The audio players' choice of engine, their reading of the library's
// answers, and a synchronous play that keeps the event loop running.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>

#include "media/audio_player.h"
#include "media/fake_engines.h"

namespace vork {
namespace {

using testing::FakeEngines;

TKsAudioPlayer PlayerOver(FakeEngines& engines, AudioPlayerRole role) {
  return TKsAudioPlayer(role, [&engines] { return &engines; });
}

TEST(AudioPlayer, ChoosesTheEngineByExtensionAndRole) {
  const std::string archive = "/course/course.vka@1234,5678";
  struct Case {
    std::string location;
    std::string archive_aware;  // the engine call, or "" when refused untouched
    std::string files_only;
  } cases[] = {
      {"/m/hello.wav", "wave /m/hello.wav", "wave /m/hello.wav"},
      {"/m/HELLO.WAV", "wave /m/HELLO.WAV", "wave /m/HELLO.WAV"},
      {"/m/hello.Ogg", "ogg /m/hello.Ogg", "ogg /m/hello.Ogg"},
      {archive, "ogg " + archive, ""},
      // The extension is that of the last path component only.
      {"/m/sounds.wav/readme", "", ""},
      {"/m/hello.mp3", "", ""},
      {"/m/hello", "", ""},
      {"", "", ""},
      // An at-sign anywhere marks an archive location for the archive player.
      {"/m/take@home.mp3", "ogg /m/take@home.mp3", ""},
      {"/m/take@home.wav", "wave /m/take@home.wav", "wave /m/take@home.wav"},
  };
  for (const Case& c : cases) {
    for (AudioPlayerRole role : {AudioPlayerRole::kArchiveAware, AudioPlayerRole::kFilesOnly}) {
      const std::string& expected = role == AudioPlayerRole::kArchiveAware ? c.archive_aware : c.files_only;
      SCOPED_TRACE(c.location + (role == AudioPlayerRole::kArchiveAware ? " (archive player)" : " (file player)"));
      FakeEngines engines;
      TKsAudioPlayer player = PlayerOver(engines, role);
      EXPECT_EQ(player.Play(c.location, false), !expected.empty());
      EXPECT_EQ(engines.calls, expected.empty() ? std::vector<std::string>{} : std::vector<std::string>{expected});
    }
  }
}

TEST(AudioPlayer, AFailedPlayCountsAsPlayedOnlyWithoutAnErrorOrWithoutADevice) {
  struct {
    int error;
    bool played;
  } cases[] = {
      {OGGAUDIO_ERROR_NONE, true},
      {OGGAUDIO_ERROR_NO_AUDIO_OUTPUT, true},  // a machine without sound runs silently
      {OGGAUDIO_ERROR_CANNOT_OPEN, false},
      {OGGAUDIO_ERROR_NOT_A_SOUND, false},
      {OGGAUDIO_ERROR_RANGE_PAST_END, false},
      {OGGAUDIO_ERROR_INTERNAL, false},
  };
  for (const auto& c : cases) {
    for (const char* location : {"a.ogg", "a.wav"}) {
      SCOPED_TRACE(std::string(location) + ", error " + std::to_string(c.error));
      FakeEngines engines;
      engines.answer = false;
      engines.error = c.error;
      engines.polls_while_playing = 1000000;  // a wait would not end
      EXPECT_EQ(PlayerOver(engines, AudioPlayerRole::kArchiveAware).Play(location, true), c.played);
      EXPECT_EQ(engines.polls, 0) << "a sound that did not start is not waited for";
    }
  }
}

TEST(AudioPlayer, WithoutTheLibraryNothingPlays) {
  TKsAudioPlayer player(AudioPlayerRole::kArchiveAware, [] { return nullptr; });
  EXPECT_FALSE(player.Play("a.ogg", true));
  player.Stop();  // nothing to stop, and no crash
}

TEST(AudioPlayer, StopSilencesBothEngines) {
  FakeEngines engines;
  PlayerOver(engines, AudioPlayerRole::kFilesOnly).Stop();
  EXPECT_EQ(engines.calls, (std::vector<std::string>{"stop wave", "stop ogg"}));
}

TEST(AudioPlayerWait, ASynchronousPlayProcessesEventsUntilTheSoundEnds) {
  for (const char* location : {"tick.ogg", "tick.wav"}) {
    SCOPED_TRACE(location);
    FakeEngines engines;
    engines.polls_while_playing = 20;  // some 100 ms at one poll every 5 ms
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(10);
    EXPECT_TRUE(PlayerOver(engines, AudioPlayerRole::kArchiveAware).Play(location, true));
    EXPECT_EQ(engines.polls, 21) << "waits exactly until the engine says it has ended";
    EXPECT_GE(ticks, 2) << "the timer ticked during the sound";

    // Asynchronous: no wait at all.
    engines.polls = 0;
    EXPECT_TRUE(PlayerOver(engines, AudioPlayerRole::kArchiveAware).Play(location, false));
    EXPECT_EQ(engines.polls, 0);
  }
}

TEST(AudioPlayerWait, AnEventThatStopsTheSoundEndsTheWait) {
  FakeEngines engines;
  engines.polls_while_playing = 1000000;
  TKsAudioPlayer player = PlayerOver(engines, AudioPlayerRole::kArchiveAware);
  QTimer::singleShot(30, [&] { player.Stop(); });
  EXPECT_TRUE(player.Play("long.ogg", true));
  EXPECT_EQ(engines.calls, (std::vector<std::string>{"ogg long.ogg", "stop wave", "stop ogg"}));
}

TEST(AudioPlayerWait, LeavingTheEventLoopEndsTheWait) {
  // The course ending during a synchronous sound: exit() ends every
  // running loop, and the player must not go on waiting for the sound.
  FakeEngines engines;
  engines.polls_while_playing = 1000000;
  TKsAudioPlayer player = PlayerOver(engines, AudioPlayerRole::kArchiveAware);
  bool returned = false;
  QTimer::singleShot(0, [&] {
    QTimer::singleShot(30, [] { QCoreApplication::exit(0); });
    player.Play("long.ogg", true);
    returned = true;
  });
  QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });  // a hang fails rather than blocks
  QCoreApplication::exec();
  EXPECT_TRUE(returned);
}

}  // namespace
}  // namespace vork
