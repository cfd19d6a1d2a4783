#include "media/oggaudio/sound_location.h"

#include <charconv>

namespace vork {

namespace {

bool IsDecimal(std::string_view text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

bool ParseDecimal(std::string_view text, std::uint64_t& value) {
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

}  // namespace

std::optional<SoundLocation> ParseSoundLocation(std::string_view text) {
  if (text.empty()) return std::nullopt;
  SoundLocation location;
  // Only the last "@" can start a range: after any earlier one the text
  // still holds an "@", which is not a digit.
  std::size_t at = text.rfind('@');
  if (at != std::string_view::npos) {
    std::string_view numbers = text.substr(at + 1);
    std::size_t comma = numbers.find(',');
    if (comma != std::string_view::npos && IsDecimal(numbers.substr(0, comma)) &&
        IsDecimal(numbers.substr(comma + 1))) {
      if (!ParseDecimal(numbers.substr(0, comma), location.offset) ||
          !ParseDecimal(numbers.substr(comma + 1), location.size)) {
        return std::nullopt;
      }
      location.path = std::string(text.substr(0, at));
      location.isRange = true;
      return location;
    }
  }
  location.path = std::string(text);
  return location;
}

}  // namespace vork
