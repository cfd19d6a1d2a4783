#pragma once
// Windows bitmaps written by the tests and the fuzz seed writers, in the
// layouts courses carry and in the broken ones the readers must refuse.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/byte_order.h"

namespace vork::testing {

struct BmpLayout {
  int32_t width = 0;
  int32_t height = 0;  // negative: top-down
  int bits = 24;
  uint32_t compression = 0;
  int header_size = 40;
  std::vector<uint32_t> palette;  // 0x00RRGGBB
  std::vector<uint32_t> masks;    // bit fields, written after a 40-byte header
  std::string pixels;             // stored rows (or compressed data) as they go in the file
  int planes = 1;
  std::string magic = "BM";
  int64_t colours_used = -1;  // the header's count of palette entries; -1: the palette's length
};

// Four-byte palette entries (blue, green, red, 0) read back as colours.
inline std::vector<uint32_t> PaletteOf(std::string_view bytes) {
  std::vector<uint32_t> palette;
  for (size_t at = 0; at + 4 <= bytes.size(); at += 4) {
    palette.push_back(ReadLittle32(bytes.data() + at));
  }
  return palette;
}

inline std::string BmpFile(const BmpLayout& bitmap) {
  std::string header;
  AppendLittleEndian(header, static_cast<uint32_t>(bitmap.header_size), 4);
  if (bitmap.header_size == 12) {
    AppendLittleEndian(header, static_cast<uint32_t>(bitmap.width), 2);
    AppendLittleEndian(header, static_cast<uint32_t>(bitmap.height), 2);
    AppendLittleEndian(header, static_cast<uint32_t>(bitmap.planes), 2);
    AppendLittleEndian(header, static_cast<uint32_t>(bitmap.bits), 2);
  } else {
    const int64_t colours_used =
        bitmap.colours_used >= 0 ? bitmap.colours_used : static_cast<int64_t>(bitmap.palette.size());
    AppendLittleEndian(header, static_cast<uint32_t>(bitmap.width), 4);
    AppendLittleEndian(header, static_cast<uint32_t>(bitmap.height), 4);
    AppendLittleEndian(header, static_cast<uint32_t>(bitmap.planes), 2);
    AppendLittleEndian(header, static_cast<uint32_t>(bitmap.bits), 2);
    AppendLittleEndian(header, bitmap.compression, 4);
    AppendLittleEndian(header, static_cast<uint32_t>(bitmap.pixels.size()), 4);
    AppendLittleEndian(header, 2835, 4);
    AppendLittleEndian(header, 2835, 4);
    AppendLittleEndian(header, static_cast<uint32_t>(colours_used), 4);
    AppendLittleEndian(header, 0, 4);
    header.resize(static_cast<size_t>(bitmap.header_size), '\0');
    for (uint32_t mask : bitmap.masks) AppendLittleEndian(header, mask, 4);
  }
  for (uint32_t colour : bitmap.palette) AppendLittleEndian(header, colour, bitmap.header_size == 12 ? 3 : 4);
  std::string file = bitmap.magic;
  AppendLittleEndian(file, static_cast<uint32_t>(14 + header.size() + bitmap.pixels.size()), 4);
  AppendLittleEndian(file, 0, 4);
  AppendLittleEndian(file, static_cast<uint32_t>(14 + header.size()), 4);
  return file + header + bitmap.pixels;
}

}  // namespace vork::testing
