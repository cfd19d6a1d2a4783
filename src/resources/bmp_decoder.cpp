#include <bit>
#include <string>

#include "platform/byte_order.h"
#include "platform/errors.h"
#include "resources/picture.h"

namespace vork {

namespace {

enum Compression : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6 };

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kOpaque = 0xFF000000u;

// Reads little-endian fields at checked offsets of the file's bytes.
class Bytes {
 public:
  Bytes(std::string_view data, std::string_view name) : data_(data), name_(name) {}
  [[noreturn]] void Fail(const std::string& reason) const {
    throw EVkError("Cannot decode bitmap \"" + std::string(name_) + "\": " + reason);
  }
  bool Has(size_t offset, size_t count) const {
    return offset <= data_.size() && count <= data_.size() - offset;
  }
  uint32_t Get(size_t offset, int count) const {
    if (!Has(offset, static_cast<size_t>(count))) Fail("the file is cut short");
    return static_cast<uint32_t>(ReadLittleEndian(data_.data() + offset, count));
  }
  unsigned char At(size_t offset) const { return static_cast<unsigned char>(data_[offset]); }
  size_t Size() const { return data_.size(); }

 private:
  std::string_view data_;
  std::string_view name_;
};

// One colour channel given by a bit mask, scaled to 8 bits.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  uint32_t max = 0;
  explicit Channel(uint32_t m) : mask(m) {
    if (!m) return;
    shift = std::countr_zero(m);
    max = m >> shift;
  }
  uint32_t Of(uint32_t pixel) const {
    if (!mask) return 0;
    uint64_t value = (pixel & mask) >> shift;
    return static_cast<uint32_t>(value * 255 / max);
  }
};

struct Header {
  int64_t width = 0;
  int64_t height = 0;
  bool top_down = false;
  int bits = 0;
  uint32_t compression = kRgb;
  uint32_t masks[3] = {0, 0, 0};
  std::vector<uint32_t> palette;
};

class BmpReader {
 public:
  BmpReader(std::string_view data, std::string_view name) : bytes_(data, name), name_(name) {}

  Picture Decode() {
    if (!bytes_.Has(0, 2) || bytes_.At(0) != 'B' || bytes_.At(1) != 'M')
      bytes_.Fail("it does not start with \"BM\"");
    size_t pixels_at = bytes_.Get(10, 4);
    ReadHeader(pixels_at);
    CheckPictureSize(header_.width, header_.height, name_);
    picture_.width = static_cast<int>(header_.width);
    picture_.height = static_cast<int>(header_.height);
    const bool compressed = header_.compression == kRle8 || header_.compression == kRle4;
    // Uncompressed rows must all be there before their pixels are allocated,
    // so a short file cannot make the decoder allocate for a large picture.
    if (!compressed && !bytes_.Has(pixels_at, RowStride() * static_cast<size_t>(header_.height)))
      bytes_.Fail("the pixel data is cut short");
    picture_.pixels.assign(static_cast<size_t>(header_.width * header_.height),
                           header_.palette.empty() ? kOpaque : header_.palette[0]);
    if (compressed)
      DecodeRle(pixels_at, header_.compression == kRle8 ? 8 : 4);
    else
      DecodeRows(pixels_at);
    return std::move(picture_);
  }

 private:
  void ReadHeader(size_t pixels_at) {
    size_t size = bytes_.Get(kFileHeaderSize, 4);
    size_t at = kFileHeaderSize;
    size_t palette_entry = 4;
    uint32_t colours_used = 0;
    if (size == 12) {  // the old core header: 16-bit sizes, 3-byte palette entries
      header_.width = bytes_.Get(at + 4, 2);
      header_.height = bytes_.Get(at + 6, 2);
      header_.bits = static_cast<int>(bytes_.Get(at + 10, 2));
      palette_entry = 3;
    } else if (size >= 40 && size <= 124) {
      header_.width = static_cast<int32_t>(bytes_.Get(at + 4, 4));
      header_.height = static_cast<int32_t>(bytes_.Get(at + 8, 4));
      header_.bits = static_cast<int>(bytes_.Get(at + 14, 2));
      header_.compression = bytes_.Get(at + 16, 4);
      colours_used = bytes_.Get(at + 32, 4);
    } else {
      bytes_.Fail("unknown header size " + std::to_string(size));
    }
    if (header_.height < 0) {
      header_.top_down = true;
      header_.height = -header_.height;
    }
    size_t after_header = at + size;
    if (header_.compression == kBitFields || header_.compression == kAlphaBitFields) {
      // The masks follow a 40-byte header and lie inside the longer ones.
      for (int i = 0; i < 3; ++i) header_.masks[i] = bytes_.Get(at + 40 + 4 * static_cast<size_t>(i), 4);
      if (size == 40) after_header += header_.compression == kBitFields ? 12 : 16;
    }
    CheckFormat();
    ReadPalette(after_header, palette_entry, colours_used, pixels_at);
  }

  void CheckFormat() const {
    int bits = header_.bits;
    uint32_t compression = header_.compression;
    bool valid = (compression == kRgb && (bits == 1 || bits == 4 || bits == 8 || bits == 16 ||
                                          bits == 24 || bits == 32)) ||
                 (compression == kRle8 && bits == 8) || (compression == kRle4 && bits == 4) ||
                 ((compression == kBitFields || compression == kAlphaBitFields) &&
                  (bits == 16 || bits == 32));
    if (!valid)
      bytes_.Fail(std::to_string(bits) + " bits a pixel with compression " +
                  std::to_string(compression) + " is not supported");
    if (header_.top_down && (compression == kRle8 || compression == kRle4))
      bytes_.Fail("a compressed bitmap cannot be stored top-down");
  }

  void ReadPalette(size_t at, size_t entry, uint32_t colours_used, size_t pixels_at) {
    if (header_.bits > 8) return;
    size_t count = size_t{1} << header_.bits;
    if (colours_used > 0 && colours_used < count) count = colours_used;
    // Writers of the old header often store a shorter table than its bit
    // depth implies; the pixel data's offset says where it really ends.
    if (pixels_at > at && (pixels_at - at) / entry < count) count = (pixels_at - at) / entry;
    for (size_t i = 0; i < count; ++i) {
      size_t offset = at + i * entry;
      if (!bytes_.Has(offset, entry)) bytes_.Fail("the colour table is cut short");
      header_.palette.push_back(kOpaque | bytes_.Get(offset, 3));
    }
  }

  uint32_t& PixelAt(int64_t x, int64_t stored_row) {
    int64_t row = header_.top_down ? stored_row : header_.height - 1 - stored_row;
    return picture_.pixels[static_cast<size_t>(row * header_.width + x)];
  }

  uint32_t FromPalette(uint32_t index) const {
    // An index past a short colour table shows black rather than failing,
    // as the screen would.
    return index < header_.palette.size() ? header_.palette[index] : kOpaque;
  }

  size_t RowStride() const { return static_cast<size_t>((header_.width * header_.bits + 31) / 32 * 4); }

  void DecodeRows(size_t at) {
    int bits = header_.bits;
    size_t stride = RowStride();
    uint32_t masks[3] = {header_.masks[0], header_.masks[1], header_.masks[2]};
    if (header_.compression == kRgb && bits == 16) {
      masks[0] = 0x7C00; masks[1] = 0x03E0; masks[2] = 0x001F;
    } else if (header_.compression == kRgb && bits == 32) {
      masks[0] = 0xFF0000; masks[1] = 0xFF00; masks[2] = 0xFF;
    }
    Channel red(masks[0]), green(masks[1]), blue(masks[2]);
    for (int64_t y = 0; y < header_.height; ++y) {
      size_t row = at + static_cast<size_t>(y) * stride;
      for (int64_t x = 0; x < header_.width; ++x) {
        uint32_t& pixel = PixelAt(x, y);
        size_t ux = static_cast<size_t>(x);
        switch (bits) {
          case 1: pixel = FromPalette(bytes_.At(row + ux / 8) >> (7 - ux % 8) & 1); break;
          case 4: pixel = FromPalette(bytes_.At(row + ux / 2) >> (ux % 2 ? 0 : 4) & 15); break;
          case 8: pixel = FromPalette(bytes_.At(row + ux)); break;
          case 24: pixel = kOpaque | bytes_.Get(row + 3 * ux, 3); break;
          default: {
            uint32_t value = bytes_.Get(row + ux * static_cast<size_t>(bits / 8), bits / 8);
            pixel = kOpaque | red.Of(value) << 16 | green.Of(value) << 8 | blue.Of(value);
          }
        }
      }
    }
  }

  // Run-length data: pairs (count, index) or an escape (0, code): 0 ends
  // the line, 1 ends the picture, 2 moves by the next two bytes, n >= 3
  // copies n literal indices padded to a 16-bit boundary. Runs that would
  // leave the picture are clipped.
  void DecodeRle(size_t at, int bits) {
    int64_t x = 0;
    int64_t y = 0;
    auto put = [&](uint32_t index) {
      if (x < header_.width && y < header_.height) PixelAt(x, y) = FromPalette(index);
      ++x;
    };
    auto nibble = [bits](uint32_t byte, int64_t i) {
      return bits == 8 ? byte : (i % 2 ? byte & 15 : byte >> 4);
    };
    while (y < header_.height) {
      if (!bytes_.Has(at, 2)) bytes_.Fail("the compressed data is cut short");
      uint32_t count = bytes_.At(at);
      uint32_t value = bytes_.At(at + 1);
      at += 2;
      if (count > 0) {
        for (int64_t i = 0; i < count; ++i) put(nibble(value, i));
      } else if (value == 0) {
        x = 0;
        ++y;
      } else if (value == 1) {
        return;
      } else if (value == 2) {
        x += bytes_.Get(at, 1);
        y += bytes_.Get(at + 1, 1);
        at += 2;
      } else {
        size_t length = bits == 8 ? value : (value + 1) / 2;
        if (!bytes_.Has(at, length)) bytes_.Fail("the compressed data is cut short");
        for (int64_t i = 0; i < value; ++i)
          put(nibble(bytes_.At(at + static_cast<size_t>(bits == 8 ? i : i / 2)), i));
        at += length + length % 2;
      }
    }
  }

  Bytes bytes_;
  std::string_view name_;
  Header header_;
  Picture picture_;
};

}  // namespace

void CheckPictureSize(int64_t width, int64_t height, std::string_view name) {
  if (width <= 0 || height <= 0)
    throw EVkError("Picture \"" + std::string(name) + "\" has no pixels (" + std::to_string(width) +
                   " x " + std::to_string(height) + ")");
  if (width > kMaxPictureSide || height > kMaxPictureSide || width * height > kMaxPicturePixels)
    throw EVkError("Picture \"" + std::string(name) + "\" is too large: " + std::to_string(width) +
                   " x " + std::to_string(height) + " pixels (at most " +
                   std::to_string(kMaxPictureSide) + " a side and " +
                   std::to_string(kMaxPicturePixels) + " in all)");
}

Picture DecodeBmp(std::string_view data, std::string_view name) {
  return BmpReader(data, name).Decode();
}

}  // namespace vork
