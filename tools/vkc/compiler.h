#pragma once
// The course language compiler: source text to a bytecode image laid out as
// the player expects (routines, then globals and string constants; a start
// routine that creates the system object and the global strings and calls
// main; a stop routine that destroys them). Message sends are resolved
// through a ClassDeclarations. The language is described in README.md.

#include <string>
#include <string_view>

#include "vkasm/assembler.h"
#include "vkc/declarations.h"
#include "vkc/lexer.h"
#include "vkc/lint.h"

namespace vork {

struct CompiledCourse {
  AssembledImage image;
  std::string listing;  // the generated assembly, in vkasm syntax
  std::vector<LintWarning> warnings;  // by file and line; none stops the build
};

// Raises CompileError ("FILE:LINE:COLUMN: message") on the first fault;
// what compiles but looks wrong comes back as warnings.
CompiledCourse CompileCourse(std::string_view source, std::string_view file_name,
                             const ClassDeclarations& classes = ClassDeclarations::BuiltIn());

}  // namespace vork
