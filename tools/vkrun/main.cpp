// vkrun: runs a bytecode image on the console (no window). The options are
// in kTool's usage text.

#include <iostream>
#include <string>

#include "cli/tool_command_line.h"
#include "vkrun/console_runner.h"

namespace {

constexpr vork::ToolDescription kTool{"vkrun", R"(Usage: vkrun [--count] IMAGE
Run a bytecode image on the console, without a window.

      --count      print the number of executed instructions on standard error
      --help       display this help and exit
      --version    output version information and exit

Exit status: 0 when the start routine (or stop) ended, 1 on a fault,
2 on a usage error.
)"};

}  // namespace

int main(int argc, char** argv) {
  if (const auto answered = vork::AnswerHelpOrVersion(kTool, argc, argv)) return *answered;
  constexpr vork::ToolOption kOptions[] = {{"--count", false}};
  vork::ToolArguments arguments;
  if (std::string fault = vork::ReadToolArguments(argc, argv, kOptions, arguments); !fault.empty()) {
    return vork::UsageError(kTool, fault);
  }
  if (std::string fault = arguments.ExtraOperand(1); !fault.empty()) return vork::UsageError(kTool, fault);
  const std::string path = arguments.operands.empty() ? "" : arguments.operands[0];
  const bool count = arguments.Has("--count");
  if (path.empty()) return vork::UsageError(kTool, "missing image");
  try {
    const auto result = vork::RunOnConsole(vork::ReadImageFile(path), std::cout, count);
    std::cout.flush();
    if (count) std::cerr << "instructions: " << result.instructions << "\n";
    return 0;
  } catch (const std::exception& e) {
    std::cout.flush();
    std::cerr << "error: " << e.what() << "\n";
    return 1;
  }
}
