#pragma once
// An archive location names a resource's bytes inside an archive file:
// "path@offset,size" with decimal numbers. A plain path may itself contain
// "@", so a location is split at the last "@" that is followed by decimal
// digits, a comma and decimal digits up to the end.
//
// Header-only, so that the sound library can share it without linking the
// archive code.

#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vork {

struct ArchiveLocation {
  std::string path;
  uint64_t offset = 0;
  uint64_t size = 0;
};

inline std::string FormatArchiveLocation(std::string_view path, uint64_t offset, uint64_t size) {
  return std::string(path) + "@" + std::to_string(offset) + "," + std::to_string(size);
}

// The parts of a location; nullopt for a plain path.
inline std::optional<ArchiveLocation> ParseArchiveLocation(std::string_view text) {
  auto all_digits = [](std::string_view part) {
    if (part.empty()) return false;
    for (char c : part)
      if (c < '0' || c > '9') return false;
    return true;
  };
  size_t at = text.rfind('@');
  if (at == std::string_view::npos) return std::nullopt;
  std::string_view numbers = text.substr(at + 1);
  size_t comma = numbers.find(',');
  if (comma == std::string_view::npos) return std::nullopt;
  std::string_view offset = numbers.substr(0, comma);
  std::string_view size = numbers.substr(comma + 1);
  if (!all_digits(offset) || !all_digits(size)) return std::nullopt;
  ArchiveLocation location;
  location.path = std::string(text.substr(0, at));
  if (std::from_chars(offset.data(), offset.data() + offset.size(), location.offset).ec !=
          std::errc() ||
      std::from_chars(size.data(), size.data() + size.size(), location.size).ec != std::errc())
    return std::nullopt;  // out of range: not a location we could have written
  return location;
}

inline bool IsArchiveLocation(std::string_view text) {
  return ParseArchiveLocation(text).has_value();
}

}  // namespace vork
