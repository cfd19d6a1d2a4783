#include "textscript/script_numbers.h"

#include <charconv>
#include <cmath>

namespace vork {

std::optional<int32_t> ParseScriptInteger(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  const bool hexadecimal = !text.empty() && text.front() == '$';
  if (hexadecimal) text.remove_prefix(1);
  // from_chars would take a sign of its own.
  if (text.empty() || text.front() == '-' || text.front() == '+') return std::nullopt;
  if (hexadecimal && text.size() > 8) return std::nullopt;
  uint64_t magnitude = 0;
  const auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), magnitude, hexadecimal ? 16 : 10);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (hexadecimal) {
    const auto bits = static_cast<uint32_t>(magnitude);
    return static_cast<int32_t>(negative ? 0u - bits : bits);
  }
  if (magnitude > (uint64_t{1} << 31)) return std::nullopt;
  const int64_t value = negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude);
  if (value > INT32_MAX) return std::nullopt;
  return static_cast<int32_t>(value);
}

std::optional<double> ParseScriptNumber(std::string_view text) {
  if (text.find('.') == std::string_view::npos) {
    const std::optional<int32_t> integer = ParseScriptInteger(text);
    if (!integer) return std::nullopt;
    return static_cast<double>(*integer);
  }
  // from_chars takes a "-" but no "+", and one sign only.
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (text.empty() || text.front() == '-') return std::nullopt;
  }
  if (text.empty() || text.front() == '+') return std::nullopt;
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace vork
