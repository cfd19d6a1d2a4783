#pragma once
// The fatal internal checks of the machine and the object bridge.
//
// They end the program through FatalInternalError. A harness that has to
// survive them (the fuzzer feeds arbitrary class and message indexes) can
// install a handler that throws instead; nothing else should.

#include <string>

namespace vork {

using FatalCheckHandler = void (*)(const std::string& detail);

// Installs handler (nullptr restores FatalInternalError). The handler must
// not return: it throws, or the program ends after it anyway.
void SetFatalCheckHandler(FatalCheckHandler handler);

[[noreturn]] void FailFatalCheck(const std::string& detail = {});

inline void FatalCheck(bool condition) {
  if (!condition) FailFatalCheck();
}

}  // namespace vork
