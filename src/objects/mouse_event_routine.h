#pragma once
// How a script object's mouse routine runs when the stage or its control
// reports a press or a release.

#include <cstdint>

#include "scene/mouse_input.h"

namespace vork {

class TVkScriptObject;

// Runs routine (nothing when it is 0) with the object's handle, the button
// (0 left, 1 right, 2 middle), the shift word and x, y, at an event
// boundary. Answers whether the object is still live afterwards; when it is
// not, the object must not be touched.
bool RunMouseEvent(TVkScriptObject& object, int32_t routine, TMouseButton button, TShiftState shift, int x,
                   int y);

}  // namespace vork
