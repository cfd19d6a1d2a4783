#pragma once
// How a script object's event routine runs when a Qt event (a timer tick, a
// key in its control) asks for it.

#include <cstdint>

namespace vork {

class TVkScriptObject;

// Runs routine (nothing when it is 0) with the object's handle as its
// argument, nested on the one stack, at an event boundary: a fault is shown
// in the error box and the player goes on. The routine may destroy the
// object; returns whether it is still live, and when it is not the object
// must not be touched.
bool RunObjectEvent(TVkScriptObject& object, int32_t routine);

}  // namespace vork
