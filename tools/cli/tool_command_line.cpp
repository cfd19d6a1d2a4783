#include "cli/tool_command_line.h"

#include <iostream>

#include "platform/version.h"

namespace vork {

std::optional<int> AnswerHelpOrVersion(const ToolDescription& tool, int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--") break;
    if (argument == "--help") {
      std::cout << tool.usage;
      return std::cout.flush() ? 0 : 1;
    }
    if (argument == "--version") {
      std::cout << tool.name << " (vork) " << kReleaseNumber << "\n";
      return std::cout.flush() ? 0 : 1;
    }
  }
  return std::nullopt;
}

int UsageError(const ToolDescription& tool, const std::string& message) {
  std::cerr << tool.name << ": " << message << "\nTry '" << tool.name << " --help' for more information.\n";
  return kUsageErrorStatus;
}

}  // namespace vork
