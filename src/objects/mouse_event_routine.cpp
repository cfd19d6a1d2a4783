#include "objects/mouse_event_routine.h"

#include "bridge/event_boundary.h"
#include "bridge/object_manager.h"
#include "bridge/script_object.h"
#include "vm/processor.h"

namespace vork {

bool RunMouseEvent(TVkScriptObject& object, int32_t routine, TMouseButton button, TShiftState shift, int x,
                   int y) {
  if (routine == 0) return true;
  // Taken out of the object first: it may be freed while the routine runs.
  TVkObjectManager& manager = object.Manager();
  TVkProcessor& processor = object.Processor();
  const int32_t handle = object.Handle();
  RunAtEventBoundary(processor, [&] {
    TVkStack& stack = processor.Stack();
    stack.Push(handle);
    stack.Push(static_cast<int32_t>(button));
    stack.Push(shift);
    stack.Push(x);
    stack.Push(y);
    processor.Run(routine);
  });
  return manager.IsLive(handle);
}

}  // namespace vork
