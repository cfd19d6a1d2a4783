#pragma once
// The manners every vork command-line tool shares with its neighbours:
// --help prints the usage on standard output and exits 0, --version prints
// the release and exits 0, and a usage error goes to standard error with
// exit status 2 and a hint to --help.

#include <optional>
#include <string>
#include <string_view>

namespace vork {

struct ToolDescription {
  std::string_view name;   // "vkc"
  std::string_view usage;  // the --help text from its "Usage:" line on
};

inline constexpr int kUsageErrorStatus = 2;

// When argv asks for --help or --version (before a "--"), prints the answer
// and returns the exit status; otherwise nothing.
std::optional<int> AnswerHelpOrVersion(const ToolDescription& tool, int argc, char** argv);

// "NAME: message" and the hint on standard error; returns kUsageErrorStatus.
int UsageError(const ToolDescription& tool, const std::string& message);

}  // namespace vork
