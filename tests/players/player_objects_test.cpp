// The media player and media buttons objects as the bytecode drives them:
// their message tables over the real object manager, notifications into an
// assembled notify routine, and a routine that frees its own player.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>

#include "archives/ark_writer.h"
#include "archives/file_stream.h"
#include "media/play_audio.h"
#include "players/media_buttons_object.h"
#include "players/media_player_objects.h"
#include "support/objects_fixture.h"
#include "players/player_fixture.h"
#include "vm/fatal_check.h"

namespace vork {
namespace {

using testing::CourseFolder;
using testing::WaitUntil;

// notified: codes := codes * 16 + code + 1, last := the handle
// freeing:  destroys the player that notifies
// extra:    extras := extras + 1
constexpr char kRoutines[] =
    ".start start\n"
    "start: enter 0\n"
    "    return\n"
    "notified: enter 2\n"
    "    gload codes\n"
    "    loadc 16\n"
    "    mul\n"
    "    load -12\n"
    "    add\n"
    "    one\n"
    "    add\n"
    "    gstore codes\n"
    "    load -16\n"
    "    gstore last\n"
    "    return\n"
    "freeing: enter 2\n"
    "    load -16\n"
    "    send -1\n"
    "    return\n"
    "extra: enter 1\n"
    "    gload extras\n"
    "    one\n"
    "    add\n"
    "    gstore extras\n"
    "    return\n"
    ".global codes, last, extras\n";

// The codes as the notified routine accumulates them.
int32_t Codes(std::initializer_list<int> codes) {
  int32_t word = 0;
  for (int code : codes) word = word * 16 + code + 1;
  return word;
}

class PlayerObjectsTest : public testing::ObjectsTest {
 protected:
  PlayerObjectsTest() {
    manager->RegisterClass(5, [](TVkObjectManager&) { return std::make_unique<TVkStdMediaPlayerObject>(); });
    manager->RegisterClass(6, [](TVkObjectManager&) { return std::make_unique<TVkMediaButtonsObject>(); });
    manager->RegisterClass(7, [](TVkObjectManager&) { return std::make_unique<TVkIEMediaPlayerObject>(); });
    image = Assemble(kRoutines, "player routines");
    processor.LoadImage(image.area);
    CourseFolder& course = CourseFolder::Get();
    testing::WriteFile(course / "media" / "film.mpg", testing::ReadFile(testing::BarsClip()));
  }
  ~PlayerObjectsTest() override { std::filesystem::remove(CourseFolder::Get() / "media" / "film.htm"); }

  template <typename T>
  T& Object(int32_t handle) {
    return dynamic_cast<T&>(*manager->Find(handle));
  }
  TVkCustomMediaPlayer& PlayerOf(int32_t handle) { return *Object<StagePlayerObject>(handle).Player(); }
  TVkMediaControls& BarOf(int32_t handle) { return *Object<TVkMediaButtonsObject>(handle).Controls(); }
};

// A strip of 6 x 3 cells of 12 x 10 pixels, as "strip.img" in an update
// part of the course's archives.
void AddStrip() {
  QImage strip(72, 30, QImage::Format_RGB32);
  strip.fill(Qt::gray);
  QByteArray bmp;
  QBuffer buffer(&bmp);
  buffer.open(QIODevice::WriteOnly);
  strip.save(&buffer, "BMP");
  CourseFolder& course = CourseFolder::Get();
  TKsArkWriter writer(std::make_shared<TKsFileStream>((course / "course.x01").string(), TKsFileStream::Mode::Create), 0);
  writer.Add("strip.bmp", std::string_view(bmp.constData(), static_cast<size_t>(bmp.size())));
  writer.Finish();
  // A part counts only beside the base archive.
  if (!std::filesystem::exists(course / "course.vka")) {
    TKsArkWriter base(std::make_shared<TKsFileStream>((course / "course.vka").string(), TKsFileStream::Mode::Create), 0);
    base.Finish();
  }
  ResManager().Rescan();
}

TEST_F(PlayerObjectsTest, MessagesDriveThePlayerAndItsButtons) {
  AddStrip();
  const int32_t player = Create(ClassIndex::StdMediaPlayer);
  const int32_t buttons = Create(ClassIndex::MediaButtons);
  TVkCustomMediaPlayer& screen = PlayerOf(player);
  TVkMediaControls& bar = BarOf(buttons);
  EXPECT_EQ(screen.parentWidget(), view->Background());
  EXPECT_EQ(bar.parentWidget(), view->Background());

  Send(player, StdMediaPlayerMessage::SetBounds, {10, 20, 200, 150});
  EXPECT_EQ(screen.geometry(), QRect(10, 20, 200, 150));
  Send(buttons, MediaButtonsMessage::SetPosition, {30, 300});
  Send(buttons, MediaButtonsMessage::LoadStrip, {NewString("strip.img")});
  EXPECT_EQ(bar.geometry(), QRect(30, 300, 72, 10));
  Send(buttons, MediaButtonsMessage::SetShowExtra, {0x100});  // only the low byte counts
  EXPECT_EQ(bar.width(), 60);
  Send(buttons, MediaButtonsMessage::SetShowExtra, {1});

  Send(player, StdMediaPlayerMessage::SetControls, {buttons});
  EXPECT_EQ(bar.State(0), TVkMediaControls::kDisabled);
  Send(player, StdMediaPlayerMessage::SetOnNotify, {Entry("notified")});
  EXPECT_EQ(SendForWord(player, StdMediaPlayerMessage::OnNotify), Entry("notified"));

  Send(player, StdMediaPlayerMessage::Open, {NewString("film.mpg")});
  EXPECT_EQ(Global("codes"), Codes({0, 1}));
  EXPECT_EQ(Global("last"), player);
  EXPECT_EQ(SendForWord(player, StdMediaPlayerMessage::State), 1);
  EXPECT_EQ(SendForString(player, StdMediaPlayerMessage::FileName), "film.mpg");
  EXPECT_GT(SendForWord(player, StdMediaPlayerMessage::Length), 600);
  EXPECT_EQ(bar.State(0), TVkMediaControls::kNormal);
  EXPECT_EQ(SendForString(player, StdMediaPlayerMessage::HtmlName), "");
  testing::WriteFile(CourseFolder::Get() / "media" / "film.htm", "<p>words</p>");
  EXPECT_EQ(SendForString(player, StdMediaPlayerMessage::HtmlName), "film.htm");

  Send(player, StdMediaPlayerMessage::Seek, {400});
  EXPECT_NEAR(SendForWord(player, StdMediaPlayerMessage::Position), 400, 50);
  Send(player, StdMediaPlayerMessage::ShowFirstFrame);
  EXPECT_EQ(SendForWord(player, StdMediaPlayerMessage::Position), 0);

  Send(player, StdMediaPlayerMessage::Play);
  EXPECT_EQ(SendForWord(player, StdMediaPlayerMessage::State), 2);
  // Every sound and every scene change stops the players, notifying them.
  StopAllMedia(*manager);
  EXPECT_EQ(SendForWord(player, StdMediaPlayerMessage::State), 1);
  EXPECT_EQ(Global("codes") & 0xf, 4 + 1);

  Send(player, StdMediaPlayerMessage::SetVisible, {0x200});
  EXPECT_FALSE(screen.isVisible());
  Send(player, StdMediaPlayerMessage::SetVisible, {1});
  EXPECT_TRUE(screen.isVisible());

  // The extra button runs the course's routine.
  Send(buttons, MediaButtonsMessage::SetOnExtra, {Entry("extra")});
  EXPECT_EQ(SendForWord(buttons, MediaButtonsMessage::OnExtra), Entry("extra"));
  Send(buttons, MediaButtonsMessage::SetExtraEnabled, {0});
  EXPECT_EQ(bar.State(1), TVkMediaControls::kDisabled);
  Send(buttons, MediaButtonsMessage::SetExtraEnabled, {1});
  bar.OnExtraClick(&bar);
  EXPECT_EQ(Global("extras"), 1);

  ExpectFailure(player, StdMediaPlayerMessage::SetControls, {player},
                "media player object " + HandleText(player) + ": " + HandleText(player) +
                    " is not a media buttons object");
  Send(player, StdMediaPlayerMessage::Close);
  EXPECT_EQ(SendForWord(player, StdMediaPlayerMessage::State), 0);
  EXPECT_EQ(bar.State(0), TVkMediaControls::kDisabled);
}

TEST_F(PlayerObjectsTest, TheBrowserPlayerObjectReportsAFailedOpenAndHasNoFirstFrameMessage) {
  const int32_t player = Create(ClassIndex::BrowserMediaPlayer);
  Send(player, StdMediaPlayerMessage::SetOnNotify, {Entry("notified")});
  Send(player, StdMediaPlayerMessage::Open, {NewString("nothing here.mpg")});
  EXPECT_EQ(Global("codes"), Codes({0, 10}));
  EXPECT_EQ(SendForWord(player, StdMediaPlayerMessage::State), 0);
  EXPECT_EQ(SendForString(player, StdMediaPlayerMessage::FileName), "nothing here.mpg");
  // Index 15 is no message of this class: the fatal check of unknown
  // messages, made to throw here.
  host.fatal_checks_throw = true;
  ExpectFailure(player, StdMediaPlayerMessage::ShowFirstFrame, {}, "TVkObject: Unknown msg (ClassIndex=7 MsgIndex=15)");
  host.fatal_checks_throw = false;
}

TEST_F(PlayerObjectsTest, ANotifyRoutineMayFreeItsOwnPlayer) {
  // Freed inside a command (before playing) and inside the end of the
  // medium, which arrives from the event loop.
  for (int freeing_on : {0, 4}) {
    SCOPED_TRACE(freeing_on);
    const int32_t player = Create(ClassIndex::StdMediaPlayer);
    const int32_t buttons = Create(ClassIndex::MediaButtons);
    Send(player, StdMediaPlayerMessage::SetControls, {buttons});
    Send(player, StdMediaPlayerMessage::Open, {NewString("film.mpg")});
    if (freeing_on == 0) {
      Send(player, StdMediaPlayerMessage::SetOnNotify, {Entry("freeing")});
      Send(player, StdMediaPlayerMessage::Play);
    } else {
      Send(player, StdMediaPlayerMessage::Play);
      Send(player, StdMediaPlayerMessage::SetOnNotify, {Entry("freeing")});
      ASSERT_TRUE(WaitUntil([&] { return !manager->IsLive(player); }));
    }
    EXPECT_FALSE(manager->IsLive(player));
    Pump(50);
    // The bar outlives the player, disabled.
    EXPECT_EQ(BarOf(buttons).State(0), TVkMediaControls::kDisabled);
    Send(buttons, CommonMessage::Destroy);
  }
}

}  // namespace
}  // namespace vork
