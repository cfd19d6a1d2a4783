#pragma once
// The diagnostic log: lines for the course developer, written only on a
// development machine (VORK_DEVELOPER=1) or when VORK_LOG names a file.
// VORK_LOG=- writes to standard error.

#include <string_view>

namespace vork {

// Fixed at the first call for the rest of the run.
bool IsDevelopmentMachine();

bool DiagnosticLogEnabled();
void DiagnosticLog(std::string_view line);

}  // namespace vork
