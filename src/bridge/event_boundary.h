#pragma once
// Every entry from an event into bytecode (a timer tick, a mouse or key
// event, a media notification, a posted message) is an event boundary: a
// fault inside the routine is shown in the standard error box and the
// player goes on with the next event. The stack is put back as it was before
// the event pushed its arguments, so a routine that faults on every tick does
// not fill the stack, and an interrupted routine resumes where it was (the
// processor restores its instruction and frame pointers itself). When the
// routine has returned (or faulted), the stores it changed are saved
// (SaveDeferredChanges).

#include <functional>

namespace vork {

class TVkProcessor;

// Runs body (which pushes the routine's arguments and runs it). Returns
// false when the body faulted, or when the processor has been halted (the
// course has ended) and the body was not run at all.
bool RunAtEventBoundary(TVkProcessor& processor, const std::function<void()>& body);

}  // namespace vork
