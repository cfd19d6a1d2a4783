// Writes the seed bitmaps with the test suite's encoder: whole files and
// bare run-length data behind a two-byte size, as the fuzzer reads them.
//   c++ -std=c++20 -I src -I tests fuzz/matrix/make_corpus.cpp \
//       tests/exercises/matrix_bitmaps.cpp src/text/crc32.cpp -o /tmp/make_corpus
//   /tmp/make_corpus fuzz/matrix/corpus

#include <fstream>
#include <string>
#include <vector>

#include "exercises/matrix_bitmaps.h"

using namespace vork::testing;

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  const std::string dir = argv[1];
  const auto write = [&](const std::string& name, const std::string& data) {
    std::ofstream(dir + "/" + name, std::ios::binary) << data;
  };
  const auto bare = [](int width, int height, const std::string& data) {
    return std::string{static_cast<char>(width - 1), static_cast<char>(height - 1)} + data;
  };
  const std::vector<std::string> regions = {std::string("\1\1\1\2\2\0", 6), "\3\4\5\6\7\1", "\11\12\13\13\13\13"};
  write("regions.bmp", MatrixBitmapFile(regions));
  write("regions.rle", bare(6, 3, EncodeRle8(regions)));
  write("short_rows.rle", bare(3, 2, Repeat(2, 7) + EndOfRow() + Literal("\4\5\6") + EndOfPicture()));
  write("end_marks.rle", bare(3, 2, Repeat(3, 8) + EndOfRow() + Repeat(3, 9) + EndOfRow() + EndOfPicture()));
  write("jump.rle", bare(3, 2, Repeat(1, 1) + Jump(1, 0) + EndOfRow() + Repeat(3, 2) + EndOfPicture()));
  std::vector<std::string> wide(8, std::string(64, '\5'));
  for (std::size_t y = 0; y < wide.size(); ++y) wide[y][y * 7] = static_cast<char>(y);
  write("wide.rle", bare(64, 8, EncodeRle8(wide)));
  return 0;
}
