#pragma once
// Macros in text-script lines: "%@" KIND "[" NAME "]" stands for the value of
// variable NAME in the variable set KIND ("sceneVar", "userVar", "appVar").

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace vork {

// The value of a variable, or nullopt when kind names no variable set.
using MacroValue = std::function<std::optional<std::string>(std::string_view kind, std::string_view name)>;

// Replaces the macros of line from its end towards its start; an inserted
// value is never searched again, so a value holding "%@" stays as it is.
// Answers false for a malformed macro or an unknown kind (line is then left
// partly expanded).
bool ExpandMacros(std::string& line, const MacroValue& value);

}  // namespace vork
