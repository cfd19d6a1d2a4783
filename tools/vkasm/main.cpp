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
  std::string source;
  std::string output;
  std::string listed;
  bool only_operands = false;
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    const bool option = !only_operands && argument.size() > 1 && argument[0] == '-';
    if (option && argument == "--") {
      only_operands = true;
    } else if (option && (argument == "-o" || argument == "--list")) {
      if (i + 1 == argc) return vork::UsageError(kTool, "option '" + argument + "' requires an argument");
      (argument == "-o" ? output : listed) = argv[++i];
    } else if (option) {
      return vork::UsageError(kTool, "unrecognized option '" + argument + "'");
    } else if (source.empty()) {
      source = argument;
    } else {
      return vork::UsageError(kTool, "extra operand '" + argument + "'");
    }
  }
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
