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
#include "objects/string_list_object.h"
#include "objects/system_object.h"
#include "objects/text_object.h"
#include "objects/timer_object.h"
#include "platform/message_boxes.h"
#include "platform/qt/main_form.h"
#include "scene/background.h"
#include "scene/view.h"
#include "support/test_host.h"
#include "vkc/compiler.h"
#include "vm/processor.h"
#include "vm/value_stack.h"

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

template <typename T>
void Register(TVkObjectManager& manager, int32_t class_index) {
  manager.RegisterClass(class_index, [](TVkObjectManager&) { return std::make_unique<T>(); });
}

class SceneChangeFaults : public ::testing::Test {
 protected:
  SceneChangeFaults() {
    config_ = fs::temp_directory_path() / ("vork-scene-faults-" + std::to_string(::getpid()));
    fs::create_directories(config_);
    ::setenv("XDG_CONFIG_HOME", config_.c_str(), 1);
    window_ = std::make_unique<QWidget>();
    window_->setFixedSize(640, 480);
    view_ = new TVkView(window_.get(), QSize(640, 480));
    SetMainForm(window_.get());
    window_->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    manager_ = std::make_unique<TVkObjectManager>(TVkManagerSetup{&processor_, &stack_, view_});
    manager_->BindProcessorEvents();
    Register<TVkSystemObject>(*manager_, TVkObjectManager::kSystemClass);
    Register<TVkTimerObject>(*manager_, 2);
    Register<TVkSpriteObject>(*manager_, 3);
    Register<TVkFontObject>(*manager_, 14);
    Register<TVkTextObject>(*manager_, 17);
    Register<TVkStringListObject>(*manager_, 19);
    course_ = CompileCourse(kCourse, "scene_faults.vkc").image;
    processor_.LoadImage(course_.area);
    // The scene's entry, from the scene change that main posts.
    view_->OnTransitionTo = [this](int32_t, int32_t routine) { scene_ = routine; };
    processor_.Run(course_.start_entry);
    QCoreApplication::sendPostedEvents(view_);
  }

  ~SceneChangeFaults() override {
    manager_.reset();
    SetMainForm(nullptr);
    window_.reset();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    fs::remove_all(config_);
  }

  // As the stage view does when its posted scene change arrives.
  bool ChangeScene() {
    TVkSystemObject* system = TVkSystemObject::Current();
    return RunAtEventBoundary(processor_, [&] { system->TransitionTo(scene_); });
  }

  fs::path config_;
  std::ostringstream box_lines_;
  TranscriptAnswers answers_;
  TranscriptBoxes boxes_{box_lines_, answers_};
  TestHost host_{&boxes_};
  std::unique_ptr<QWidget> window_;
  TVkView* view_ = nullptr;
  TVkStack stack_;
  TVkProcessor processor_{stack_};
  std::unique_ptr<TVkObjectManager> manager_;
  AssembledImage course_;
  int32_t scene_ = 0;
};

TEST_F(SceneChangeFaults, AFailedAllocationAtAnyStepLeavesAPlayableStage) {
  ASSERT_NE(TVkSystemObject::Current(), nullptr);
  ASSERT_NE(scene_, 0);
  ASSERT_TRUE(ChangeScene()) << box_lines_.str();
  const int scene_objects = manager_->Count();
  const int32_t stack_length = stack_.Length();
  int failures = 0;
  for (int64_t n = 1; n < 100000; ++n) {
    box_lines_.str("");
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
      EXPECT_EQ(box_lines_.str(), "error: std::bad_alloc\n") << "step " << n;
    }
    EXPECT_EQ(stack_.Length(), stack_length) << "step " << n;
    EXPECT_EQ(view_->Background()->UpdateCount(), 0) << "step " << n;
    EXPECT_TRUE(window_->isEnabled()) << "step " << n;
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "step " << n;
    // The next scene change starts afresh and builds the whole scene.
    box_lines_.str("");
    ASSERT_TRUE(ChangeScene()) << "step " << n << ": " << box_lines_.str();
    ASSERT_EQ(manager_->Count(), scene_objects) << "step " << n;
  }
  std::printf("fault injection | scene change | allocation failure | %d failing steps, stage playable after each\n",
              failures);
  EXPECT_GT(failures, 10);
}

}  // namespace
}  // namespace vork::testing
