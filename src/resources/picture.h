#pragma once
// Pictures decoded from course resources, without any window system: the Qt
// side wraps the pixels in a QImage, and the decoders can be fuzzed.

#include <cstdint>
#include <string_view>
#include <vector>

namespace vork {

// 32-bit pixels 0xAARRGGBB (QImage's ARGB32 layout), rows top to bottom.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
};

// Course pictures are stage-sized; these limits keep a damaged or hostile
// header from asking for gigabytes: at most 16,384 pixels a side and
// 25 million pixels (100 MB decoded) in all.
constexpr int64_t kMaxPictureSide = 16384;
constexpr int64_t kMaxPicturePixels = 25'000'000;

// Throws EVkError naming the picture when the size is not positive or above
// the limits.
void CheckPictureSize(int64_t width, int64_t height, std::string_view name);

// Windows bitmaps: 1, 4, 8, 16, 24 and 32 bits a pixel, uncompressed, RLE8,
// RLE4 and bit fields, bottom-up or top-down, the old 12-byte header and the
// 40- to 124-byte ones. Alpha is ignored, as the screen ignores it: every
// pixel comes out opaque. Throws EVkError naming the picture for a file it
// cannot decode.
Picture DecodeBmp(std::string_view data, std::string_view name);

// Baseline and progressive JPEG in grey, colour and CMYK. Throws EVkError
// naming the picture for a file it cannot decode.
Picture DecodeJpeg(std::string_view data, std::string_view name);

}  // namespace vork
