// vkc: compiles a course source into a bytecode image or a course executable.
//   vkc SOURCE.vkc [-o OUT] [--listing] [--classes FILE] [--bundle PLAYER]
// -o OUT          the image (default: SOURCE with .vkbc), or with --bundle the
//                 course executable (default: SOURCE without its extension)
// --listing       also print the generated assembly on standard output
// --classes FILE  resolve messages through FILE instead of the built-in
//                 declaration file (classes.vkd, also copied beside vkc)
// --bundle PLAYER write a copy of PLAYER carrying the image as BYTECODE_BIN
// --check         compile and warn, but write nothing
// --werror        warnings count as errors: nothing is written, exit 1

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "archives/embedded_resources.h"
#include "platform/errors.h"
#include "vkc/compiler.h"

namespace {

int Usage() {
  std::cerr << "usage: vkc SOURCE [-o OUT] [--listing] [--classes FILE] [--bundle PLAYER] [--check] [--werror]\n";
  return 2;
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw vork::EVkError(path + ": cannot open the file");
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
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

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    const bool has_value = i + 1 < argc;
    if (argument == "-o" && has_value) {
      options.output = argv[++i];
    } else if (argument == "--classes" && has_value) {
      options.classes = argv[++i];
    } else if (argument == "--bundle" && has_value) {
      options.player = argv[++i];
    } else if (argument == "--listing") {
      options.listing = true;
    } else if (argument == "--check") {
      options.check = true;
    } else if (argument == "--werror") {
      options.werror = true;
    } else if (options.source.empty() && !argument.empty() && argument[0] != '-') {
      options.source = argument;
    } else {
      return false;
    }
  }
  return !options.source.empty();
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) return Usage();
  try {
    std::optional<vork::ClassDeclarations> custom;
    if (!options.classes.empty()) {
      custom = vork::ClassDeclarations::Parse(ReadText(options.classes), options.classes);
    }
    const auto course = vork::CompileCourse(ReadText(options.source), options.source,
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
      vork::WriteWithEmbeddedResources(options.player, out, {{"BYTECODE_BIN", image}});
      return 0;
    }
    const std::string out = options.output.empty() ? WithoutExtension(options.source) + ".vkbc" : options.output;
    std::ofstream file(out, std::ios::binary);
    file << image;
    if (!file.flush()) throw vork::EVkError(out + ": cannot write the image");
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "vkc: " << e.what() << "\n";
    return 1;
  }
}
