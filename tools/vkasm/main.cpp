// vkasm: assembles a source file into a bytecode image, or lists an image.
// The options are in kTool's usage text.

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "cli/tool_command_line.h"
#include "platform/errors.h"
#include "vkasm/assembler.h"
#include "vkasm/disassembler.h"
#include "vm/image.h"

namespace {

constexpr vork::ToolDescription kTool{"vkasm", R"(Usage: vkasm [-o IMAGE] SOURCE.vkasm
  or:  vkasm --list IMAGE
Assemble a bytecode source into an image, or list an image as assembly.

  -o IMAGE         write the image to IMAGE (default: SOURCE with .vkbc)
      --list IMAGE print the instructions and data of IMAGE
      --help       display this help and exit
      --version    output version information and exit

Exit status: 0 on success, 1 on an assembly or file error, 2 on a usage error.
)"};

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw vork::EVkError(path + ": cannot open the file");
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string DefaultOutput(const std::string& source) {
  const auto dot = source.rfind('.');
  const auto slash = source.rfind('/');
  const bool has_extension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return (has_extension ? source.substr(0, dot) : source) + ".vkbc";
}

}  // namespace

int main(int argc, char** argv) {
  if (const auto answered = vork::AnswerHelpOrVersion(kTool, argc, argv)) return *answered;
  constexpr vork::ToolOption kOptions[] = {{"-o", true}, {"--list", true}};
  vork::ToolArguments arguments;
  if (std::string fault = vork::ReadToolArguments(argc, argv, kOptions, arguments); !fault.empty()) {
    return vork::UsageError(kTool, fault);
  }
  if (std::string fault = arguments.ExtraOperand(1); !fault.empty()) return vork::UsageError(kTool, fault);
  const std::string source = arguments.operands.empty() ? "" : arguments.operands[0];
  std::string output = arguments.Value("-o");
  const std::string listed = arguments.Value("--list");
  if (!listed.empty() && (!source.empty() || !output.empty())) {
    return vork::UsageError(kTool, "--list takes only the image to list");
  }
  if (listed.empty() && source.empty()) return vork::UsageError(kTool, "missing assembly source");
  try {
    if (!listed.empty()) {
      std::cout << vork::Disassemble(vork::ReadImageFile(listed));
      return 0;
    }
    if (output.empty()) output = DefaultOutput(source);
    const auto image = vork::Assemble(ReadText(source), source);
    std::ofstream out(output, std::ios::binary);
    out << vork::ImageFileBytes(image);
    if (!out.flush()) throw vork::EVkError(output + ": cannot write the image");
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "vkasm: " << e.what() << "\n";
    return 1;
  }
}
