#pragma once
// --timeout: ends the process after the given time wherever the main thread
// is (a sleep, a synchronous sound, an endless bytecode loop).

namespace vork {

// Starts a detached thread that calls _exit(124) after ms milliseconds.
void StartWatchdog(int ms);

}  // namespace vork
