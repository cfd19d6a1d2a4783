// Writes the seed pictures: bitmaps in each layout the decoder reads and two
// small JPEGs, using the test suite's own writers.
//   c++ -std=c++20 -I tests fuzz/picture/make_corpus.cpp -ljpeg -o /tmp/make_corpus
//   /tmp/make_corpus fuzz/picture/corpus

#include <fstream>
#include <string>

#include "resources/picture_files.h"

using vork::testing::BmpFile;
using vork::testing::BmpLayout;
using vork::testing::JpegFile;

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  std::string dir = argv[1];
  auto write = [&](const std::string& name, const std::string& data) {
    std::ofstream(dir + "/" + name, std::ios::binary) << data;
  };
  const std::vector<uint32_t> palette = {0, 0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF, 0xFFFF00};
  write("pal8.bmp", BmpFile({3, 2, 8, 0, 40, palette, {}, std::string("\4\0\5\0\1\2\3\0", 8)}));
  write("pal4.bmp", BmpFile({3, 2, 4, 0, 40, palette, {}, std::string("\x40\x50\0\0\x12\x30\0\0", 8)}));
  write("mono.bmp", BmpFile({3, 2, 1, 0, 40, {0, 0xFFFFFF}, {}, std::string("\x40\0\0\0\xA0\0\0\0", 8)}));
  write("rgb24.bmp", BmpFile({2, -1, 24, 0, 40, {}, {}, std::string("\1\2\3\4\5\6\0\0", 8)}));
  write("rgb565.bmp", BmpFile({2, 1, 16, 3, 40, {}, {0xF800, 0x07E0, 0x001F}, std::string("\xFF\xFF\0\xF8", 4)}));
  write("rgb32.bmp", BmpFile({1, 1, 32, 0, 124, {}, {}, std::string("\1\2\3\0", 4)}));
  write("rle8.bmp", BmpFile({3, 2, 8, 1, 40, palette, {}, std::string("\1\4\1\0\1\5\0\0\0\3\1\2\3\0\0\2\1\1\0\1", 20)}));
  write("rle4.bmp", BmpFile({3, 2, 4, 2, 40, palette, {}, std::string("\1\x40\2\x05\0\0\0\3\x12\x30\0\1", 12)}));
  write("core.bmp", BmpFile({3, 2, 8, 0, 12, palette, {}, std::string("\4\0\5\0\1\2\3\0", 8)}));
  auto gradient = [](int x, int y) { return static_cast<uint32_t>(x * 16 << 16 | y * 16 << 8 | 0x40); };
  write("baseline.jpg", JpegFile(16, 16, gradient, 50));
  write("progressive.jpg", JpegFile(16, 16, gradient, 50, true));
  write("grey.jpg", JpegFile(8, 8, gradient, 50, false, true));
  return 0;
}
