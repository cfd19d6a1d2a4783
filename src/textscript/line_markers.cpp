#include "textscript/line_markers.h"

#include <algorithm>
#include <charconv>

#include "platform/cp1252.h"

namespace vork {

std::string LineMarker(std::string_view file, int64_t line) {
  std::string marker(kLineMarkerPrefix);
  marker += file;
  marker += ' ';
  marker += std::to_string(line);
  return marker;
}

std::optional<TVkLineMarker> ParseLineMarker(std::string_view line) {
  if (!line.starts_with(kLineMarkerPrefix)) return std::nullopt;
  const std::string_view rest = line.substr(kLineMarkerPrefix.size());
  const size_t space = rest.rfind(' ');
  if (space == std::string_view::npos) return std::nullopt;
  const std::string_view digits = rest.substr(space + 1);
  if (digits.empty() || !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  int32_t number = 0;
  const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
  if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
  return TVkLineMarker{std::string(rest.substr(0, space)), number};
}

TVkLinePosition LinePosition(std::string_view main_file, const std::vector<std::string>& lines, int64_t k) {
  TVkLinePosition position{std::string(main_file), 0, {}};
  std::string current_file(main_file);
  int64_t counter = 0;
  for (size_t index = 0; index < lines.size(); ++index) {
    ++counter;
    if (static_cast<int64_t>(index) + 1 == k) {
      position.file = current_file;
      position.line = counter;
    }
    std::optional<TVkLineMarker> marker = ParseLineMarker(lines[index]);
    if (!marker) continue;
    current_file = LowerCase(marker->file);
    counter = marker->line - 1;
    if (!EqualsIgnoreCase(current_file, main_file) &&
        std::find(position.includes.begin(), position.includes.end(), current_file) == position.includes.end()) {
      position.includes.push_back(current_file);
    }
  }
  return position;
}

}  // namespace vork
