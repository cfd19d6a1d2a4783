#pragma once
// Include expansion: a script resource with every line "#include NAME.inc"
// replaced by the lines of that resource, recursively, each included piece
// framed by line markers (line_markers.h) so that errors can name the file
// and line an author wrote. An include line naming any other extension stays
// as written.
//
// Scripts are course text and may be wrong: an include cycle, nesting deeper
// than kMaxIncludeDepth and an expansion beyond the size limits fail with an
// EVkError naming the file and line of the include line, never by running
// out of stack or memory.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vork {

inline constexpr std::string_view kIncludePrefix = "#include ";

struct TVkIncludeLimits {
  // Include lines inside included files, counted from the main script.
  int max_depth = 32;
  // Far beyond any course script; reached only by includes that multiply.
  size_t max_lines = 1'000'000;
  size_t max_bytes = 64u << 20;
};

// Loads the lines of a named script resource; throws when it cannot.
using ScriptLoader = std::function<std::vector<std::string>(const std::string& name)>;

// Appends the expanded lines of resource to target. A missing main resource
// fails with the loader's error; a missing included one with the loader's
// error followed by where it was included.
void ExpandIncludes(std::string_view resource, std::vector<std::string>& target, const ScriptLoader& load,
                    const TVkIncludeLimits& limits = {});

// The same over the course's resources (ResManager().LoadStrings).
void ExpandIncludes(std::string_view resource, std::vector<std::string>& target);

}  // namespace vork
