// Both media players over libmpv with the committed clips: the order of
// their notifications through a medium's life, failed opens, the picture in
// the window, and media read in place from a scrambled course archive.

#include <gtest/gtest.h>

#include <QImage>
#include <functional>
#include <memory>
#include <vector>

#include "archives/ark_writer.h"
#include "archives/file_stream.h"
#include "players/browser_media_player.h"
#include "players/media_source.h"
#include "players/std_media_player.h"
#include "platform/errors.h"
#include "players/player_fixture.h"
#include "support/http_server.h"

namespace vork {
namespace {

using Codes = std::vector<int>;
using testing::BarsClip;
using testing::CourseFolder;
using testing::WaitUntil;

struct PlayerKind {
  const char* name;
  std::function<TVkCustomMediaPlayer*()> make;
};

const PlayerKind kPlayers[] = {
    {"standard", [] { return new TVkStdMediaPlayer(); }},
    {"browser", [] { return new TVkIEMediaPlayer(); }},
};

class MediaPlayerTest : public ::testing::Test {
 protected:
  void SetUp() override { CourseFolder::Get(); }
  void Use(TVkCustomMediaPlayer* player) {
    player_.reset(player);
    player_->SetOnNotify([this](TVkCustomMediaPlayer* sender, int code) {
      EXPECT_EQ(sender, player_.get());
      codes_.push_back(code);
    });
  }
  // The codes fired since the last call.
  Codes Fired() { return std::exchange(codes_, {}); }
  bool Fired(int code) const { return std::find(codes_.begin(), codes_.end(), code) != codes_.end(); }

  std::unique_ptr<TVkCustomMediaPlayer> player_;
  Codes codes_;
};

TEST_F(MediaPlayerTest, NotificationsFollowTheMediumThroughItsLife) {
  for (const PlayerKind& kind : kPlayers) {
    SCOPED_TRACE(kind.name);
    Use(kind.make());
    TVkCustomMediaPlayer& player = *player_;
    EXPECT_EQ(player.GetState(), TVkCustomMediaPlayer::kClosed);

    player.SetFileName(BarsClip());
    player.Open();
    EXPECT_EQ(Fired(), (Codes{0, 1}));
    EXPECT_EQ(player.GetState(), TVkCustomMediaPlayer::kOpen);
    EXPECT_EQ(player.GetPosition(), 0);
    const int32_t length = player.GetLength();
    EXPECT_GT(length, 600);
    EXPECT_LE(length, 1100);

    player.Play();
    EXPECT_EQ(Fired(), (Codes{2, 3}));
    EXPECT_EQ(player.GetState(), TVkCustomMediaPlayer::kPlaying);
    ASSERT_TRUE(WaitUntil([&] { return Fired(5); }));
    EXPECT_EQ(Fired(), (Codes{4, 5}));
    EXPECT_EQ(player.GetState(), TVkCustomMediaPlayer::kOpen);
    EXPECT_EQ(player.GetPosition(), length);

    player.Seek(300);
    EXPECT_EQ(Fired(), (Codes{6, 7}));
    EXPECT_NEAR(player.GetPosition(), 300, 50);

    // Seeking while playing stops first; a medium at its end plays again
    // from its beginning.
    player.Play();
    player.Seek(500);
    EXPECT_EQ(Fired(), (Codes{2, 3, 4, 6, 7}));
    player.Seek(length);
    player.Play();
    EXPECT_EQ(Fired(), (Codes{6, 7, 2, 3}));
    // Well short of the end, with room for a slow, loaded machine.
    EXPECT_LT(player.GetPosition(), length - 200);
    player.Stop();
    EXPECT_EQ(Fired(), (Codes{4}));
    EXPECT_EQ(player.GetState(), TVkCustomMediaPlayer::kOpen);

    // Opening while playing stops and closes first.
    player.Play();
    player.Open();
    EXPECT_EQ(Fired(), (Codes{2, 3, 4, 10, 0, 1}));

    player.Close();
    EXPECT_EQ(Fired(), (Codes{10}));
    EXPECT_EQ(player.GetState(), TVkCustomMediaPlayer::kClosed);
    EXPECT_EQ(player.GetLength(), 0);
    // Nothing is left to end later.
    EXPECT_FALSE(WaitUntil([&] { return !codes_.empty(); }, 300));
  }
}

TEST_F(MediaPlayerTest, FailedOpensLeaveThePlayerClosedAndUsable) {
  CourseFolder& course = CourseFolder::Get();
  testing::WriteFile(course / "media" / "broken.mpg", std::string(3000, 'x'));
  testing::WriteFile(course / "media" / "empty.mpg", "");
  testing::WriteFile(course / "media" / "half.mpg", testing::ReadFile(testing::ToneClip()).substr(0, 300));
  const std::string names[] = {"nowhere.mpg", "broken.mpg", "empty.mpg", "half.mpg"};
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    // The standard player raises the failure into the course's message.
    Use(new TVkStdMediaPlayer());
    player_->SetFileName(name);
    try {
      player_->Open();
      ADD_FAILURE() << "no error";
    } catch (const EVkError& error) {
      EXPECT_EQ(std::string(error.what()).rfind("Media file \"" + name + "\" cannot be opened: ", 0), 0u)
          << error.what();
    }
    EXPECT_EQ(Fired(), (Codes{0}));
    EXPECT_EQ(player_->GetState(), TVkCustomMediaPlayer::kClosed);
    EXPECT_THROW(player_->Play(), EVkError);
    player_->SetFileName(BarsClip());
    player_->Open();
    EXPECT_EQ(Fired(), (Codes{0, 1}));

    // The browser player reports it as closed.
    Use(new TVkIEMediaPlayer());
    player_->SetFileName(name);
    player_->Open();
    EXPECT_EQ(Fired(), (Codes{0, 10}));
    EXPECT_EQ(player_->GetState(), TVkCustomMediaPlayer::kClosed);
    player_->SetFileName(BarsClip());
    player_->Open();
    EXPECT_EQ(Fired(), (Codes{0, 1}));
  }
}

// The clip's colour bars, left to right, in the upper part of its picture:
// their colours and the middle of each in the clip's 160 pixels.
const QColor kBars[] = {{191, 191, 191}, {191, 191, 0}, {0, 191, 191}, {0, 191, 0},
                        {191, 0, 191},   {191, 0, 0},   {0, 0, 191}};
const int kBarMiddles[] = {12, 36, 60, 84, 108, 132, 152};

::testing::AssertionResult ColourNear(const QImage& image, int x, int y, QColor expected) {
  const QColor seen = image.pixelColor(x, y);
  const int off = std::abs(seen.red() - expected.red()) + std::abs(seen.green() - expected.green()) +
                  std::abs(seen.blue() - expected.blue());
  if (off <= 60) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "at " << x << ", " << y << ": " << seen.name().toStdString()
                                       << " instead of " << expected.name().toStdString();
}

TEST_F(MediaPlayerTest, TheClipsPictureReachesThePlayerWindow) {
  // The standard player stretches the picture over its window, the browser
  // player keeps its proportions (here: black at both sides).
  struct {
    const PlayerKind& kind;
    QSize window;
    int video_left, video_width;
  } cases[] = {
      {kPlayers[0], {160, 120}, 0, 160},
      {kPlayers[0], {320, 120}, 0, 320},
      {kPlayers[1], {320, 120}, 80, 160},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(std::string(test.kind.name) + " " + std::to_string(test.window.width()));
    Use(test.kind.make());
    player_->resize(test.window);
    player_->SetFileName(BarsClip());
    player_->Open();
    // The first picture is drawn by the time the medium is open.
    const QImage picture = player_->grab().toImage();
    ASSERT_EQ(picture.size(), test.window);
    for (int bar = 0; bar < 7; ++bar) {
      const int x = test.video_left + kBarMiddles[bar] * test.video_width / 160;
      EXPECT_TRUE(ColourNear(picture, x, 30, kBars[bar]));
    }
    if (test.video_left > 0) {
      EXPECT_TRUE(ColourNear(picture, test.video_left / 2, 30, Qt::black));
    }

    player_->Close();
    EXPECT_TRUE(ColourNear(player_->grab().toImage(), test.video_left + 10, 30, Qt::black));
  }
}

TEST_F(MediaPlayerTest, MediaAreFoundInTheArchivesTheMediaFolderOrByPath) {
  CourseFolder& course = CourseFolder::Get();
  const std::string clip = testing::ReadFile(BarsClip());
  testing::WriteFile(course / "media" / "Loose.MPG", clip);
  {
    // Method 2 scrambles every entry but ".ogg" ones.
    TKsArkWriter writer(std::make_shared<TKsFileStream>((course / "course.vka").string(), TKsFileStream::Mode::Create), 2);
    writer.Add("film.mpg", clip);
    writer.Add("talk.ogg", "not really");
    writer.Finish();
  }
  ResManager().Rescan();

  struct {
    std::string name;
    std::string path;
    std::string entry;
  } cases[] = {
      {"FILM.mpg", (course / "course.vka").string(), "FILM.mpg"},
      {"talk.aud", (course / "course.vka").string(), "talk.ogg"},
      {"loose.mpg", (course / "media" / "Loose.MPG").string(), ""},
      {BarsClip(), BarsClip(), ""},
      {"missing.mpg", "", ""},
      {"", "", ""},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.name);
    const MediaSource source = LocateMedia(test.name);
    EXPECT_EQ(source.path, test.path);
    EXPECT_EQ(source.entry, test.entry);
  }

  // The archived clip plays from its descrambled bytes, picture and all.
  for (const PlayerKind& kind : kPlayers) {
    SCOPED_TRACE(kind.name);
    Use(kind.make());
    player_->SetFileName("film.mpg");
    player_->Open();
    EXPECT_EQ(Fired(), (Codes{0, 1}));
    EXPECT_GT(player_->GetLength(), 600);
    EXPECT_TRUE(ColourNear(player_->grab().toImage(), 34, 30, kBars[1]));
    player_->Play();
    ASSERT_TRUE(WaitUntil([&] { return Fired(5); }));
    EXPECT_EQ(Fired(), (Codes{2, 3, 4, 5}));
  }
}

TEST_F(MediaPlayerTest, TheBrowserPlayerStreamsAWebAddress) {
  testing::HttpServer server(testing::ReadFile(BarsClip()));
  Use(new TVkIEMediaPlayer());
  player_->SetFileName(server.Url("/bars.mpg"));
  player_->Open();
  EXPECT_EQ(Fired(), (Codes{0, 1}));
  EXPECT_GT(player_->GetLength(), 600);
  player_->Play();
  ASSERT_TRUE(WaitUntil([&] { return Fired(5); }));
  // A local medium this fast may or may not keep the player waiting (8, 9).
  Codes codes = Fired();
  codes.erase(std::remove_if(codes.begin(), codes.end(), [](int code) { return code == 8 || code == 9; }),
              codes.end());
  EXPECT_EQ(codes, (Codes{2, 3, 4, 5}));

  // The standard player takes no addresses.
  Use(new TVkStdMediaPlayer());
  player_->SetFileName(server.Url("/bars.mpg"));
  EXPECT_THROW(player_->Open(), EVkError);
}

}  // namespace
}  // namespace vork
