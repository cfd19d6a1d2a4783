// A scene change with an allocation failing at the n-th call, for every n it
// reaches: the fault is shown in the standard error box and the player goes
// on; the stack, the stage's update batch, the main window and the cursor
// are as before, and the next scene change builds the whole scene again.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QTest>
#include <filesystem>
#include <memory>
#include <sstream>

#include "bridge/event_boundary.h"
#include "bridge/object_manager.h"
#include "heap_meter.h"
#include "objects/font_object.h"
#include "objects/sprite_object.h"
#include "data_objects/string_list_object.h"
#include "objects/system_object.h"
#include "objects/text_object.h"
#include "objects/timer_object.h"
#include "platform/qt/main_form.h"
#include "scene/background.h"
#include "scene/view.h"
#include "support/test_host.h"
#include "vkc/compiler.h"
#include "support/objects_fixture.h"

namespace vork::testing {
namespace {

namespace fs = std::filesystem;

constexpr char kCourse[] = R"(
word built;
void main() { sys.changeScene(busy); }
scene busy(phase) {
  if (phase == BUILD) {
    word i = 0;
    while (i < 6) {
      Sprite dot = sys.newSprite();
      dot.setBounds(10 + i * 30, 20, 24, 24);
      dot.setCaption("dot " + i);
      dot.setTags("dot|row" + i % 3);
      i += 1;
    }
    Timer ticker = sys.newTimer();
    ticker.setInterval(1000);
    ticker.setOnTick(tick);
    ticker.start();
    StringList words = sys.newStringList();
    words.split("one,two,three", ",");
    built += 1;
  }
}
void tick(Timer self) { }
)";

class SceneChangeFaults : public ::testing::Test, protected StageWindow, public TestMachine {
 protected:
  SceneChangeFaults() : TestMachine(view) {
    config_ = fs::temp_directory_path() / ("vork-scene-faults-" + std::to_string(::getpid()));
    fs::create_directories(config_);
    ::setenv("XDG_CONFIG_HOME", config_.c_str(), 1);
    manager->RegisterClass<TVkSystemObject>(TVkObjectManager::kSystemClass);
    manager->RegisterClass<TVkTimerObject>(2);
    manager->RegisterClass<TVkSpriteObject>(3);
    manager->RegisterClass<TVkFontObject>(14);
    manager->RegisterClass<TVkTextObject>(17);
    manager->RegisterClass<TVkStringListObject>(19);
    course_ = CompileCourse(kCourse, "scene_faults.vkc").image;
    processor.LoadImage(course_.area);
    // The scene's entry, from the scene change that main posts.
    view->OnTransitionTo = [this](int32_t, int32_t routine) { scene_ = routine; };
    processor.Run(course_.start_entry);
    QCoreApplication::sendPostedEvents(view);
  }

  ~SceneChangeFaults() override {
    manager.reset();
    fs::remove_all(config_);
  }

  // As the stage view does when its posted scene change arrives.
  bool ChangeScene() {
    TVkSystemObject* system = TVkSystemObject::Current();
    return RunAtEventBoundary(processor, [&] { system->TransitionTo(scene_); });
  }

  fs::path config_;
  AssembledImage course_;
  int32_t scene_ = 0;
};

TEST_F(SceneChangeFaults, AFailedAllocationAtAnyStepLeavesAPlayableStage) {
  ASSERT_NE(TVkSystemObject::Current(), nullptr);
  ASSERT_NE(scene_, 0);
  ASSERT_TRUE(ChangeScene()) << box_lines.str();
  const int scene_objects = manager->Count();
  const int32_t stack_length = stack.Length();
  int failures = 0;
  for (int64_t n = 1; n < 100000; ++n) {
    box_lines.str("");
    FailAllocation(n);
    const bool changed = ChangeScene();
    const bool reached = AllocationFailed();
    FailAllocation(0);
    if (!reached) {
      EXPECT_TRUE(changed);
      break;
    }
    if (!changed) {
      ++failures;
      EXPECT_EQ(box_lines.str(), "error: std::bad_alloc\n") << "step " << n;
    }
    EXPECT_EQ(stack.Length(), stack_length) << "step " << n;
    EXPECT_EQ(view->Background()->UpdateCount(), 0) << "step " << n;
    EXPECT_TRUE(window->isEnabled()) << "step " << n;
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "step " << n;
    // The next scene change starts afresh and builds the whole scene.
    box_lines.str("");
    ASSERT_TRUE(ChangeScene()) << "step " << n << ": " << box_lines.str();
    ASSERT_EQ(manager->Count(), scene_objects) << "step " << n;
  }
  std::printf("fault injection | scene change | allocation failure | %d failing steps, stage playable after each\n",
              failures);
  EXPECT_GT(failures, 10);
}

}  // namespace
}  // namespace vork::testing
