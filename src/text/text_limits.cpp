#include "text/text_limits.h"

#include <string>

#include "platform/errors.h"

namespace vork {

void CheckMadeTextSize(std::string_view utility, std::uint64_t bytes) {
  if (bytes <= kMaxMadeTextBytes) return;
  throw EVkError(std::string(utility) + ": the result would be " + std::to_string(bytes) +
                 " bytes long, more than the limit of " + std::to_string(kMaxMadeTextBytes));
}

}  // namespace vork
