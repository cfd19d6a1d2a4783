#include "cli/tool_command_line.h"

#include <algorithm>
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

std::string ToolArguments::Value(std::string_view option) const {
  const auto found = options.find(option);
  return found == options.end() ? std::string() : found->second;
}

std::string ToolArguments::ExtraOperand(size_t most) const {
  return operands.size() > most ? "extra operand '" + operands[most] + "'" : "";
}

std::string ReadToolArguments(int argc, char** argv, std::span<const ToolOption> known, ToolArguments& arguments) {
  bool only_operands = false;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (only_operands || argument.size() < 2 || argument[0] != '-') {
      arguments.operands.push_back(argument);
      continue;
    }
    if (argument == "--") {
      only_operands = true;
      continue;
    }
    const auto option = std::find_if(known.begin(), known.end(),
                                     [&](const ToolOption& candidate) { return candidate.name == argument; });
    if (option == known.end()) return "unrecognized option '" + argument + "'";
    if (option->takes_value && i + 1 == argc) return "option '" + argument + "' requires an argument";
    arguments.options[argument] = option->takes_value ? argv[++i] : "";
  }
  return "";
}

}  // namespace vork
