// The system object's slides on the host's clock: the blocking slide waits
// through the host between its steps (timers tick meanwhile), and the
// single-sprite slide steps on a host timer; neither waits for real.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <utility>

#include "objects/sprite_object.h"
#include "objects/system_object.h"
#include "objects/text_object.h"
#include "objects_fixture.h"

namespace vork::testing {
namespace {

class SlideTest : public ObjectsTest {
 protected:
  SlideTest() {
    ::setenv("XDG_CONFIG_HOME", config_.c_str(), 1);
    manager->RegisterClass(1, [](TVkObjectManager&) { return std::make_unique<TVkSystemObject>(); });
    manager->RegisterClass(3, [](TVkObjectManager&) { return std::make_unique<TVkSpriteObject>(); });
    // A sprite's caption.
    manager->RegisterClass(17, [](TVkObjectManager&) { return std::make_unique<TVkTextObject>(); });
    system = Create(1);
  }
  ~SlideTest() override {
    manager.reset();
    std::filesystem::remove_all(config_);
  }

  int32_t Block(int32_t left, int32_t top, int32_t size, const char* tags) {
    const int32_t sprite = Create(3);
    Send(sprite, 13, {left, top, size, size});
    Send(sprite, 18, {Str(tags)});
    return sprite;
  }
  std::pair<int32_t, int32_t> TopLeft(int32_t sprite) { return {SendForWord(sprite, 1), SendForWord(sprite, 3)}; }
  std::pair<int32_t, int32_t> Center(int32_t sprite) { return {SendForWord(sprite, 22), SendForWord(sprite, 23)}; }

  std::filesystem::path config_ = std::filesystem::temp_directory_path() / ("vork-slides-" + std::to_string(::getpid()));
  int32_t system = 0;
};

TEST_F(SlideTest, TheBlockingSlideWaitsOnTheHostsClockWhileTimersTick) {
  const int32_t sprite = Block(0, 0, 20, "card");
  const int32_t timer = Create(2);
  Send(timer, 0, {100});
  Send(timer, 2, {Entry("count")});
  Send(timer, 4);
  const std::int64_t before = host.clock.Now();
  // slideTo(sprite, x, y, milliseconds, steps, then): then is count, run
  // with 0 once the slide is over.
  Send(system, 39, {sprite, 100, 50, 100, 4, Entry("count")});
  EXPECT_EQ(host.clock.Now() - before, 400);
  EXPECT_EQ(TopLeft(sprite), std::make_pair(100, 50));
  EXPECT_EQ(Global("ticks"), 4 + 1) << "a tick after each step, then the routine";
  EXPECT_EQ(Global("last"), 0) << "the routine ran last";
  EXPECT_EQ(Boxes(), "");
}

TEST_F(SlideTest, TheSingleSpriteSlideStepsOnAHostTimer) {
  Block(70, 70, 60, "slot");
  const int32_t card = Block(75, 75, 50, "card");
  const int32_t occupant = Block(75, 75, 50, "card");
  // snapAndPush(sprite, slotTags, maxDistance, occupantTags, mode 1: the
  // occupant slides, x, y).
  Send(system, 40, {card, Str("slot"), 40, Str("card"), 1, 500, 100});
  EXPECT_EQ(Center(occupant), std::make_pair(100, 100)) << "nothing moves before the clock does";
  EXPECT_EQ(host.clock.ActiveTimers(), 1);
  // Ten steps, one every 30 ms.
  host.clock.Advance(5 * 30);
  EXPECT_EQ(Center(occupant), std::make_pair(300, 100));
  host.clock.Advance(5 * 30);
  EXPECT_EQ(Center(occupant), std::make_pair(500, 100));
  EXPECT_EQ(Center(card), std::make_pair(100, 100));
  EXPECT_EQ(host.clock.ActiveTimers(), 0) << "the slide's timer stops with the slide";
  EXPECT_EQ(Boxes(), "");
}

}  // namespace
}  // namespace vork::testing
