#pragma once
// The bytecode image file: a 20-byte header (magic "VKBC", a reserved word,
// the start entry, the stop entry, the area length; little-endian words)
// followed by the code-and-data area. Of the header only the two entries
// matter to the player: the magic is not compared and the area is whatever
// follows the header.

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace vork {

struct TVkImageHeader {
  static constexpr int kSize = 20;
  char magic[4] = {'V', 'K', 'B', 'C'};
  int32_t reserved = 0;
  int32_t start_entry = 0;
  int32_t stop_entry = 0;
  int32_t area_length = 0;
};

// Reads the five header words; EVkError when the stream ends before them.
TVkImageHeader ReadImageHeader(std::istream& in);

// Writes a whole image file: header (area length filled in) and area.
void WriteImage(std::ostream& out, int32_t start_entry, int32_t stop_entry,
                const std::vector<uint8_t>& area);

// A whole image file held in memory.
struct TVkImageFile {
  TVkImageHeader header;
  std::vector<uint8_t> area;
};
// Reads an image file; EVkError naming path when it cannot be read.
TVkImageFile ReadImageFile(const std::string& path);
// Splits image bytes already in memory.
TVkImageFile ParseImage(std::string_view bytes);

}  // namespace vork
