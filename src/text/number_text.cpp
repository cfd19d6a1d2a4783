#include "text/number_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>

#include "text/normalize.h"
#include "text/text_limits.h"
#include "platform/errors.h"
#include "platform/random.h"

namespace vork {
namespace {

// A decimal number with an optional sign, "." as the point and an optional
// exponent; blanks around it are ignored. Not "inf", "nan" or hexadecimal.
std::optional<double> ParseDecimal(std::string_view text) {
  text = TrimBlanks(text);
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  const auto starts_number = [](std::string_view t) {
    if (t.empty()) return false;
    const auto is_digit = [](char c) { return c >= '0' && c <= '9'; };
    return is_digit(t[0]) || (t[0] == '.' && t.size() > 1 && is_digit(t[1]));
  };
  if (!starts_number(text)) return std::nullopt;
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value,
                                            std::chars_format::general);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return negative ? -value : value;
}

std::string FixedPoint(double value, int decimals, std::string_view separator) {
  // 309 digits before the point at most, a sign and the point.
  std::string text(320 + static_cast<size_t>(decimals), '\0');
  const auto [end, error] = std::to_chars(text.data(), text.data() + text.size(), value,
                                          std::chars_format::fixed, decimals);
  Check(error == std::errc());
  text.resize(static_cast<size_t>(end - text.data()));
  // A tiny negative result rounds to zero; "-0.00" would read as a sign error.
  if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) {
    text.erase(0, 1);
  }
  std::string result;
  for (char c : text) {
    if (c == '.') {
      result.append(separator);
    } else {
      result += c;
    }
  }
  return result;
}

void CheckDecimals(const char* utility, int decimals) {
  if (decimals < 0 || decimals > kMaxDecimals) {
    throw EVkError(std::string(utility) + ": " + std::to_string(decimals) +
                   " decimals; the number of decimals must be 0 to " +
                   std::to_string(kMaxDecimals));
  }
}

template <typename Operation>
std::string FormatResult(const char* utility, std::string_view a, std::string_view b,
                         int decimals, std::string_view separator, Operation operation) {
  CheckDecimals(utility, decimals);
  const auto left = ParseDecimal(a);
  const auto right = ParseDecimal(b);
  if (!left || !right) return {};
  const double value = operation(*left, *right);
  if (!std::isfinite(value)) return {};
  return FixedPoint(value, decimals, separator);
}

std::string ZeroPadded(std::int64_t value, int width) {
  std::string text = std::to_string(value);
  const size_t wanted = static_cast<size_t>(std::max(width, 0));
  if (text.size() >= wanted) return text;
  // Zeros go after the sign: "-07", not "0-7".
  const size_t digits_start = value < 0 ? 1 : 0;
  text.insert(digits_start, wanted - text.size(), '0');
  return text;
}

}  // namespace

std::string FormatProduct(std::string_view a, std::string_view b, int decimals,
                          std::string_view separator) {
  return FormatResult("FormatProduct", a, b, decimals, separator,
                      [](double x, double y) { return x * y; });
}

std::string FormatQuotient(std::string_view a, std::string_view b, int decimals,
                           std::string_view separator) {
  return FormatResult("FormatQuotient", a, b, decimals, separator,
                      [](double x, double y) { return x / y; });
}

std::string FormatFixed(double value, int decimals) {
  CheckDecimals("FormatFixed", decimals);
  return FixedPoint(value, decimals, ".");
}

std::string GroupThousands(std::string_view digits) {
  std::string sign;
  if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
    sign = digits.front();
    digits.remove_prefix(1);
  }
  std::string tail;
  while (digits.size() >= 4) {
    tail.insert(0, "." + std::string(digits.substr(digits.size() - 3)));
    digits.remove_suffix(3);
  }
  return sign + std::string(digits) + tail;
}

std::string RandomPermutation(int lower, int upper, int width, std::string_view separator) {
  if (upper < lower) return {};
  const auto count = static_cast<std::uint64_t>(std::int64_t{upper} - lower) + 1;
  const auto widest = std::max({std::to_string(lower).size(), std::to_string(upper).size(),
                                static_cast<size_t>(std::max(width, 0))});
  CheckMadeTextSize("RandomPermutation", count * (widest + separator.size()));
  std::string result;
  result.reserve(count * (widest + separator.size()));
  for (const size_t offset : Random().Permutation(count)) {
    if (!result.empty()) result.append(separator);
    result += ZeroPadded(lower + static_cast<std::int64_t>(offset), width);
  }
  return result;
}

}  // namespace vork
