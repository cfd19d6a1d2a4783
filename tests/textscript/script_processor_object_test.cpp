#include "textscript/script_processor_object.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "data_objects/string_list_object.h"
#include "support/test_machine.h"

namespace vork {
namespace {

// A manager that knows strings, string lists and script processors; the
// messages are sent as the bytecode sends them, arguments on the stack.
class ScriptObjectFixture : public ::testing::Test, public testing::TestMachine {
 protected:
  ScriptObjectFixture() {
    manager->RegisterClass<TVkStringListObject>(19);
    manager->RegisterClass<TVkScriptProcessorObject>(24);
    script = manager->CreateObject(24);
  }
  ~ScriptObjectFixture() override { manager.reset(); }

  void PushString(const std::string& text) { stack.Push(NewString(text)); }
  void SetUserVar(const std::string& name, const std::string& value) {
    PushString(name);
    PushString(value);
    manager->SendMsg(script, ToWord(ScriptProcessorMessage::SetUserVar));
  }
  std::string UserVar(const std::string& name) {
    PushString(name);
    manager->SendMsg(script, ToWord(ScriptProcessorMessage::UserVar));
    return PopString();
  }

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
