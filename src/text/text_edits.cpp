#include "text/text_edits.h"

#include <algorithm>
#include <charconv>

#include "text/normalize.h"
#include "text/text_limits.h"
#include "platform/errors.h"

namespace vork {

int PositionOf(std::string_view sub, std::string_view text) {
  if (sub.empty()) return -1;
  const size_t position = text.find(sub);
  return position == std::string_view::npos ? -1 : static_cast<int>(position);
}

std::string CopyBytes(std::string_view text, int index, int count) {
  const size_t start = static_cast<size_t>(std::max(index, 0));
  if (count <= 0 || start >= text.size()) return {};
  return std::string(text.substr(start, static_cast<size_t>(count)));
}

std::string DeleteBytes(std::string_view text, int index, int count) {
  std::string result(text);
  if (index < 0 || static_cast<size_t>(index) >= text.size() || count <= 0) return result;
  result.erase(static_cast<size_t>(index), static_cast<size_t>(count));
  return result;
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  if (from.empty()) return std::string(text);
  std::string result;
  size_t start = 0;
  for (size_t found; (found = text.find(from, start)) != std::string_view::npos;
       start = found + from.size()) {
    result.append(text.substr(start, found - start));
    result.append(to);
  }
  result.append(text.substr(start));
  return result;
}

std::int32_t ParseInteger(std::string_view text) {
  const auto invalid = [&] {
    return EVkError("'" + std::string(text) + "' is not a valid integer value");
  };
  std::string_view digits = TrimBlanks(text);
  bool negative = false;
  if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
    negative = digits.front() == '-';
    digits.remove_prefix(1);
  }
  const bool hexadecimal = !digits.empty() && digits.front() == '$';
  if (hexadecimal) digits.remove_prefix(1);
  // from_chars takes no sign of its own here, so "--1" and "$-1" fail.
  if (digits.empty() || digits.front() == '-' || digits.front() == '+') throw invalid();
  std::uint64_t magnitude = 0;
  const auto [end, error] =
      std::from_chars(digits.data(), digits.data() + digits.size(), magnitude, hexadecimal ? 16 : 10);
  if (error != std::errc() || end != digits.data() + digits.size()) throw invalid();
  if (hexadecimal) {
    // Hexadecimal names the word's 32 bits: "$FFFFFFFF" is -1.
    if (magnitude > UINT32_MAX) throw invalid();
    const auto word = static_cast<std::int32_t>(static_cast<std::uint32_t>(magnitude));
    return negative ? static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(word)) : word;
  }
  const std::uint64_t limit = negative ? std::uint64_t{INT32_MAX} + 1 : INT32_MAX;
  if (magnitude > limit) throw invalid();
  return negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(magnitude))
                  : static_cast<std::int32_t>(magnitude);
}

std::string HexText(std::int32_t value, int digits) {
  CheckMadeTextSize("HexText", static_cast<std::uint64_t>(std::max(digits, 0)));
  char buffer[8];
  const auto [end, error] =
      std::to_chars(buffer, buffer + sizeof buffer, static_cast<std::uint32_t>(value), 16);
  Check(error == std::errc());
  std::string text(buffer, end);
  std::transform(text.begin(), text.end(), text.begin(),
                 [](char c) { return c >= 'a' && c <= 'f' ? static_cast<char>(c - 'a' + 'A') : c; });
  if (text.size() < static_cast<size_t>(std::max(digits, 0))) {
    text.insert(0, static_cast<size_t>(digits) - text.size(), '0');
  }
  return text;
}

std::string ChangeExtension(std::string_view file_name, std::string_view extension) {
  const size_t dot = file_name.find_last_of("./\\");
  const size_t stem_end =
      dot != std::string_view::npos && file_name[dot] == '.' ? dot : file_name.size();
  std::string result(file_name.substr(0, stem_end));
  result.append(extension);
  return result;
}

}  // namespace vork
