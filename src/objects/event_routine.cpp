#include "objects/event_routine.h"

#include "bridge/event_boundary.h"
#include "bridge/object_manager.h"
#include "bridge/script_object.h"
#include "vm/processor.h"

namespace vork {

bool RunObjectEvent(TVkScriptObject& object, int32_t routine) {
  if (routine == 0) return true;
  // Everything the run needs is taken out of the object first: it may be
  // freed while the routine runs.
  TVkObjectManager& manager = object.Manager();
  TVkProcessor& processor = object.Processor();
  const int32_t handle = object.Handle();
  RunAtEventBoundary(processor, [&] {
    processor.Stack().Push(handle);
    processor.Run(routine);
  });
  return manager.IsLive(handle);
}

}  // namespace vork
