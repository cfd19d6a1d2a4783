#pragma once
// The test machine on a shown stage with the script object classes under
// test, for sending messages as the bytecode does and running event
// routines assembled for the test.

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

#include <QWidget>

#include "scene/background.h"
#include "scene/view.h"
#include "support/test_machine.h"
#include "vkasm/assembler.h"

namespace vork::testing {

// Routines every test can use; each gets the object's handle as argument:
//   count    ticks := ticks + 1, last := the handle
//   destroy  destroys the object it was run for (message -1), ticks += 1
//   fault    divides by zero
extern const char kTestRoutines[];

// A shown window of 640 x 480 with the stage view in it, made before the
// machine so that the object manager can be given the view.
struct StageWindow {
  StageWindow();
  ~StageWindow();
  std::unique_ptr<QWidget> window;
  TVkView* view = nullptr;
};

class ObjectsTest : public ::testing::Test, protected StageWindow, public TestMachine {
 protected:
  ObjectsTest();

  // Sends and takes the one result off the stack.
  int32_t SendForWord(int32_t handle, MessageIndex message, std::initializer_list<int32_t> args = {});
  // Sends, and reads and destroys the string object pushed as result.
  std::string SendForString(int32_t handle, MessageIndex message, std::initializer_list<int32_t> args = {});
  // Sends and expects it to fail with this message, having popped exactly
  // its arguments.
  void ExpectFailure(int32_t handle, MessageIndex message, std::initializer_list<int32_t> args,
                     const std::string& error);

  int32_t Entry(std::string_view label) const;
  int32_t Global(std::string_view name);
  // Lets the event loop run for ms milliseconds.
  static void Pump(int ms);
  // Key clicks for each character of text, non-ASCII letters included.
  static void TypeText(QWidget* widget, const QString& text);

  AssembledImage image;
};

}  // namespace vork::testing
