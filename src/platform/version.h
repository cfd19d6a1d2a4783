#pragma once
// What the player says about its version.

namespace vork {

// The release number the build was configured with, e.g. "0.9.0".
extern const char kReleaseNumber[];

// The fixed version text that courses read from the system object and the
// version switch shows; it does not follow the release number.
extern const char kVersionText[];

}  // namespace vork
