// The audio recorder object recording through SDL's disk driver, whose
// "microphone" reads raw samples from the file SDL_DISKAUDIOFILEIN at the
// pace of a real device; and StopAllMedia reaching the recorder and the
// media players.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <optional>
#include <thread>

#include "bridge/bridge_fixture.h"
#include "media/oggaudio/sound_fixtures.h"
#include "media/audio_recorder_object.h"
#include "media/play_audio.h"
#include "media/recording_wave.h"
#include "media/stoppable_media.h"
#include "platform/errors.h"

namespace vork {
namespace {

namespace fs = std::filesystem;
using Samples = std::vector<std::int16_t>;

constexpr int32_t kRecorderClass = 21;

class RecorderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* tmpdir = std::getenv("TMPDIR");
    if (tmpdir) saved_tmpdir_ = tmpdir;
    ::setenv("TMPDIR", dir_.Path().c_str(), 1);
    ::setenv("SDL_AUDIODRIVER", "disk", 1);
    ::setenv("SDL_DISKAUDIOFILE", (dir_ / "output.raw").c_str(), 1);
    ::setenv("SDL_DISKAUDIOFILEIN", (dir_ / "microphone.raw").c_str(), 1);
    Speak({});
    f_.manager->RegisterClass(kRecorderClass,
                              [](TVkObjectManager&) { return std::make_unique<TVkAudioRecorderObject>(); });
  }

  // The folder goes when the test ends; later tests need a temp folder.
  void TearDown() override {
    if (saved_tmpdir_) ::setenv("TMPDIR", saved_tmpdir_->c_str(), 1);
    else ::unsetenv("TMPDIR");
  }

  // What the microphone will hear: these samples, then silence.
  void Speak(const Samples& samples) {
    testing::WriteFile(dir_ / "microphone.raw",
                       std::string(reinterpret_cast<const char*>(samples.data()), samples.size() * 2));
  }

  int32_t NewRecorder() { return f_.manager->CreateObject(kRecorderClass); }
  TVkAudioRecorderObject& Recorder(int32_t handle) {
    return dynamic_cast<TVkAudioRecorderObject&>(*f_.manager->Find(handle));
  }
  void Start(int32_t recorder) { f_.manager->SendMsg(recorder, ToWord(AudioRecorderMessage::Start)); }
  void Stop(int32_t recorder, const std::string& target) {
    f_.stack.Push(f_.NewString(target));
    f_.manager->SendMsg(recorder, ToWord(AudioRecorderMessage::Stop));
  }

  // The takes waiting in the temporary folder.
  std::vector<std::string> Takes() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir_.Path())) {
      const std::string name = entry.path().filename().string();
      if (name.starts_with("~") && name.ends_with(".wav")) names.push_back(entry.path().string());
    }
    return names;
  }

  // Waits until the take holds `bytes` of samples, however slowly a loaded
  // machine runs SDL's capture thread; false after 10 s.
  static bool WaitForRecorded(const std::string& take, std::uintmax_t bytes) {
    const auto start = std::chrono::steady_clock::now();
    std::error_code error;
    while (fs::file_size(take, error) < kWaveHeaderBytes + bytes || error) {
      if (std::chrono::steady_clock::now() - start > std::chrono::seconds(10)) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
  }

  std::optional<std::string> saved_tmpdir_;
  testing::TempDir dir_;
  BridgeFixture f_;
};

TEST_F(RecorderTest, ATakeIsSavedInTheRecordingLayoutWithTheSamplesHeard) {
  const Samples voice = testing::Tone(kRecordingRate, 1, 0.2, 330.0);
  Speak(voice);
  const int32_t recorder = NewRecorder();
  Start(recorder);
  ASSERT_TRUE(Recorder(recorder).Recording());
  const std::string take = Recorder(recorder).TempFile();
  ASSERT_EQ(Takes(), std::vector<std::string>{take});
  // Past the voice, into the silence that follows it.
  ASSERT_TRUE(WaitForRecorded(take, voice.size() * 2 + 4096)) << "the capture does not advance";

  const std::string target = (dir_ / "answer.wav").string();
  Stop(recorder, target);
  EXPECT_FALSE(Recorder(recorder).Recording());
  EXPECT_TRUE(Takes().empty()) << "nothing is left but the saved file";

  const std::string saved = testing::ReadFile(target);
  ASSERT_GE(saved.size(), kWaveHeaderBytes + voice.size() * 2);
  const std::size_t data = saved.size() - kWaveHeaderBytes;
  EXPECT_EQ(data % 2, 0u);
  EXPECT_EQ(saved.substr(0, kWaveHeaderBytes), RecordingWaveHeader(static_cast<std::uint32_t>(data)));
  Samples samples(data / 2);
  std::memcpy(samples.data(), saved.data() + kWaveHeaderBytes, data);
  EXPECT_EQ(Samples(samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(voice.size())), voice);
  EXPECT_EQ(Samples(samples.begin() + static_cast<std::ptrdiff_t>(voice.size()), samples.end()),
            Samples(samples.size() - voice.size(), 0))
      << "silence after the voice";
}

TEST_F(RecorderTest, StartingAgainDiscardsTheFirstTake) {
  const int32_t recorder = NewRecorder();
  Start(recorder);
  const std::string first = Recorder(recorder).TempFile();
  Start(recorder);
  const std::string second = Recorder(recorder).TempFile();
  EXPECT_NE(first, second);
  EXPECT_EQ(Takes(), std::vector<std::string>{second});
  EXPECT_TRUE(Recorder(recorder).Recording());

  // An empty target stops and discards.
  Stop(recorder, "");
  EXPECT_FALSE(Recorder(recorder).Recording());
  EXPECT_TRUE(Takes().empty());
}

TEST_F(RecorderTest, StopAllMediaEndsATakeAndTheNextStopSavesNothing) {
  const int32_t recorder = NewRecorder();
  Start(recorder);
  StopAllMedia(*f_.manager);
  EXPECT_FALSE(Recorder(recorder).Recording());
  const std::string target = (dir_ / "answer.wav").string();
  Stop(recorder, target);
  EXPECT_FALSE(fs::exists(target));
  EXPECT_TRUE(Takes().empty());
}

TEST_F(RecorderTest, ARecorderDestroyedDuringATakeLeavesNoFile) {
  const int32_t recorder = NewRecorder();
  Start(recorder);
  ASSERT_EQ(Takes().size(), 1u);
  f_.manager->SendMsg(recorder, CommonMessage::Destroy);
  EXPECT_TRUE(Takes().empty());
}

TEST_F(RecorderTest, ARecordingThatCannotBeWrittenWhereAskedFailsNamingTheTarget) {
  const int32_t recorder = NewRecorder();
  Start(recorder);
  const std::string target = (dir_ / "no-such-folder" / "answer.wav").string();
  try {
    Stop(recorder, target);
    ADD_FAILURE() << "no error";
  } catch (const EVkError& error) {
    EXPECT_NE(std::string(error.what()).find(target), std::string::npos) << error.what();
  }
  EXPECT_FALSE(Recorder(recorder).Recording());
  EXPECT_TRUE(Takes().empty());
}

TEST_F(RecorderTest, WithoutARecordingDeviceStartFailsWithTheDeviceText) {
  ::setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  const int32_t recorder = NewRecorder();
  try {
    Start(recorder);
    ADD_FAILURE() << "no error";
  } catch (const EVkError& error) {
    EXPECT_NE(std::string(error.what()).find("no-such-driver"), std::string::npos) << error.what();
  }
  EXPECT_FALSE(Recorder(recorder).Recording());
  // The device appearing later is used.
  ::setenv("SDL_AUDIODRIVER", "disk", 1);
  Start(recorder);
  EXPECT_TRUE(Recorder(recorder).Recording());
  f_.manager->SendMsg(recorder, CommonMessage::Destroy);
  EXPECT_TRUE(Takes().empty());
}

// A stand-in for a media player of any class.
class FakeMedia : public TVkScriptObject, public StoppableMedia {
 public:
  explicit FakeMedia(std::vector<int32_t>& stopped) : stopped_(stopped) {}
  void StopMedia() override { stopped_.push_back(ClassIndex()); }

 private:
  std::vector<int32_t>& stopped_;
};

TEST_F(RecorderTest, StopAllMediaReachesTheMediaPlayersAndRecordersOnly) {
  std::vector<int32_t> stopped;
  for (int32_t class_index : {3, 5, 7, 8}) {
    f_.manager->RegisterClass(class_index, [&](TVkObjectManager&) { return std::make_unique<FakeMedia>(stopped); });
    f_.manager->CreateObject(class_index);
  }
  f_.manager->CreateObject(5);
  const int32_t recorder = NewRecorder();
  Start(recorder);
  EXPECT_EQ(stopped, (std::vector<int32_t>{5, 7, 5})) << "a take starts in silence";
  stopped.clear();
  StopAllMedia(*f_.manager);
  EXPECT_EQ(stopped, (std::vector<int32_t>{5, 7, 5}));
  EXPECT_FALSE(Recorder(recorder).Recording());
}

}  // namespace
}  // namespace vork
