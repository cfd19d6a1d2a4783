#pragma once
// The markup of a gap-fill text: each line is a paragraph of words and gap
// tags such as
//   The <gap type="write" items="went|has gone" comment="past tense"> on the
//   <gap type="multi" items="mat*|hat|bat">
// Course text is untrusted: reading a line is linear in its length and
// accepts anything (an unterminated tag ends the line's words).

#include <string>
#include <string_view>
#include <vector>

namespace vork {

enum class GapTokenKind {
  kText,      // a word, drawn exactly as written (also a tag that is no gap)
  kWriteGap,  // type "write": an edit field
  kMultiGap,  // type "multi": a drop-down list
  kOtherGap,  // a gap tag of any other type: takes no room, shows nothing
};

struct GapMarkupToken {
  GapTokenKind kind = GapTokenKind::kText;
  // The word, or the whole tag from "<" to ">".
  std::string text;

  bool operator==(const GapMarkupToken&) const = default;
};

// The tokens of one line, left to right. Blanks (bytes below 33) separate
// words; a token starting with "<" runs to the first ">" after it, blanks
// included, and a "<" without a ">" drops the rest of the line.
std::vector<GapMarkupToken> ReadGapMarkupLine(std::string_view line);

// The value of name="..." in tag: the first occurrence of the name followed
// by `="` (letter case counts), up to the next double quote. Empty when the
// attribute is missing or its quote is never closed.
std::string GapTagAttribute(std::string_view tag, std::string_view name);

// The comment a gap tag gives its gap: its comment attribute, or "!spell"
// when that is empty and spell mode is on.
std::string GapComment(std::string_view tag, bool spell_mode);

}  // namespace vork
