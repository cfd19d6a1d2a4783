#pragma once
// Normal forms of course text, mostly for comparing typed answers. A "blank"
// is any byte below 33: space, tab, line breaks and the other controls.

#include <string>
#include <string_view>

namespace vork {

inline bool IsBlank(char c) { return static_cast<unsigned char>(c) < 33; }

// The text without leading and trailing blanks.
std::string_view TrimBlanks(std::string_view text);

// Trimmed, and every run of blanks inside reduced to the run's last byte
// ("a \t b" gives "a b", "a  \tb" gives "a\tb").
std::string NormalizeSpaces(std::string_view text);

// The acute accent (180) and the right single quotation mark (146), which
// keyboards and word processors put in place of an apostrophe, become "'".
std::string NormalizeApostrophes(std::string_view text);

// NormalizeSpaces, NormalizeApostrophes, then Windows-1252 lower case: the
// form in which typed answers are compared.
std::string NormalizeAnswer(std::string_view text);

}  // namespace vork
