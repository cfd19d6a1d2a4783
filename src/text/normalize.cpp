#include "text/normalize.h"

#include <algorithm>

#include "platform/cp1252.h"

namespace vork {

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string NormalizeSpaces(std::string_view text) {
  text = TrimBlanks(text);
  std::string result;
  result.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    // Inside a run only its last byte is kept; the trim guarantees that a
    // run is always followed by a non-blank.
    if (IsBlank(text[i]) && IsBlank(text[i + 1])) continue;
    result += text[i];
  }
  return result;
}

std::string NormalizeApostrophes(std::string_view text) {
  std::string result(text);
  std::replace_if(
      result.begin(), result.end(), [](char c) { return c == '\xB4' || c == '\x92'; }, '\'');
  return result;
}

std::string NormalizeAnswer(std::string_view text) {
  return LowerCase(NormalizeApostrophes(NormalizeSpaces(text)));
}

}  // namespace vork
