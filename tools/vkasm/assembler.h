#pragma once
// The assembler: readable text (syntax in README.md) to a code-and-data area
// with its two entries.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace vork {

struct AssembledImage {
  std::vector<uint8_t> area;
  int32_t start_entry = 0;
  int32_t stop_entry = 0;
  // Labels, globals and named strings with their offsets in the area.
  std::map<std::string, int32_t, std::less<>> symbols;
};

// Assembles source; on the first fault raises EVkError with the text
// "FILE:LINE: message".
AssembledImage Assemble(std::string_view source, std::string_view file_name = "<source>");

// The whole image file (header and area) as bytes.
std::string ImageFileBytes(const AssembledImage& image);

}  // namespace vork
