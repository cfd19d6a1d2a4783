// vkc: compiles a course source into a bytecode image (and its source map)
// or a course executable. The options are in kTool's usage text.

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "archives/embedded_resources.h"
#include "cli/tool_command_line.h"
#include "platform/errors.h"
#include "vkc/compiler.h"

namespace {

constexpr vork::ToolDescription kTool{"vkc", R"(Usage: vkc [OPTION]... SOURCE.vkc
Compile a course source (and the files it imports) into a bytecode image
SOURCE.vkbc and its source map SOURCE.vkmap beside it.

  -o OUT           write the image to OUT (the map beside it, as OUT's name
                   with .vkmap), or with --bundle the course executable
                   (default: SOURCE without its extension)
      --listing    also print the generated assembly on standard output
      --classes FILE  resolve messages through FILE instead of the built-in
                   declarations (classes.vkd, also copied beside vkc)
      --bundle PLAYER  write a copy of PLAYER carrying the image as
                   BYTECODE_BIN and the source map as SOURCE_MAP
      --check      compile and warn, but write nothing
      --werror     warnings count as errors: nothing is written, exit 1
      --help       display this help and exit
      --version    output version information and exit

Exit status: 0 when compiled, 1 on a compile error, 2 on a usage error.
)"};

void WriteFile(const std::string& path, const std::string& bytes, const std::string& what) {
  std::ofstream file(path, std::ios::binary);
  file << bytes;
  if (!file.flush()) throw vork::EVkError(path + ": cannot write " + what);
}

std::string WithoutExtension(const std::string& path) {
  const auto dot = path.rfind('.');
  const auto slash = path.rfind('/');
  const bool has_extension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
  return has_extension ? path.substr(0, dot) : path;
}

struct Options {
  std::string source;
  std::string output;
  std::string classes;
  std::string player;
  bool listing = false;
  bool check = false;
  bool werror = false;
};

constexpr vork::ToolOption kOptions[] = {
    {"-o", true},          {"--classes", true}, {"--bundle", true},
    {"--listing", false},  {"--check", false},  {"--werror", false},
};

// "" when the arguments are sound, else what is wrong with them.
std::string ParseOptions(int argc, char** argv, Options& options) {
  vork::ToolArguments arguments;
  if (std::string fault = vork::ReadToolArguments(argc, argv, kOptions, arguments); !fault.empty()) return fault;
  if (arguments.operands.empty()) return "missing course source";
  options.source = arguments.operands[0];
  options.output = arguments.Value("-o");
  options.classes = arguments.Value("--classes");
  options.player = arguments.Value("--bundle");
  options.listing = arguments.Has("--listing");
  options.check = arguments.Has("--check");
  options.werror = arguments.Has("--werror");
  return arguments.ExtraOperand(1);
}

}  // namespace

int main(int argc, char** argv) {
  if (const auto answered = vork::AnswerHelpOrVersion(kTool, argc, argv)) return *answered;
  Options options;
  if (const std::string fault = ParseOptions(argc, argv, options); !fault.empty()) {
    return vork::UsageError(kTool, fault);
  }
  try {
    std::optional<vork::ClassDeclarations> custom;
    if (!options.classes.empty()) {
      custom = vork::ClassDeclarations::Parse(vork::ReadSourceFile(options.classes), options.classes);
    }
    const auto course = vork::CompileCourse(vork::ReadSourceFile(options.source), options.source,
                                            custom ? *custom : vork::ClassDeclarations::BuiltIn());
    for (const auto& warning : course.warnings) std::cerr << warning.Text() << "\n";
    if (options.werror && !course.warnings.empty()) {
      std::cerr << "vkc: " << course.warnings.size() << " warning(s) treated as errors\n";
      return 1;
    }
    if (options.check) return 0;
    if (options.listing) std::cout << course.listing;
    const std::string image = vork::ImageFileBytes(course.image);
    if (!options.player.empty()) {
      const std::string out = options.output.empty() ? WithoutExtension(options.source) : options.output;
      if (out == options.source) throw vork::EVkError(out + ": the executable would overwrite the source");
      vork::WriteWithEmbeddedResources(options.player, out,
                                       {{"BYTECODE_BIN", image}, {"SOURCE_MAP", course.map.Format()}});
      return 0;
    }
    const std::string out = options.output.empty() ? WithoutExtension(options.source) + ".vkbc" : options.output;
    WriteFile(out, image, "the image");
    const std::string map = WithoutExtension(out) + ".vkmap";
    if (map == out) throw vork::EVkError(out + ": the source map would overwrite the image");
    WriteFile(map, course.map.Format(), "the source map");
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "vkc: " << e.what() << "\n";
    return 1;
  }
}
