#pragma once
// Checking a typed answer against the answers a course accepts. The accepted
// answers travel as one text with "|" between them ("colour|color").

#include <string>
#include <string_view>

namespace vork {

// The candidate whose normal form (NormalizeAnswer) shares the longest
// prefix with the input's normal form, as written in the candidates; on a
// tie the earlier one, and the first when none shares a first byte. Empty
// when there are no candidates. Exercises use it as the hint for a
// half-typed answer.
std::string BestAnswer(std::string_view candidates, std::string_view input);

// Whether the input is one of the candidates, compared in normal form.
// Built on BestAnswer: the input matches when the best candidate's normal
// form equals the input's. An input that equals a later candidate also
// matches when an earlier, longer candidate starts with it (the input "ab"
// against "abc|ab"), which BestAnswer alone would reject.
bool IsAcceptedAnswer(std::string_view candidates, std::string_view input);

}  // namespace vork
