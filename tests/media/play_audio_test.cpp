// PlayAudio on a real stage with the real sound library (output to SDL's
// disk driver): reports on the stage's overlay, the stage disabled with the
// hourglass during a synchronous sound, and a caller or stage that goes away
// while the sound plays.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QCursor>
#include <QTimer>
#include <chrono>
#include <stdexcept>

#include "bridge/object_manager.h"
#include "bridge/script_object.h"
#include "media/oggaudio/sound_fixtures.h"
#include "media/play_audio.h"
#include "media/sound_library.h"
#include "platform/program_location.h"
#include "scene/background.h"
#include "scene/view.h"
#include "resources/res_manager.h"
#include "support/test_machine.h"

namespace vork {
namespace {

using Clock = std::chrono::steady_clock;

// The course folder and a stage that a test may delete, made before the
// machine that is given the stage.
struct SoundStage {
  testing::TempDir dir_;
  QPointer<TVkView> view_ = new TVkView(nullptr, QSize(320, 240));
};

class PlayAudioTest : public ::testing::Test, protected SoundStage, public testing::TestMachine {
 protected:
  PlayAudioTest() : TestMachine(view_.data()) {}

  void SetUp() override {
    ::setenv("SDL_AUDIODRIVER", "disk", 1);
    ::setenv("SDL_DISKAUDIOFILE", (dir_ / "output.raw").c_str(), 1);
    std::filesystem::create_directory(dir_ / "media");
    testing::WriteFile(dir_ / "media" / "beep.wav",
                       testing::EncodeWave(testing::Tone(22050, 1, 0.3), 22050, 1, 16));
    testing::WriteFile(dir_ / "media" / "broken.wav", std::string(500, '\x11'));
    SetProgramPath((dir_ / "course.vkbc").string());
    ResManager().SetMediaDirectory((dir_ / "media").string());
    ASSERT_EQ(LoadSoundLibrary(OGGAUDIO_DIRECTORY), "");
    host.sound = LoadedSoundLibrary();
    manager->RegisterClass<TVkScriptObject>(3);
    caller_ = manager->CreateObject(3);
  }
  void TearDown() override {
    manager.reset();
    delete view_.data();
  }

  TVkScriptObject& Caller() { return dynamic_cast<TVkScriptObject&>(*manager->Find(caller_)); }
  TBackground& Stage() {
    TVkView* view = view_.data();
    if (!view || !view->Background()) throw std::logic_error("the stage is gone");
    return *view->Background();
  }

  int32_t caller_ = 0;
};

TEST_F(PlayAudioTest, MissingAndUnplayableSoundsAreReportedOnTheStage) {
  struct {
    const char* name;
    const char* report;  // "" when the sound plays
  } cases[] = {
      {"missing.aud", "Audio \"missing.aud\" (\"missing.ogg\" or \"missing.wav\") not found."},
      {"!missing.aud", "Audio \"missing.aud\" (\"missing.ogg\" or \"missing.wav\") not found."},
      {"broken.aud", "Audio \"broken.aud\" (\"broken.ogg\" or \"broken.wav\") found but could not be played."},
      {"!broken.aud", "Audio \"broken.aud\" (\"broken.ogg\" or \"broken.wav\") found but could not be played."},
      {"beep.aud", ""},
      {"beep.img", "Audio \"beep.img\" (\"beep.ogg\" or \"beep.wav\") not found."},
      {"", "Audio \"\" (\".ogg\" or \".wav\") not found."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const int32_t counter = Stage().Overlay().Counter();
    PlayAudio(Caller(), c.name);
    if (*c.report == '\0') {
      EXPECT_EQ(Stage().Overlay().Counter(), counter);
    } else {
      ASSERT_EQ(Stage().Overlay().Counter(), counter + 1);
      // The overlay numbers its lines.
      EXPECT_NE(Stage().Overlay().Lines().back().text.find(c.report), std::string::npos)
          << Stage().Overlay().Lines().back().text;
      EXPECT_EQ(Stage().Overlay().Lines().back().kind, 1);
    }
  }
}

TEST_F(PlayAudioTest, ASynchronousSoundDisablesTheStageWithTheHourglassUntilItEnds) {
  bool enabled_during = true;
  Qt::CursorShape cursor_during = Qt::ArrowCursor;
  QTimer::singleShot(100, [&] {
    enabled_during = Stage().isEnabled();
    if (QApplication::overrideCursor()) cursor_during = QApplication::overrideCursor()->shape();
  });
  const Clock::time_point start = Clock::now();
  PlayAudio(Caller(), "!beep.aud");
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(250)) << "returned before the sound's end";
  EXPECT_FALSE(enabled_during);
  EXPECT_EQ(cursor_during, Qt::WaitCursor);
  EXPECT_TRUE(Stage().isEnabled());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(PlayAudioTest, TheCallerAndTheStageMayGoWhileASynchronousSoundPlays) {
  QTimer::singleShot(50, [&] {
    manager->SendMsg(caller_, CommonMessage::Destroy);
    delete view_.data();
  });
  PlayAudio(Caller(), "!beep.aud");
  EXPECT_FALSE(manager->IsLive(caller_));
  EXPECT_TRUE(view_.isNull());
}

}  // namespace
}  // namespace vork
