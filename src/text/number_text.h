#pragma once
// Numbers written as course text. Written and read without the C locale:
// the decimal point is always "." on input, whatever the learner's locale.

#include <string>
#include <string_view>

namespace vork {

// a × b and a ÷ b of two decimal texts ("2.5", "-1e3"), written in fixed
// point with exactly `decimals` digits after the point and that point
// replaced by `separator` (any text, also empty). Empty when a text is not a
// number or the result is not finite (a division by zero). Raises EVkError
// when decimals is outside 0 … kMaxDecimals.
inline constexpr int kMaxDecimals = 1000;
std::string FormatProduct(std::string_view a, std::string_view b, int decimals,
                          std::string_view separator);
std::string FormatQuotient(std::string_view a, std::string_view b, int decimals,
                           std::string_view separator);

// The value in fixed point with exactly `decimals` digits after a ".",
// whatever the locale (0.1234 with 3 gives "0.123"). Raises EVkError when
// decimals is outside 0 … kMaxDecimals.
std::string FormatFixed(double value, int decimals);

// "1234567" -> "1.234.567": a "." before every group of three digits counted
// from the right. A leading sign stays in front ("-123" -> "-123").
std::string GroupThousands(std::string_view digits);

// lower … upper, each once, in random order (the program's one generator),
// each written at least `width` characters wide with leading zeros ("07",
// "-07"), joined by separator. Empty when upper < lower. Raises EVkError when
// the text would be unreasonably long (text_limits.h).
std::string RandomPermutation(int lower, int upper, int width, std::string_view separator);

}  // namespace vork
