#pragma once
// The fatal internal checks of the machine and the object bridge.
//
// They end the program through FatalInternalError once the host has been
// told (PlayerHost::FatalCheckFailed). A harness that has to survive them
// (the fuzzer feeds arbitrary class and message indexes) installs a host
// that throws there instead; nothing else should.

#include <string>

namespace vork {

[[noreturn]] void FailFatalCheck(const std::string& detail = {});

inline void FatalCheck(bool condition) {
  if (!condition) FailFatalCheck();
}

}  // namespace vork
