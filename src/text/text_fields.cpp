#include "text/text_fields.h"

#include <algorithm>

#include "text/text_limits.h"

namespace vork {

int FieldCount(std::string_view text, char separator) {
  if (text.empty()) return 0;
  return 1 + static_cast<int>(std::count(text.begin(), text.end(), separator));
}

std::string Field(std::string_view text, char separator, int index) {
  if (index < 0) return {};
  size_t start = 0;
  for (int skipped = 0; skipped < index; ++skipped) {
    const size_t next = text.find(separator, start);
    if (next == std::string_view::npos) return {};
    start = next + 1;
  }
  return std::string(text.substr(start, text.find(separator, start) - start));
}

std::string ReplaceField(std::string_view text, char separator, int index,
                         std::string_view replacement) {
  if (index < 0) return std::string(text);
  const int present = FieldCount(text, separator);
  if (index >= present) {
    CheckMadeTextSize("ReplaceField", text.size() + replacement.size() +
                                          static_cast<std::uint64_t>(index - present) + 1);
  }
  std::string result;
  int written = 0;
  if (!text.empty()) {
    for (size_t start = 0;; ++written) {
      const size_t end = text.find(separator, start);
      result.append(written == index ? replacement : text.substr(start, end - start));
      if (end == std::string_view::npos) break;
      result += separator;
      start = end + 1;
    }
    ++written;
  }
  // An index past the end: empty fields up to it, then the replacement.
  for (; written <= index; ++written) {
    if (written > 0) result += separator;
    if (written == index) result.append(replacement);
  }
  return result;
}

}  // namespace vork
