#include "exercises/matrix_bitmaps.h"

#include "text/crc32.h"

namespace vork::testing {

namespace {

constexpr std::uint32_t kPolynomial = 0xEDB88320;
constexpr std::uint32_t kRequiredCrc = 0x63380801;

void PutLittleEndian(std::string& out, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>(value >> (8 * i) & 0xFF));
}

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

std::string RequiredPalette() {
  std::string palette;
  for (int i = 0; i < 255; ++i) PutLittleEndian(palette, static_cast<std::uint32_t>(i * 0x010101), 4);
  const std::uint32_t last = Register(palette) ^ Retreat(~kRequiredCrc);
  PutLittleEndian(palette, last, 4);
  return palette;
}

std::string MatrixBitmapFile(const MatrixBitmapSpec& bitmap) {
  const std::uint32_t pixel_offset = static_cast<std::uint32_t>(54 + bitmap.palette.size());
  std::string file = bitmap.magic;
  PutLittleEndian(file, static_cast<std::uint32_t>(pixel_offset + bitmap.pixel_data.size()), 4);
  PutLittleEndian(file, 0, 4);
  PutLittleEndian(file, pixel_offset, 4);
  PutLittleEndian(file, bitmap.header_size, 4);
  PutLittleEndian(file, static_cast<std::uint32_t>(bitmap.width), 4);
  PutLittleEndian(file, static_cast<std::uint32_t>(bitmap.height), 4);
  PutLittleEndian(file, bitmap.planes, 2);
  PutLittleEndian(file, bitmap.bits_per_pixel, 2);
  PutLittleEndian(file, bitmap.compression, 4);
  PutLittleEndian(file, static_cast<std::uint32_t>(bitmap.pixel_data.size()), 4);
  for (int i = 0; i < 4; ++i) PutLittleEndian(file, 0, 4);  // resolution, colours used/important
  file += bitmap.palette;
  file += bitmap.pixel_data;
  return file;
}

std::string MatrixBitmapFile(const std::vector<std::string>& rows) {
  MatrixBitmapSpec bitmap;
  bitmap.height = static_cast<std::int32_t>(rows.size());
  bitmap.width = rows.empty() ? 0 : static_cast<std::int32_t>(rows.front().size());
  bitmap.pixel_data = EncodeRle8(rows);
  return MatrixBitmapFile(bitmap);
}

}  // namespace vork::testing
