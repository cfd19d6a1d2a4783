#pragma once
// The console object that vkrun registers as class 1 in place of the
// player's system object, so that a course program can print what it
// computed:
//   1  pops a string and prints it as one line
//   2  pops a number and prints it as one line
//   3  pops a number and pushes it as a new string

#include <iosfwd>

#include "bridge/script_object.h"

namespace vork {

class TVkConsoleObject : public TVkScriptObject {
 public:
  explicit TVkConsoleObject(std::ostream& out) : out_(out) {}
  void HandleMessage(int32_t message) override;

 private:
  std::ostream& out_;
};

}  // namespace vork
