// The media button bar (its cells, hit test and mouse logic) and the
// director that keeps it in step with a real player playing a real clip.

#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QPainter>
#include <bitset>
#include <string>
#include <vector>

#include "players/media_controls.h"
#include "players/media_director.h"
#include "players/std_media_player.h"
#include "players/player_fixture.h"

namespace vork {
namespace {

using testing::BarsClip;
using testing::WaitUntil;
using Enabled = std::bitset<TVkMediaControls::kButtons>;

constexpr int kCellWidth = 10;
constexpr int kCellHeight = 8;

QRgb CellColour(int button, int state) { return qRgb(40 * button + 10, 100 * state + 20, 77); }

// Six columns of buttons, three rows of states, each cell one colour.
QImage Strip() {
  QImage strip(6 * kCellWidth, 3 * kCellHeight, QImage::Format_RGB32);
  QPainter painter(&strip);
  for (int button = 0; button < 6; ++button)
    for (int state = 0; state < 3; ++state)
      painter.fillRect(button * kCellWidth, state * kCellHeight, kCellWidth, kCellHeight, QColor(CellColour(button, state)));
  return strip;
}

void Mouse(QWidget& widget, QEvent::Type type, int x, int y) {
  const QPointF at(x, y);
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  QMouseEvent event(type, at, widget.mapToGlobal(at), button, held, Qt::NoModifier);
  QCoreApplication::sendEvent(&widget, &event);
}

Enabled EnabledOn(const TVkMediaControls& bar) {
  Enabled enabled;
  for (int button = 0; button < 6; ++button) enabled[button] = bar.State(button) != TVkMediaControls::kDisabled;
  return enabled;
}

// Buttons as the bar shows them, 0 at the right as bitsets are written.
Enabled Buttons(std::initializer_list<int> buttons) {
  Enabled enabled;
  for (int button : buttons) enabled.set(button);
  return enabled;
}

TEST(MediaControlsTest, TheBarShowsEachButtonsCellForItsState) {
  for (bool show_extra : {true, false}) {
    SCOPED_TRACE(show_extra ? "with the extra button" : "without it");
    TVkMediaControls bar;
    bar.SetShowExtra(show_extra);
    bar.SetStrip(Strip());
    const std::vector<int> shown = show_extra ? std::vector<int>{0, 1, 2, 3, 4, 5} : std::vector<int>{0, 2, 3, 4, 5};
    ASSERT_EQ(bar.size(), QSize(static_cast<int>(shown.size()) * kCellWidth, kCellHeight));
    bar.SetState(2, TVkMediaControls::kPressed);
    bar.SetState(4, TVkMediaControls::kDisabled);
    const QImage picture = bar.grab().toImage();
    for (size_t cell = 0; cell < shown.size(); ++cell) {
      const int button = shown[cell];
      const int x = static_cast<int>(cell) * kCellWidth + kCellWidth / 2;
      EXPECT_EQ(picture.pixel(x, kCellHeight / 2), CellColour(button, bar.State(button))) << "cell " << cell;
      EXPECT_EQ(bar.HitTest(x, 0), button);
    }
    EXPECT_EQ(bar.HitTest(-1, 0), TVkMediaControls::kNoButton);
    EXPECT_EQ(bar.HitTest(0, kCellHeight), TVkMediaControls::kNoButton);
    // Hiding the extra button later narrows the bar as well.
    bar.SetShowExtra(!show_extra);
    EXPECT_EQ(bar.width(), (show_extra ? 5 : 6) * kCellWidth);
  }
}

TEST(MediaControlsTest, AClickIsAPressAndAReleaseOverTheSameEnabledButton) {
  struct Step {
    QEvent::Type type;
    int x;
    int y = 2;
  };
  const auto press = QEvent::MouseButtonPress;
  const auto move = QEvent::MouseMove;
  const auto release = QEvent::MouseButtonRelease;
  struct {
    const char* what;
    bool show_extra;
    std::vector<Step> steps;
    std::vector<int> clicks;
    int extra_clicks;
  } cases[] = {
      {"on play", true, {{press, 5}, {release, 5}}, {0}, 0},
      {"off and back on", true, {{press, 5}, {move, 25}, {move, 6}, {release, 6}}, {0}, 0},
      {"released over another button", true, {{press, 5}, {move, 25}, {release, 25}}, {}, 0},
      {"released below the bar", true, {{press, 5}, {move, 5, 40}, {release, 5, 40}}, {}, 0},
      {"on the extra button", true, {{press, 15}, {release, 15}}, {1}, 1},
      {"second cell without the extra button", false, {{press, 15}, {release, 15}}, {2}, 0},
      {"on a disabled button", true, {{press, 45}, {release, 45}}, {}, 0},
  };
  for (const auto& test : cases) {
    SCOPED_TRACE(test.what);
    TVkMediaControls bar;
    bar.SetStrip(Strip());
    bar.SetShowExtra(test.show_extra);
    bar.SetState(4, TVkMediaControls::kDisabled);
    std::vector<int> clicks;
    int extra_clicks = 0;
    bar.OnButtonClick = [&](TVkMediaControls*, int button) { clicks.push_back(button); };
    bar.OnExtraClick = [&](TVkMediaControls*) { ++extra_clicks; };
    for (const Step& step : test.steps) Mouse(bar, step.type, step.x, step.y);
    EXPECT_EQ(clicks, test.clicks);
    EXPECT_EQ(extra_clicks, test.extra_clicks);
    // Nothing stays pressed, and the disabled button stays disabled.
    EXPECT_EQ(EnabledOn(bar), Enabled().set().reset(4));
    for (int button = 0; button < 6; ++button) EXPECT_NE(bar.State(button), TVkMediaControls::kPressed);
  }
}

TEST(MediaControlsTest, TheExtraButtonIsEnabledAlone) {
  TVkMediaControls bar;
  bar.SetState(0, TVkMediaControls::kDisabled);
  bar.SetState(3, TVkMediaControls::kPressed);
  bar.SetExtraEnabled(false);
  EXPECT_EQ(bar.State(1), TVkMediaControls::kDisabled);
  bar.SetExtraEnabled(true);
  EXPECT_EQ(bar.State(1), TVkMediaControls::kNormal);
  EXPECT_EQ(bar.State(0), TVkMediaControls::kDisabled);
  EXPECT_EQ(bar.State(3), TVkMediaControls::kPressed);
}

class MediaDirectorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::CourseFolder::Get();
    bar_.SetStrip(Strip());
    player_.SetOnNotify([this](TVkCustomMediaPlayer*, int code) {
      relayed_.push_back(code);
      // The bar is up to date by the time the course hears of the change.
      enabled_when_relayed_ = EnabledOn(bar_);
    });
    player_.SetFileName(BarsClip());
  }

  TVkStdMediaPlayer player_;
  TVkMediaControls bar_;
  std::vector<int> relayed_;
  Enabled enabled_when_relayed_;
};

TEST_F(MediaDirectorTest, TheEnabledButtonsFollowThePlayersState) {
  TVkMediaDirector director;
  director.SetControls(&bar_);
  EXPECT_EQ(EnabledOn(bar_), Enabled());  // no player
  director.SetPlayer(&player_);
  EXPECT_EQ(EnabledOn(bar_), Enabled());  // nothing open

  player_.Open();
  EXPECT_EQ(EnabledOn(bar_), Buttons({0, 1}));
  EXPECT_EQ(relayed_, (std::vector<int>{0, 1}));
  EXPECT_EQ(enabled_when_relayed_, Buttons({0, 1}));

  player_.Seek(400);
  EXPECT_EQ(EnabledOn(bar_), Buttons({0, 1, 3, 4, 5}));
  player_.Seek(player_.GetLength());
  EXPECT_EQ(EnabledOn(bar_), Buttons({0, 1, 3, 4}));

  // A pressed button that stays enabled keeps its look.
  bar_.SetState(0, TVkMediaControls::kPressed);
  director.UpdateButtons();
  EXPECT_EQ(bar_.State(0), TVkMediaControls::kPressed);
  bar_.SetState(0, TVkMediaControls::kNormal);

  player_.Seek(0);
  player_.Play();
  EXPECT_EQ(EnabledOn(bar_), Buttons({1, 2, 3, 4, 5}));
  ASSERT_TRUE(WaitUntil([&] { return relayed_.back() == 5; }));
  EXPECT_EQ(EnabledOn(bar_), Buttons({0, 1, 3, 4}));

  player_.Close();
  EXPECT_EQ(EnabledOn(bar_), Enabled());

  // Another bar takes over: the first one is disabled and deaf.
  TVkMediaControls other;
  director.SetControls(&other);
  player_.Open();
  EXPECT_EQ(EnabledOn(other), Buttons({0, 1}));
  EXPECT_EQ(EnabledOn(bar_), Enabled());
  EXPECT_FALSE(bar_.OnButtonClick);
}

TEST_F(MediaDirectorTest, TheButtonsDriveThePlayer) {
  auto director = std::make_unique<TVkMediaDirector>();
  director->SetControls(&bar_);
  director->SetPlayer(&player_);
  player_.Open();
  const int32_t length = player_.GetLength();

  // A click on play, with the mouse, starts it.
  relayed_.clear();
  Mouse(bar_, QEvent::MouseButtonPress, 5, 2);
  Mouse(bar_, QEvent::MouseButtonRelease, 5, 2);
  EXPECT_EQ(player_.GetState(), TVkCustomMediaPlayer::kPlaying);
  EXPECT_EQ(relayed_, (std::vector<int>{2, 3}));
  director->ButtonClicked(2);
  EXPECT_EQ(player_.GetState(), TVkCustomMediaPlayer::kOpen);

  struct {
    int button;
    int32_t from;
    int32_t to;
  } seeks[] = {
      {4, 600, 0},                    // back two seconds, not before the start
      {5, length - 500, length},      // forward two seconds, not past the end
      {3, 500, 0},                    // to the start
      {1, 500, 500},                  // the extra button leaves the player alone
  };
  for (const auto& seek : seeks) {
    SCOPED_TRACE(seek.button);
    player_.Seek(seek.from);
    director->ButtonClicked(seek.button);
    EXPECT_NEAR(player_.GetPosition(), seek.to, 50);
  }

  // Freed, the director hands the player its own notify event back and
  // leaves the bar disabled and deaf.
  director.reset();
  EXPECT_EQ(EnabledOn(bar_), Enabled());
  EXPECT_FALSE(bar_.OnButtonClick);
  relayed_.clear();
  player_.Stop();
  EXPECT_EQ(relayed_, (std::vector<int>{4}));
}

}  // namespace
}  // namespace vork
