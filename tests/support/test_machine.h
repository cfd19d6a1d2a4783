#pragma once
// The machine the object tests run on: a value stack, the processor and the
// real object manager bound to it, on a test host (virtual clock). Boxes are
// written as transcript lines ("KIND: TEXT") and answered from `answers`, as
// in a headless run, so a test reads what a learner would have been shown.

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
#include <type_traits>

#include "bridge/messages.h"
#include "bridge/object_manager.h"
#include "bridge/string_object.h"
#include "platform/message_boxes.h"
#include "support/test_host.h"
#include "vm/processor.h"
#include "vm/value_stack.h"

namespace vork {
class TVkView;
}

namespace vork::testing {

// A message by name (TimerMessage::Start) or, for indices no class
// declares, by number.
struct MessageIndex {
  MessageIndex(int32_t number) : value(number) {}  // NOLINT: implicit by design
  template <class Name>
    requires std::is_enum_v<Name>
  MessageIndex(Name name) : value(ToWord(name)) {}  // NOLINT: implicit by design
  int32_t value;
};

class TestMachine {
 public:
  // Objects that live on the stage need a view; the others run without.
  explicit TestMachine(TVkView* view = nullptr)
      : manager(std::make_unique<TVkObjectManager>(TVkManagerSetup{&processor, &stack, view})) {
    manager->BindProcessorEvents();
  }
  TestMachine(const TestMachine&) = delete;
  TestMachine& operator=(const TestMachine&) = delete;
  // The objects go first: their release handlers may still show boxes.
  virtual ~TestMachine() {
    manager.reset();
  }

  int32_t Create(ClassIndex class_index) { return manager->CreateObject(ToWord(class_index)); }
  // Pushes args in the order the bytecode writes them, then sends.
  void Send(int32_t handle, MessageIndex message, std::initializer_list<int32_t> args = {}) {
    for (int32_t arg : args) stack.Push(arg);
    manager->SendMsg(handle, message.value);
  }
  // A new string object holding text (the argument form of strings).
  int32_t NewString(std::string_view text) {
    const int32_t handle = manager->CreateObject(TVkObjectManager::kStringClass);
    StringAt(handle).SetText(std::string(text));
    return handle;
  }
  TVkStringObject& StringAt(int32_t handle) { return dynamic_cast<TVkStringObject&>(*manager->Find(handle)); }
  // Pops a string result, reads it and destroys it as the bytecode would.
  std::string PopString() {
    const int32_t handle = stack.Pop();
    std::string text = StringAt(handle).Text();
    manager->SendMsg(handle, -1);
    return text;
  }
  std::string Boxes() const { return box_lines.str(); }

  std::ostringstream box_lines;
  TranscriptAnswers answers;
  TranscriptBoxes boxes{box_lines, answers};
  TestHost host{&boxes};
  TVkStack stack;
  TVkProcessor processor{stack};
  std::unique_ptr<TVkObjectManager> manager;
};

}  // namespace vork::testing
