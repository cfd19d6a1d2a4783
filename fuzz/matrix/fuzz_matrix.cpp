// Any bytes as a matrix bitmap: loaded within the matrix limits or refused
// with the matrix error; never a crash or an oversized allocation. Since no
// mutation finds the required colour table's checksum by chance, inputs that
// do not start with "BM" are wrapped in a valid header and that colour table,
// with the size taken from their first two bytes, so that the decoder itself
// sees arbitrary run-length data.

#include <cstdint>
#include <string>
#include <string_view>

#include "exercises/matrix.h"
#include "exercises/matrix_bitmaps.h"
#include "platform/errors.h"

namespace {

std::string AsFile(std::string_view data) {
  if (data.size() < 2 || data.starts_with("BM")) return std::string(data);
  return vork::testing::BmpFile(vork::testing::MatrixLayout(static_cast<std::uint8_t>(data[0]) % 64 + 1,
                                                            static_cast<std::uint8_t>(data[1]) % 64 + 1,
                                                            std::string(data.substr(2))));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vork::TVkMatrix matrix;
  try {
    matrix.LoadFromBytes(AsFile(std::string_view(reinterpret_cast<const char*>(data), size)));
  } catch (const vork::EVkError&) {
    if (matrix.Width() != 0 || matrix.Height() != 0) __builtin_trap();
    return 0;
  }
  const std::int32_t width = matrix.Width();
  const std::int32_t height = matrix.Height();
  if (width <= 0 || height <= 0 || std::int64_t{width} * height > vork::TVkMatrix::kMaxBytes) __builtin_trap();
  const std::int32_t corner = matrix.ValueAt(width - 1, height - 1, -1);
  if (corner < 0 || corner > 255 || matrix.ValueAt(width, 0, -1) != -1) __builtin_trap();
  return 0;
}
