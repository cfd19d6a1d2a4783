#include "exercises/gapfill/gap_markup.h"

#include <algorithm>

#include "text/normalize.h"

namespace vork {

namespace {

// Only a lower-case "<gap " with its blank opens a gap tag.
constexpr std::string_view kGapTagStart = "<gap ";

GapTokenKind KindOfTag(std::string_view tag) {
  if (!tag.starts_with(kGapTagStart)) return GapTokenKind::kText;
  const std::string type = GapTagAttribute(tag, "type");
  if (type.empty()) return GapTokenKind::kText;
  if (type == "write") return GapTokenKind::kWriteGap;
  if (type == "multi") return GapTokenKind::kMultiGap;
  return GapTokenKind::kOtherGap;
}

}  // namespace

std::vector<GapMarkupToken> ReadGapMarkupLine(std::string_view line) {
  std::vector<GapMarkupToken> tokens;
  for (std::string_view rest = TrimBlanks(line); !rest.empty(); rest = TrimBlanks(rest)) {
    if (rest.front() == '<') {
      const size_t close = rest.find('>');
      if (close == std::string_view::npos) break;
      const std::string_view tag = rest.substr(0, close + 1);
      tokens.push_back({KindOfTag(tag), std::string(tag)});
      rest.remove_prefix(close + 1);
    } else {
      const auto blank = std::find_if(rest.begin(), rest.end(), IsBlank);
      const auto length = static_cast<size_t>(blank - rest.begin());
      tokens.push_back({GapTokenKind::kText, std::string(rest.substr(0, length))});
      rest.remove_prefix(length);
    }
  }
  return tokens;
}

std::string GapTagAttribute(std::string_view tag, std::string_view name) {
  const std::string opening = std::string(name) + "=\"";
  const size_t at = tag.find(opening);
  if (at == std::string_view::npos) return {};
  const size_t start = at + opening.size();
  const size_t end = tag.find('"', start);
  if (end == std::string_view::npos) return {};
  return std::string(tag.substr(start, end - start));
}

std::string GapComment(std::string_view tag, bool spell_mode) {
  std::string comment = GapTagAttribute(tag, "comment");
  if (comment.empty() && spell_mode) comment = "!spell";
  return comment;
}

}  // namespace vork
