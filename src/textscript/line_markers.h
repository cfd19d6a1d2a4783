#pragma once
// Line markers: comment lines "//!line FILE N" that include expansion puts
// into a script, saying that the next line is line N of FILE. The processor
// runs them as comments and reads them only to tell an author where a
// failing line came from.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vork {

inline constexpr std::string_view kLineMarkerPrefix = "//!line ";

// "//!line " + file + " " + line.
std::string LineMarker(std::string_view file, int64_t line);

struct TVkLineMarker {
  std::string file;
  int64_t line = 0;
};

// The file and number of a marker line; nullopt for any other line. The
// number is the text after the last space (so a file name may hold spaces)
// and must be plain decimal digits that fit 32 bits.
std::optional<TVkLineMarker> ParseLineMarker(std::string_view line);

struct TVkLinePosition {
  std::string file;
  // 0 when the line cannot be placed.
  int64_t line = 0;
  // The included files named by markers (lower case, each once, in order of
  // appearance, the main file left out).
  std::vector<std::string> includes;
};

// Where line k (1-based) of an expanded script came from. Lines before the
// first marker belong to main_file; a marker makes the next line line N of
// its file (named in lower case). k outside the list gives line 0.
TVkLinePosition LinePosition(std::string_view main_file, const std::vector<std::string>& lines, int64_t k);

}  // namespace vork
