#pragma once
// The largest text a utility builds from counts the bytecode passes in (a
// field index, a range of numbers, a number of decimals). Without it one bad
// word would ask for gigabytes; with it the course author gets a message
// naming the utility and the size.

#include <cstdint>
#include <string_view>

namespace vork {

inline constexpr std::uint64_t kMaxMadeTextBytes = std::uint64_t{16} << 20;

// Raises EVkError when a text of `bytes` bytes would exceed the limit.
void CheckMadeTextSize(std::string_view utility, std::uint64_t bytes);

}  // namespace vork
