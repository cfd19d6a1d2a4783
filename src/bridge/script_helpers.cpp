#include "bridge/script_helpers.h"

#include <charconv>
#include <string>

namespace vork {

int32_t KeyCodeOf(std::string_view text) {
  if (text.size() == 1) return static_cast<unsigned char>(text[0]);
  if (text.size() == 3 && text[0] == '$') {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data() + 1, text.data() + 3, value, 16);
    if (error == std::errc() && end == text.data() + 3) return value;
  }
  return 0;
}

bool TagMatch(std::string_view tags, std::string_view tag) {
  if (tag.empty()) return true;
  const auto enclosed = [](std::string_view names) {
    std::string text;
    text.reserve(names.size() + 2);
    text += '|';
    text += names;
    text += '|';
    return text;
  };
  return enclosed(tags).find(enclosed(tag)) != std::string::npos;
}

}  // namespace vork
