#pragma once
// Macros in text-script lines: "%@" KIND "[" NAME "]" stands for the value of
// variable NAME in the variable set KIND ("sceneVar", "userVar", "appVar").

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vork {

// The value of a variable, or nullopt when kind names no variable set.
using MacroValue = std::function<std::optional<std::string>(std::string_view kind, std::string_view name)>;

// A script can feed a variable into itself ("set v %@sceneVar[v]%@sceneVar[v]"
// in a loop doubles it); the limit stops that long before memory runs out.
inline constexpr size_t kMaxExpandedLine = 1 << 20;

enum class MacroResult { kExpanded, kMalformed, kTooLong };

// Replaces the macros of line from its end towards its start; an inserted
// value is never searched again, so a value holding "%@" stays as it is.
// kMalformed for a malformed macro or an unknown kind, kTooLong when the
// line would grow beyond kMaxExpandedLine; line is then left partly expanded.
MacroResult ExpandMacros(std::string& line, const MacroValue& value);

}  // namespace vork
