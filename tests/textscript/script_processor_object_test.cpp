#include "textscript/script_processor_object.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "bridge/object_manager.h"
#include "bridge/string_object.h"
#include "objects/string_list_object.h"
#include "support/test_host.h"
#include "vm/processor.h"
#include "vm/value_stack.h"

namespace vork {
namespace {

// A manager that knows strings, string lists and script processors; the
// messages are sent as the bytecode sends them, arguments on the stack.
class ScriptObjectFixture : public ::testing::Test {
 protected:
  ScriptObjectFixture() {
    manager->RegisterClass(19, [](TVkObjectManager&) { return std::make_unique<TVkStringListObject>(); });
    manager->RegisterClass(24, [](TVkObjectManager&) { return std::make_unique<TVkScriptProcessorObject>(); });
    script = manager->CreateObject(24);
  }
  ~ScriptObjectFixture() override { manager.reset(); }

  void PushString(const std::string& text) {
    const int32_t handle = manager->CreateObject(0);
    dynamic_cast<TVkStringObject&>(*manager->Find(handle)).SetText(text);
    stack.Push(handle);
  }
  std::string PopString() {
    const int32_t handle = stack.Pop();
    const std::string text = dynamic_cast<TVkStringObject&>(*manager->Find(handle)).Text();
    manager->SendMsg(handle, -1);
    return text;
  }
  void SetUserVar(const std::string& name, const std::string& value) {
    PushString(name);
    PushString(value);
    manager->SendMsg(script, 16);
  }
  std::string UserVar(const std::string& name) {
    PushString(name);
    manager->SendMsg(script, 17);
    return PopString();
  }

  // Its user_settings are the current user's store.
  testing::TestHost host;
  TVkStack stack;
  TVkProcessor processor{stack};
  std::unique_ptr<TVkObjectManager> manager =
      std::make_unique<TVkObjectManager>(TVkManagerSetup{&processor, &stack, nullptr});
  int32_t script = 0;
};

TEST_F(ScriptObjectFixture, UserVariablesGoToWhoeverIsTheCurrentUser) {
  TVkReg first;
  TVkReg second;
  host.user_settings = &first;
  SetUserVar("level", "3");
  EXPECT_EQ(first.ReadString("level", ""), "3");

  // The course switched users; the first one's store may be gone.
  host.user_settings = &second;
  EXPECT_EQ(UserVar("level"), "");
  SetUserVar("level", "5");
  EXPECT_EQ(second.ReadString("level", ""), "5");
  EXPECT_EQ(first.ReadString("level", ""), "3");

  // Without any user the values live in memory, with the processor.
  host.user_settings = nullptr;
  SetUserVar("level", "7");
  EXPECT_EQ(UserVar("level"), "7");
  EXPECT_EQ(second.ReadString("level", ""), "5");
  EXPECT_EQ(stack.Length(), 0);
}

}  // namespace
}  // namespace vork
