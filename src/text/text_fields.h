#pragma once
// Separated fields of a course text ("red,green,blue" under ','). Indexes
// count from 0; the separator is a single byte.

#include <string>
#include <string_view>

namespace vork {

// 0 for the empty text, else 1 + the number of separator bytes.
int FieldCount(std::string_view text, char separator);

// The field with that index; empty when the text is empty, the index is
// negative or the text has fewer fields.
std::string Field(std::string_view text, char separator, int index);

// The text with field `index` replaced. An index past the last field adds
// empty fields up to it; a negative index leaves the text as it is.
std::string ReplaceField(std::string_view text, char separator, int index,
                         std::string_view replacement);

}  // namespace vork
