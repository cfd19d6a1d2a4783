#pragma once
// Where a sound lives: a whole file, or a byte range inside a course archive
// written "archive path@offset,size".

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vork {

struct SoundLocation {
  std::string path;
  bool isRange = false;  // false: the whole file
  std::uint64_t offset = 0;
  std::uint64_t size = 0;

  bool operator==(const SoundLocation&) const = default;
};

// Splits at the last "@" when everything after it is decimal digits, a comma
// and decimal digits; otherwise the whole text is a path (paths may contain
// "@"). Answers nothing for an empty text or a range whose numbers do not fit
// in 64 bits.
std::optional<SoundLocation> ParseSoundLocation(std::string_view text);

}  // namespace vork
