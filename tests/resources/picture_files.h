#pragma once
// Picture files written by the tests: Windows bitmaps in the layouts courses
// carry, and JPEGs through libjpeg's own compressor.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "platform/byte_order.h"

namespace vork::testing {

struct BmpSpec {
  int width = 0;
  int height = 0;  // negative: top-down
  int bits = 24;
  uint32_t compression = 0;
  int header_size = 40;
  std::vector<uint32_t> palette;  // 0x00RRGGBB
  std::vector<uint32_t> masks;    // bit fields, written after a 40-byte header
  std::string pixels;             // stored rows (or compressed data) as they go in the file
};

inline std::string BmpFile(const BmpSpec& bitmap) {
  std::string header;
  AppendLittleEndian(header, static_cast<uint32_t>(bitmap.header_size), 4);
  if (bitmap.header_size == 12) {
    AppendLittleEndian(header, static_cast<uint32_t>(bitmap.width), 2);
    AppendLittleEndian(header, static_cast<uint32_t>(bitmap.height), 2);
    AppendLittleEndian(header, 1, 2);
    AppendLittleEndian(header, static_cast<uint32_t>(bitmap.bits), 2);
  } else {
    AppendLittleEndian(header, static_cast<uint32_t>(bitmap.width), 4);
    AppendLittleEndian(header, static_cast<uint32_t>(bitmap.height), 4);
    AppendLittleEndian(header, 1, 2);
    AppendLittleEndian(header, static_cast<uint32_t>(bitmap.bits), 2);
    AppendLittleEndian(header, bitmap.compression, 4);
    AppendLittleEndian(header, static_cast<uint32_t>(bitmap.pixels.size()), 4);
    AppendLittleEndian(header, 2835, 4);
    AppendLittleEndian(header, 2835, 4);
    AppendLittleEndian(header, static_cast<uint32_t>(bitmap.palette.size()), 4);
    AppendLittleEndian(header, 0, 4);
    header.resize(static_cast<size_t>(bitmap.header_size), '\0');
    for (uint32_t mask : bitmap.masks) AppendLittleEndian(header, mask, 4);
  }
  for (uint32_t colour : bitmap.palette) AppendLittleEndian(header, colour, bitmap.header_size == 12 ? 3 : 4);
  std::string file = "BM";
  AppendLittleEndian(file, static_cast<uint32_t>(14 + header.size() + bitmap.pixels.size()), 4);
  AppendLittleEndian(file, 0, 4);
  AppendLittleEndian(file, static_cast<uint32_t>(14 + header.size()), 4);
  return file + header + bitmap.pixels;
}

// An RGB JPEG of width x height whose pixel (x, y) has colour(x, y), 0xRRGGBB.
template <typename Colour>
std::string JpegFile(int width, int height, Colour colour, int quality = 95,
                     bool progressive = false, bool grey = false) {
  jpeg_compress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = grey ? 1 : 3;
  info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<unsigned char> row(static_cast<size_t>(width) * 3);
  while (info.next_scanline < info.image_height) {
    int y = static_cast<int>(info.next_scanline);
    for (int x = 0; x < width; ++x) {
      uint32_t c = colour(x, y);
      if (grey) {
        row[static_cast<size_t>(x)] = static_cast<unsigned char>(c & 0xFF);
      } else {
        row[3 * static_cast<size_t>(x)] = static_cast<unsigned char>(c >> 16);
        row[3 * static_cast<size_t>(x) + 1] = static_cast<unsigned char>(c >> 8);
        row[3 * static_cast<size_t>(x) + 2] = static_cast<unsigned char>(c);
      }
    }
    JSAMPROW rows[1] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  std::string file(reinterpret_cast<char*>(buffer), size);
  jpeg_destroy_compress(&info);
  std::free(buffer);
  return file;
}

}  // namespace vork::testing
