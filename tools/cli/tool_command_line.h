#pragma once
// The manners every vork command-line tool shares with its neighbours:
// --help prints the usage on standard output and exits 0, --version prints
// the release and exits 0, and a usage error goes to standard error with
// exit status 2 and a hint to --help.

#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

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

struct ToolOption {
  std::string_view name;  // "-o", "--listing"
  bool takes_value = false;
};

// A tool's command line, read the GNU way: options may stand among the
// operands until a "--", after which everything is an operand.
struct ToolArguments {
  std::map<std::string, std::string, std::less<>> options;  // a flag maps to ""
  std::vector<std::string> operands;

  bool Has(std::string_view option) const { return options.contains(option); }
  std::string Value(std::string_view option) const;  // "" when not given
  // "" when at most `most` operands were given, else the usage mistake.
  std::string ExtraOperand(size_t most) const;
};

// Fills arguments from argv; returns "" when they are sound, else the usage
// mistake (an unknown option, an option without its value).
std::string ReadToolArguments(int argc, char** argv, std::span<const ToolOption> known, ToolArguments& arguments);

}  // namespace vork
