// vkc: compiles a course source into a bytecode image or a course executable.
//   vkc SOURCE.vkc [-o OUT] [--listing] [--classes FILE] [--bundle PLAYER]
// -o OUT          the image (default: SOURCE with .vkbc), or with --bundle the
//                 course executable (default: SOURCE without its extension)
// --listing       also print the generated assembly on standard output
// --classes FILE  resolve messages through FILE instead of the built-in
//                 declaration file (classes.vkd, also copied beside vkc)
// --bundle PLAYER write a copy of PLAYER carrying the image as BYTECODE_BIN

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "archives/embedded_resources.h"
#include "platform/errors.h"
#include "vkc/compiler.h"

namespace {

int Usage() {
  std::cerr << "usage: vkc SOURCE [-o OUT] [--listing] [--classes FILE] [--bundle PLAYER]\n";
  return 2;
}

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
      custom = vork::ClassDeclarations::Parse(vork::ReadSourceFile(options.classes), options.classes);
    }
    const auto course = vork::CompileCourse(vork::ReadSourceFile(options.source), options.source,
                                            custom ? *custom : vork::ClassDeclarations::BuiltIn());
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
