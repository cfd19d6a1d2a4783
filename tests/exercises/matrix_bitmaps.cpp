#include "exercises/matrix_bitmaps.h"

#include "text/crc32.h"

namespace vork::testing {

namespace {

constexpr std::uint32_t kPolynomial = 0xEDB88320;
constexpr std::uint32_t kRequiredCrc = 0x63380801;

// The CRC register after 32 more bits, and its inverse: feeding four bytes w
// to register r gives Advance(r ^ w), so the four bytes that take r to a
// wanted register t are r ^ Retreat(t).
std::uint32_t Retreat(std::uint32_t reg) {
  for (int bit = 0; bit < 32; ++bit) {
    reg = (reg & 0x80000000u) ? ((reg ^ kPolynomial) << 1) | 1u : reg << 1;
  }
  return reg;
}

std::uint32_t Register(std::string_view bytes) {
  // The checksum is the final register complemented.
  return ~Crc32(bytes);
}

std::string EncodeRow(std::string_view row) {
  std::string out;
  std::size_t at = 0;
  const auto repeat_length = [&](std::size_t from) {
    std::size_t end = from + 1;
    while (end < row.size() && row[end] == row[from] && end - from < 255) ++end;
    return end - from;
  };
  while (at < row.size()) {
    if (repeat_length(at) >= 2 || row.size() - at < 3) {
      const std::size_t length = repeat_length(at);
      out += Repeat(static_cast<int>(length), static_cast<std::uint8_t>(row[at]));
      at += length;
      continue;
    }
    std::size_t end = at;
    while (end < row.size() && end - at < 255 && repeat_length(end) < 2) ++end;
    if (end - at < 3) end = std::min(row.size(), at + 3);
    out += Literal(row.substr(at, end - at));
    at = end;
  }
  return out;
}

}  // namespace

std::string Literal(std::string_view bytes) {
  std::string out = Repeat(0, static_cast<int>(bytes.size()));
  out += bytes;
  if (bytes.size() % 2 != 0) out.push_back('\0');
  return out;
}

std::string EncodeRle8(const std::vector<std::string>& rows) {
  std::string out;
  for (std::size_t i = rows.size(); i-- > 0;) {
    out += EncodeRow(rows[i]);
    out += i == 0 ? EndOfPicture() : EndOfRow();
  }
  return out;
}

std::vector<std::uint32_t> RequiredPalette() {
  std::vector<std::uint32_t> palette;
  std::string bytes;
  for (std::uint32_t i = 0; i < 255; ++i) {
    palette.push_back(i * 0x010101);
    AppendLittleEndian(bytes, palette.back(), 4);
  }
  palette.push_back(Register(bytes) ^ Retreat(~kRequiredCrc));
  return palette;
}

BmpLayout MatrixLayout(std::int32_t width, std::int32_t height, std::string pixel_data) {
  BmpLayout bitmap;
  bitmap.width = width;
  bitmap.height = height;
  bitmap.bits = 8;
  bitmap.compression = 1;
  bitmap.palette = RequiredPalette();
  bitmap.pixels = std::move(pixel_data);
  return bitmap;
}

std::string MatrixBitmapFile(const std::vector<std::string>& rows) {
  const auto width = rows.empty() ? 0 : static_cast<std::int32_t>(rows.front().size());
  return BmpFile(MatrixLayout(width, static_cast<std::int32_t>(rows.size()), EncodeRle8(rows)));
}

}  // namespace vork::testing
