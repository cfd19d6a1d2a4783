#include "bridge/script_object.h"

#include <gtest/gtest.h>

#include "bridge_fixture.h"
#include "platform/errors.h"

namespace vork {
namespace {

// Message 0 counts on a control that, like a widget on the stage, is owned
// elsewhere and may be gone before the object is.
class CountingObject : public TVkScriptObject {
 public:
  int* counter = nullptr;
  void HandleMessage(int32_t message) override {
    if (message == 0) {
      ++RequireControl(counter, "Counter");
      return;
    }
    TVkScriptObject::HandleMessage(message);
  }
};

TEST(ScriptObjectTest, AMessageToAnObjectWhoseControlIsGoneNamesTheObject) {
  BridgeFixture f;
  f.manager->RegisterClass(5, [](TVkObjectManager&) -> std::unique_ptr<TVkObject> {
    return std::make_unique<CountingObject>();
  });
  f.manager->CreateObject(5);  // so the handle under test is not the first one
  const int32_t handle = f.manager->CreateObject(5);
  auto& object = dynamic_cast<CountingObject&>(*f.manager->Find(handle));
  int count = 0;
  object.counter = &count;
  object.HandleMessage(0);
  EXPECT_EQ(count, 1);

  object.counter = nullptr;
  try {
    object.HandleMessage(0);
    ADD_FAILURE() << "no error";
  } catch (const EVkError& error) {
    EXPECT_EQ(std::string(error.what()), "Counter object " + HandleText(handle) + " has lost its control");
  }
  EXPECT_EQ(count, 1);
}

}  // namespace
}  // namespace vork
