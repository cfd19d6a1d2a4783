#pragma once
// A machine with the real object manager, a shown stage and the script
// object classes under test, for sending messages as the bytecode does and
// running event routines assembled for the test.

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>

#include "bridge/object_manager.h"
#include "platform/message_boxes.h"
#include "scene/background.h"
#include "scene/view.h"
#include "support/test_host.h"
#include "vkasm/assembler.h"
#include "vm/processor.h"
#include "vm/value_stack.h"

namespace vork::testing {

// Routines every test can use; each gets the object's handle as argument:
//   count    ticks := ticks + 1, last := the handle
//   destroy  destroys the object it was run for (message -1), ticks += 1
//   fault    divides by zero
extern const char kTestRoutines[];

class ObjectsTest : public ::testing::Test {
 protected:
  ObjectsTest();
  ~ObjectsTest() override;

  int32_t Create(int32_t class_index) { return manager->CreateObject(class_index); }
  // Pushes args in the order the bytecode writes them, then sends.
  void Send(int32_t handle, int32_t message, std::initializer_list<int32_t> args = {});
  // Sends and takes the one result off the stack.
  int32_t SendForWord(int32_t handle, int32_t message, std::initializer_list<int32_t> args = {});
  // Sends, and reads and destroys the string object pushed as result.
  std::string SendForString(int32_t handle, int32_t message, std::initializer_list<int32_t> args = {});
  // Sends and expects it to fail with this message, having popped exactly
  // its arguments.
  void ExpectFailure(int32_t handle, int32_t message, std::initializer_list<int32_t> args,
                     const std::string& error);
  // A new string object holding text (the argument form of strings).
  int32_t Str(std::string_view text);

  int32_t Entry(std::string_view label) const;
  int32_t Global(std::string_view name);
  std::string Boxes() const { return box_lines.str(); }
  // Lets the event loop run for ms milliseconds.
  static void Pump(int ms);
  // Key clicks for each character of text, non-ASCII letters included.
  static void TypeText(QWidget* widget, const QString& text);

  std::ostringstream box_lines;
  TranscriptAnswers answers;
  TranscriptBoxes boxes{box_lines, answers};
  TestHost host{&boxes};
  std::unique_ptr<QWidget> window;
  TVkView* view = nullptr;
  TVkStack stack;
  TVkProcessor processor{stack};
  std::unique_ptr<TVkObjectManager> manager;
  AssembledImage image;
};

}  // namespace vork::testing
