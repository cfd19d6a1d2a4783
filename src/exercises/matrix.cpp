#include "exercises/matrix.h"

#include <string>

#include "archives/stream.h"
#include "exercises/rle8_decoder.h"
#include "text/crc32.h"
#include "platform/byte_order.h"
#include "platform/diagnostic_log.h"
#include "platform/errors.h"

namespace vork {

namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kPaletteOffset = kFileHeaderSize + kInfoHeaderSize;
constexpr std::size_t kPaletteSize = 256 * 4;
constexpr std::uint32_t kRle8Compression = 1;
// Matrix bitmaps are region maps of a stage; a larger stream is not one.
constexpr std::int64_t kMaxFileBytes = 256 * 1024 * 1024;

std::uint32_t Unsigned32(std::string_view data, std::size_t at) { return ReadLittle32(data.data() + at); }

std::uint16_t Unsigned16(std::string_view data, std::size_t at) { return ReadLittle16(data.data() + at); }

std::int32_t Signed32(std::string_view data, std::size_t at) {
  return static_cast<std::int32_t>(Unsigned32(data, at));
}

}  // namespace

void TVkMatrix::Clear() {
  width_ = 0;
  height_ = 0;
  bytes_.clear();
}

void TVkMatrix::Fail(std::string_view reason) {
  Clear();
  DiagnosticLog("Matrix: " + std::string(reason));
  throw EVkError(std::string(kFormatError));
}

void TVkMatrix::LoadFromStream(TKsStream& stream) {
  Clear();
  const std::int64_t size = stream.Size() - stream.Position();
  if (size > kMaxFileBytes) Fail(stream.Description() + " is " + std::to_string(size) + " bytes");
  LoadFromBytes(stream.ReadAll());
}

void TVkMatrix::LoadFromBytes(std::string_view file) {
  Clear();
  if (file.size() < kPaletteOffset + kPaletteSize) Fail("the file is too short for a bitmap");
  if (file.substr(0, 2) != "BM") Fail("the file does not start with BM");
  const std::uint32_t pixel_offset = Unsigned32(file, 10);
  const std::size_t info = kFileHeaderSize;
  const std::int32_t width = Signed32(file, info + 4);
  const std::int32_t height = Signed32(file, info + 8);
  if (Unsigned32(file, info) != kInfoHeaderSize || width <= 0 || height <= 0 ||
      Unsigned16(file, info + 12) != 1 || Unsigned16(file, info + 14) != 8 ||
      Unsigned32(file, info + 16) != kRle8Compression) {
    Fail("not a bottom-up 8-bit run-length-compressed bitmap");
  }
  if (Crc32(file.substr(kPaletteOffset, kPaletteSize)) != kPaletteCrc) Fail("another colour table");
  if (pixel_offset > file.size()) Fail("the pixel data offset is past the end of the file");
  const std::string_view data = file.substr(pixel_offset);
  // Every row needs at least its 2-byte end mark, and the top row can hold
  // at most 255 bytes for every 2 bytes of data: a header promising more is
  // refused before anything is allocated.
  const std::int64_t data_size = static_cast<std::int64_t>(data.size());
  if (std::int64_t{height} * 2 > data_size || std::int64_t{width} > 255 * (data_size / 2) ||
      std::int64_t{width} * height > kMaxBytes) {
    Fail(std::to_string(width) + " x " + std::to_string(height) + " does not fit " +
         std::to_string(data_size) + " bytes of pixel data");
  }
  Rle8Picture picture = DecodeRle8(data, width, height);
  if (!picture.problem.empty()) Fail(picture.problem);
  width_ = width;
  height_ = height;
  bytes_ = std::move(picture.bytes);
}

std::int32_t TVkMatrix::ValueAt(std::int32_t x, std::int32_t y, std::int32_t fallback) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return fallback;
  return bytes_[static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
                static_cast<std::size_t>(x)];
}

}  // namespace vork
