#pragma once
// The byte-string operations that the system object offers the bytecode
// besides fields and answers: search, cut, replace, integers in and out,
// file extensions. Positions count from 0 and lengths in bytes; counts and
// positions come from the bytecode unchecked, so every out-of-range value has
// a defined answer instead of a fault.

#include <cstdint>
#include <string>
#include <string_view>

namespace vork {

// Position of the first occurrence of sub in text, case-sensitive; -1 when
// absent or when sub is empty.
int PositionOf(std::string_view sub, std::string_view text);

// `count` bytes from `index`, fewer at the end of the text. A negative index
// counts as 0; a count of 0 or less, or an index past the end, gives empty.
std::string CopyBytes(std::string_view text, int index, int count);

// The text without `count` bytes from `index` (to the end when fewer
// remain). Unchanged when the index is negative or past the end, or the
// count is 0 or less.
std::string DeleteBytes(std::string_view text, int index, int count);

// Every occurrence of `from` replaced by `to`, left to right and
// case-sensitive; an empty `from` changes nothing.
std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

// A decimal integer ("-12", "+7") or "$" and up to eight hexadecimal digits
// ("$FF", "-$10", "$FFFFFFFF" is -1), blanks around it ignored. Anything else,
// or a decimal number outside the 32-bit range, raises EVkError
// "'text' is not a valid integer value".
std::int32_t ParseInteger(std::string_view text);

// The word as upper-case hexadecimal of its 32 bits (-1 is "FFFFFFFF"), with
// leading zeros up to `digits` digits. Raises EVkError for an absurd width
// (text_limits.h).
std::string HexText(std::int32_t value, int digits);

// The file name with its extension (from the last "." after the last "/" or
// "\") replaced by `extension`, which includes its dot; an empty extension
// removes it. A name without an extension gets one.
std::string ChangeExtension(std::string_view file_name, std::string_view extension);

}  // namespace vork
