#include "platform/version.h"

namespace vork {

// Only this file is compiled with VORK_VERSION, so a new release number
// rebuilds one file.
const char kReleaseNumber[] = VORK_VERSION;

const char kVersionText[] = "exe ver. to 27.6.02 15:23:11";

}  // namespace vork
