#include "vm/fatal_check.h"

#include "platform/errors.h"
#include "platform/player_host.h"

namespace vork {

void FailFatalCheck(const std::string& detail) {
  Host().FatalCheckFailed(detail);
  FatalInternalError(detail);
}

}  // namespace vork
