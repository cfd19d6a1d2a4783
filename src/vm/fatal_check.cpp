#include "vm/fatal_check.h"

#include "platform/errors.h"

namespace vork {

namespace {
FatalCheckHandler installed_handler = nullptr;
}

void SetFatalCheckHandler(FatalCheckHandler handler) { installed_handler = handler; }

void FailFatalCheck(const std::string& detail) {
  if (installed_handler != nullptr) installed_handler(detail);
  FatalInternalError(detail);
}

}  // namespace vork
