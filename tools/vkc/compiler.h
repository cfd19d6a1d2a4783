#pragma once
// The course language compiler: source text to a bytecode image laid out as
// the player expects (routines, then globals and string constants; a start
// routine that creates the system object and the global strings and calls
// main; a stop routine that destroys them). Message sends are resolved
// through a ClassDeclarations. The language is described in README.md.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "vkasm/assembler.h"
#include "vkc/declarations.h"
#include "vkc/lexer.h"
#include "vm/source_map.h"

namespace vork {

struct CompiledCourse {
  AssembledImage image;
  std::string listing;  // the generated assembly, in vkasm syntax
  SourceMap map;        // file 0 is file_name as given; imports relative to its folder
  std::vector<std::string> files;  // every source read, as opened: the main one first
};

// The text of the source file at path; EVkError when it cannot be read.
using SourceReader = std::function<std::string(const std::string& path)>;
std::string ReadSourceFile(const std::string& path);

// Raises CompileError ("FILE:LINE:COLUMN: message") on the first fault.
// Imports are read through read_source, relative to the importing file.
CompiledCourse CompileCourse(std::string_view source, std::string_view file_name,
                             const ClassDeclarations& classes = ClassDeclarations::BuiltIn(),
                             const SourceReader& read_source = ReadSourceFile);

}  // namespace vork
