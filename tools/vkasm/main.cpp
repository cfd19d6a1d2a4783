// vkasm: assembles a source file into a bytecode image, or lists an image.
//   vkasm SOURCE.vkasm [-o IMAGE]     (default IMAGE: SOURCE with .vkbc)
//   vkasm --list IMAGE

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "platform/errors.h"
#include "vkasm/assembler.h"
#include "vkasm/disassembler.h"
#include "vm/image.h"

namespace {

int Usage() {
  std::cerr << "usage: vkasm SOURCE [-o IMAGE]\n       vkasm --list IMAGE\n";
  return 2;
}

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
  try {
    if (argc == 3 && std::string(argv[1]) == "--list") {
      std::cout << vork::Disassemble(vork::ReadImageFile(argv[2]));
      return 0;
    }
    std::string source;
    std::string output;
    for (int i = 1; i < argc; ++i) {
      const std::string argument = argv[i];
      if (argument == "-o" && i + 1 < argc) {
        output = argv[++i];
      } else if (source.empty() && !argument.empty() && argument[0] != '-') {
        source = argument;
      } else {
        return Usage();
      }
    }
    if (source.empty()) return Usage();
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
