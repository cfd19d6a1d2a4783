#pragma once
// Word and line lists built from course text: command arguments of text
// scripts, keyed lines ("key<TAB>value") of string lists.

#include <string>
#include <string_view>
#include <vector>

namespace vork {

// Clears `words` and fills it with the words of `text`: separated by blanks,
// or quoted with double quotes or backquotes to hold spaces (say "good
// morning" to -> say, good morning, to). A quoted word may be empty and may be
// followed directly by the next word. An unterminated quote raises EVkError
// "Quotation mismatch: " + text; `words` then holds the words before it.
void SplitWords(std::string_view text, std::vector<std::string>& words);

// The first line that is `key` itself or starts with `key` and a tab, whole;
// empty when there is none or the key is empty.
std::string FindKeyedLine(const std::vector<std::string>& lines, std::string_view key);

}  // namespace vork
