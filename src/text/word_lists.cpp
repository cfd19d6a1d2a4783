#include "text/word_lists.h"

#include "text/normalize.h"
#include "platform/errors.h"

namespace vork {

void SplitWords(std::string_view text, std::vector<std::string>& words) {
  words.clear();
  std::string rest(TrimBlanks(text));
  if (rest.empty()) return;
  // The closing space lets the last unquoted word end like every other one.
  rest += ' ';
  std::string_view remaining = rest;
  for (;;) {
    while (!remaining.empty() && IsBlank(remaining.front())) remaining.remove_prefix(1);
    if (remaining.empty()) return;
    char delimiter = ' ';
    if (remaining.front() == '"' || remaining.front() == '`') {
      delimiter = remaining.front();
      remaining.remove_prefix(1);
    }
    const size_t end = remaining.find(delimiter);
    if (end == std::string_view::npos) {
      throw EVkError("Quotation mismatch: " + std::string(text));
    }
    words.emplace_back(remaining.substr(0, end));
    remaining.remove_prefix(end + 1);
  }
}

std::string FindKeyedLine(const std::vector<std::string>& lines, std::string_view key) {
  if (key.empty()) return {};
  for (const std::string& line : lines) {
    const std::string_view view(line);
    if (view.starts_with(key) && (view.size() == key.size() || view[key.size()] == '\t')) {
      return line;
    }
  }
  return {};
}

}  // namespace vork
