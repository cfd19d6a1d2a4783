#pragma once
// TVkScriptObject: the base of every class the bytecode can create. It gives
// message handlers their way to the machine (pop arguments, push results,
// run event routines, read string constants) and handles the two messages
// every object understands: 1000 and 1001 read and write a per-object list of
// name=value properties.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "bridge/object.h"
#include "bridge/object_manager.h"
#include "vm/value_stack.h"

namespace vork {

class TVkProcessor;
class TVkView;

class TVkScriptObject : public TVkObject {
 public:
  void HandleMessage(int32_t message) override;

  // Arguments and results on the value stack (message protocol).
  int32_t PopInt() { return Manager().Stack().Pop(); }
  // A rectangle as courses write it (left, top, width, height), popped in
  // reverse order.
  struct Bounds {
    int32_t left;
    int32_t top;
    int32_t width;
    int32_t height;
  };
  Bounds PopBounds() {
    Bounds bounds{};
    bounds.height = PopInt();
    bounds.width = PopInt();
    bounds.top = PopInt();
    bounds.left = PopInt();
    return bounds;
  }
  // Pops a string object's handle, copies its text and destroys it as
  // message -1 would. A handle that names no live object gives "" (and the
  // destroy notice); a live object of another class is an error.
  std::string PopString();
  void PushInt(int32_t value) { Manager().Stack().Push(value); }
  void PushBool(bool value) { PushInt(value ? 1 : 0); }
  // Creates a string object holding text and pushes its handle.
  void PushString(std::string_view text);

  // Runs an event routine nested on the same stack; the caller pushes its
  // arguments first. The routine may destroy this very object: check
  // Manager().IsLive(Handle()) before touching fields afterwards.
  void RunRoutine(int32_t entry);
  uint8_t* CodePointer(int32_t offset);
  TVkProcessor& Processor() const;
  TVkStack& Stack() const { return Manager().Stack(); }
  TVkView* View() const;

  // The value stored under name (letter case ignored), or "".
  std::string Property(std::string_view name) const;
  // An empty value removes the name; a new name is appended at the end.
  void SetProperty(std::string_view name, std::string_view value);

 protected:
  void ClearProperties() { properties_.clear(); }

  // The control a message works on. The stage or a window owns it and may
  // destroy it while this object lives on; a message that arrives after
  // that fails with "<what> object <handle> has lost its control".
  template <typename Pointer>
  auto& RequireControl(const Pointer& control, std::string_view what) const {
    if (!control) ControlLost(what);
    return *control;
  }

 private:
  [[noreturn]] void ControlLost(std::string_view what) const;

  // Kept as pairs rather than one text of lines, so that a value holding a
  // line break cannot split into a second entry.
  std::vector<std::pair<std::string, std::string>> properties_;
};

}  // namespace vork
