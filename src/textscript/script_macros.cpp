#include "textscript/script_macros.h"

namespace vork {

namespace {
constexpr std::string_view kMacroStart = "%@";
}

MacroResult ExpandMacros(std::string& line, const MacroValue& value) {
  // Only a "%@" that ends before `limit` is still unexpanded text.
  size_t limit = line.size();
  while (limit >= kMacroStart.size()) {
    const size_t start = line.rfind(kMacroStart, limit - kMacroStart.size());
    if (start == std::string::npos) return MacroResult::kExpanded;
    const size_t open = line.find('[', start + kMacroStart.size());
    if (open == std::string::npos) return MacroResult::kMalformed;
    const size_t close = line.find(']', open + 1);
    if (close == std::string::npos) return MacroResult::kMalformed;
    const std::string_view text(line);
    const std::optional<std::string> replacement =
        value(text.substr(start + kMacroStart.size(), open - start - kMacroStart.size()),
              text.substr(open + 1, close - open - 1));
    if (!replacement) return MacroResult::kMalformed;
    if (line.size() - (close + 1 - start) + replacement->size() > kMaxExpandedLine) return MacroResult::kTooLong;
    line.replace(start, close + 1 - start, *replacement);
    limit = start;
  }
  return MacroResult::kExpanded;
}

}  // namespace vork
