#pragma once
// Picture files written by the tests: Windows bitmaps (support/bmp_file.h)
// and JPEGs through libjpeg's own compressor.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <jpeglib.h>

#include "support/bmp_file.h"

namespace vork::testing {

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
