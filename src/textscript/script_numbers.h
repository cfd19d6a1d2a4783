#pragma once
// Numbers written in text scripts, read without the C locale.

#include <cstdint>
#include <optional>
#include <string_view>

namespace vork {

// An optional "-" or "+", then decimal digits (within the 32-bit range) or
// "$" and one to eight hexadecimal digits (their 32-bit pattern: "$FFFFFFFF"
// is -1). Nothing else, no blanks.
std::optional<int32_t> ParseScriptInteger(std::string_view text);

// A text holding "." is a decimal fraction with "." as the decimal point
// (an exponent allowed: "1.5e3"), any other text an integer as above.
// Infinities and NaN are not numbers.
std::optional<double> ParseScriptNumber(std::string_view text);

}  // namespace vork
