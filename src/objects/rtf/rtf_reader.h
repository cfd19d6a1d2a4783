#pragma once
// Our reader for the rich text that courses ship: the subset rich-edit
// controls write (paragraphs, bold, italic, underline, strike-out, font and
// colour tables, font sizes, alignment, indents and spacing, line breaks,
// tabs, \'xx Windows-1252 escapes, \uN Unicode with its fallback text).
// Every other control word is ignored, and every destination group the
// reader does not know (\* groups, pictures, style sheets, headers ...) is
// skipped whole.
//
// The data is untrusted. Groups are tracked on a heap stack, never by
// recursion; groups nested deeper than kMaxRtfGroupDepth are skipped with
// their content; numbers saturate and are clamped to what their word means;
// a missing closing brace ends the document at the end of the data, and
// whatever follows the document's outer group is ignored.

#include <string_view>

#include "objects/rtf/rtf_document.h"

namespace vork {

inline constexpr int kMaxRtfGroupDepth = 256;

// True when text starts as an RTF document does ("{\rtf"): such a text
// resource is shown formatted, anything else as plain lines.
bool LooksLikeRtf(std::string_view text);

RtfDocument ReadRtf(std::string_view data);

}  // namespace vork
