// The dictation control as the learner uses it: which buttons a setup shows,
// what counts as writing, the expected text shown beside the learner's, and
// playing, pausing (two seconds back), the end of the recording and going
// back to its beginning. No sound library is loaded, so the player's clock
// alone moves the recording on, and a test clock drives it.

#include "exercises/dictation/dictor.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <string>

#include "archives/ark_writer.h"
#include "archives/file_stream.h"
#include "media/fake_engines.h"
#include "media/oggaudio/sound_fixtures.h"
#include "platform/errors.h"
#include "platform/program_location.h"
#include "platform/qt/qt_text.h"
#include "resources/res_manager.h"
#include "support/test_host.h"

namespace vork {
namespace {

using testing::TempDir;

constexpr int kRecordingSeconds = 12;
const char kExpected[] = "Der Hund   bellt laut.\r\n  Die Katze schlaeft.\r\n";

std::string StripBitmap() {
  QImage strip(200, 40, QImage::Format_RGB32);
  strip.fill(Qt::darkCyan);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  strip.save(&buffer, "BMP");
  return bytes.toStdString();
}

// One course folder for the program: the resource manager is made once.
class CourseFolder {
 public:
  static CourseFolder& Get() {
    static CourseFolder folder;
    return folder;
  }
  std::string Recording() const { return (dir_ / "recording.wav").string(); }

 private:
  CourseFolder() {
    SetProgramPath((dir_ / "course.vkbc").string());
    TKsArkWriter archive(
        std::make_shared<TKsFileStream>((dir_ / "course.vka").string(), TKsFileStream::Mode::Create), 0);
    archive.Add("start.txt", "Notes:");
    archive.Add("instructions.txt", "Write down\r\nwhat you hear.");
    archive.Add("expected.txt", kExpected);
    archive.Add("strip.bmp", StripBitmap());
    archive.Add("talk.ogg", testing::EncodeVorbis(testing::Tone(22050, 1, 1.5), 22050, 1));
    archive.Finish();
    ResManager().Rescan();
    const std::vector<std::int16_t> silence(static_cast<std::size_t>(8000 * kRecordingSeconds), 0);
    testing::WriteFile(dir_ / "recording.wav", testing::EncodeWave(silence, 8000, 1, 16));
  }
  TempDir dir_;
};

class DictorTest : public ::testing::Test {
 protected:
  void SetUp() override { recording = CourseFolder::Get().Recording(); }

  std::string Caption(QPushButton* button) const { return FromQString(button->text()); }
  std::string Text(QPlainTextEdit* memo) const { return FromQString(memo->toPlainText()); }

  std::string recording;
  testing::TestHost host{nullptr, 1000};
  TVkDictor dictor;
};

TEST_F(DictorTest, SetupShowsOnlyTheButtonsItHasNamesFor) {
  const struct {
    std::string recording, expected;
    bool playback, show_text;
  } cases[] = {
      {"recording.wav", "expected.txt", true, true},
      {"", "expected.txt", false, true},
      {"recording.wav", "", true, false},
      {"", "", false, false},
  };
  for (const auto& c : cases) {
    dictor.Setup("", "", "", c.recording, c.expected);
    EXPECT_EQ(!dictor.ListenButton()->isHidden(), c.playback) << c.recording;
    EXPECT_EQ(!dictor.BeginningButton()->isHidden(), c.playback) << c.recording;
    EXPECT_EQ(!dictor.ShowTextButton()->isHidden(), c.show_text) << c.expected;
  }
  EXPECT_FALSE(dictor.BeginningButton()->isEnabled());
}

TEST_F(DictorTest, TheHotSpotAtTheStripsRightEndReportsClicks) {
  int clicks = 0;
  dictor.OnHotSpotClick = [&] { ++clicks; };
  dictor.Setup("strip.img", "", "", "", "");
  const QLabel* strip = dictor.findChild<QLabel*>();
  ASSERT_NE(strip, nullptr);
  EXPECT_EQ(strip->size(), QSize(200, 40));
  QWidget* hot_spot = dictor.HotSpot();
  EXPECT_EQ(hot_spot->geometry(), QRect(560, 0, 80, 60));
  QTest::mouseClick(hot_spot, Qt::LeftButton, {}, QPoint(40, 30));
  EXPECT_EQ(clicks, 1);
  // A press that is released off the spot is no click.
  QTest::mousePress(hot_spot, Qt::LeftButton, {}, QPoint(40, 30));
  QTest::mouseRelease(hot_spot, Qt::LeftButton, {}, QPoint(-30, 30));
  EXPECT_EQ(clicks, 1);
  EXPECT_THROW(dictor.Setup("nothing.img", "", "", "", ""), EVkError);
}

TEST_F(DictorTest, AnInitialTextIsNotWritingButTypingIs) {
  dictor.Setup("", "instructions.txt", "start.txt", "", "expected.txt");
  EXPECT_EQ(Text(dictor.InstructionMemo()), "Write down\nwhat you hear.");
  EXPECT_EQ(Text(dictor.WritingMemo()), "Notes:");
  EXPECT_FALSE(dictor.Written());
  EXPECT_EQ(dictor.Result(), 0);

  QTest::keyClicks(dictor.WritingMemo(), "Der Hund");
  EXPECT_EQ(Text(dictor.WritingMemo()), "Notes:Der Hund") << "the caret starts after the initial text";
  EXPECT_TRUE(dictor.Written());
  EXPECT_EQ(dictor.Result(), 1) << "14 of 39";
  QTest::keyClicks(dictor.WritingMemo(), " laute");
  EXPECT_EQ(dictor.Result(), 2) << "20 of 39";
  // Writing stays written, also across a new setup and an emptied memo.
  dictor.WritingMemo()->clear();
  dictor.Setup("", "", "start.txt", "", "expected.txt");
  EXPECT_TRUE(dictor.Written());
  EXPECT_EQ(dictor.Result(), 1);
}

TEST_F(DictorTest, ShowTextPutsTheExpectedTextBelowTheLearnersLines) {
  const std::string separator = "=============== THE ORIGINAL TEXT: ===============";
  const std::string expected = "Der Hund   bellt laut.\n  Die Katze schlaeft.";
  const struct {
    std::string written, shown;
  } cases[] = {
      {"", separator + "\n" + expected},
      {"Der Hund", "Der Hund\n\n" + separator + "\n" + expected},
      {"Der Hund\n  ", "Der Hund\n  \n" + separator + "\n" + expected},
  };
  dictor.Setup("", "", "", "", "expected.txt");
  for (const auto& c : cases) {
    dictor.WritingMemo()->setPlainText(ToQString(c.written));
    dictor.ShowTextButton()->click();
    EXPECT_EQ(Text(dictor.ExpectedMemo()), c.shown);
    EXPECT_FALSE(dictor.ExpectedMemo()->isHidden());
    EXPECT_FALSE(dictor.WritingMemo()->isEnabled()) << "no typing while the expected text shows";
    EXPECT_EQ(Caption(dictor.ShowTextButton()), "Hide &Text");
    dictor.ShowTextButton()->click();
    EXPECT_TRUE(dictor.ExpectedMemo()->isHidden());
    EXPECT_TRUE(dictor.WritingMemo()->isEnabled());
    EXPECT_EQ(Caption(dictor.ShowTextButton()), "Show &Text");
  }
}

TEST_F(DictorTest, PausingStepsBackTwoSeconds) {
  const struct {
    std::int64_t paused_at, resumes_from;
  } cases[] = {{1500, 0}, {2000, 0}, {10000, 8000}};
  for (const auto& c : cases) {
    TVkDictor fresh;
    fresh.Setup("", "", "", recording, "");
    fresh.ListenButton()->click();
    EXPECT_EQ(Caption(fresh.ListenButton()), "Pau&se");
    EXPECT_TRUE(fresh.BeginningButton()->isEnabled());
    EXPECT_EQ(fresh.Player().Length(), kRecordingSeconds * 1000);
    host.clock.Advance(c.paused_at);
    fresh.ListenButton()->click();
    EXPECT_EQ(fresh.Player().Mode(), RecordingMode::kStopped);
    EXPECT_EQ(fresh.Player().Position(), c.resumes_from) << "paused at " << c.paused_at;
    EXPECT_EQ(Caption(fresh.ListenButton()), "Li&sten");
    EXPECT_TRUE(fresh.BeginningButton()->isEnabled());
    fresh.ListenButton()->click();
    host.clock.Advance(500);
    EXPECT_EQ(fresh.Player().Position(), c.resumes_from + 500);
  }
}

// Each Listen hands the engine the recording itself with the position to
// start from (no copy of it), and a resume starts exactly two seconds back.
TEST_F(DictorTest, ListeningStreamsTheRecordingFromThePosition) {
  testing::FakeEngines engines;
  engines.polls_while_playing = 1000000;
  host.sound = &engines;
  dictor.Setup("", "", "", recording, "");
  dictor.ListenButton()->click();
  ASSERT_FALSE(engines.calls.empty());
  EXPECT_EQ(engines.calls.back(), "wave " + recording + " from 0");
  host.clock.Advance(10000);
  dictor.ListenButton()->click();
  dictor.ListenButton()->click();
  EXPECT_EQ(engines.calls.back(), "wave " + recording + " from 8000");

  // A course sound inside an archive streams from its byte range.
  TVkRecordingPlayer player;
  player.SetFileName("talk.aud");
  player.Open();
  player.SetPosition(1000);
  player.Play();
  EXPECT_THAT(engines.calls.back(), ::testing::MatchesRegex("wave .*course\\.vka@[0-9]+,[0-9]+ from 1000"));
  player.Stop();
  host.sound = nullptr;
}

TEST_F(DictorTest, TheEndOfTheRecordingAndToBeginningResetTheButtons) {
  dictor.Setup("", "", "", recording, "");
  dictor.ListenButton()->click();
  host.clock.Advance(kRecordingSeconds * 1000 + 1);
  QTest::qWait(100);
  EXPECT_EQ(dictor.Player().Mode(), RecordingMode::kStopped);
  EXPECT_EQ(Caption(dictor.ListenButton()), "Li&sten");
  EXPECT_FALSE(dictor.BeginningButton()->isEnabled());
  // Listening again at the end starts from the beginning.
  dictor.ListenButton()->click();
  EXPECT_EQ(dictor.Player().Position(), 0);
  host.clock.Advance(3000);
  dictor.BeginningButton()->click();
  EXPECT_EQ(dictor.Player().Mode(), RecordingMode::kStopped);
  EXPECT_EQ(dictor.Player().Position(), 0);
  EXPECT_EQ(Caption(dictor.ListenButton()), "Li&sten");
  EXPECT_FALSE(dictor.BeginningButton()->isEnabled());
  // A later setup names another recording but keeps the open one.
  dictor.Setup("", "", "", "other.wav", "");
  dictor.ListenButton()->click();
  EXPECT_EQ(dictor.Player().FileName(), recording);
}

TEST_F(DictorTest, ACourseSoundInTheArchivesIsARecordingToo) {
  TVkRecordingPlayer player;
  player.SetFileName("talk.aud");
  player.Open();
  EXPECT_EQ(player.Length(), 1500);
  player.SetPosition(1000);
  player.Play();
  host.clock.Advance(200);
  EXPECT_EQ(player.Position(), 1200);
  player.Stop();
  EXPECT_EQ(player.Position(), 1200);
}

TEST_F(DictorTest, ARecordingThatCannotBePlayedIsReported) {
  TVkRecordingPlayer player;
  player.SetFileName("no-such-recording.wav");
  try {
    player.Open();
    ADD_FAILURE() << "opened";
  } catch (const EVkError& error) {
    EXPECT_NE(std::string(error.what()).find("Cannot play the recording \"no-such-recording.wav\""),
              std::string::npos)
        << error.what();
  }
  EXPECT_EQ(player.Mode(), RecordingMode::kNotReady);
}

}  // namespace
}  // namespace vork
