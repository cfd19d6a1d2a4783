#pragma once
// TVkMatrix: a byte grid read from a run-length-compressed 256-colour
// bitmap. Courses paint the regions of a picture in palette indexes and ask
// which region a point lies in.

#include <cstdint>
#include <string_view>
#include <vector>

namespace vork {

class TKsStream;

class TVkMatrix {
 public:
  static constexpr std::string_view kFormatError =
      "Matrix: BMP is not in required format (RLE-compressed, 256-color with specific palette)";
  // Every matrix bitmap carries the one colour table with this CRC-32.
  static constexpr std::uint32_t kPaletteCrc = 0x63380801;
  // Far beyond any stage; keeps a forged header from asking for gigabytes.
  static constexpr std::int64_t kMaxBytes = 64 * 1024 * 1024;

  // Reads the whole stream as a bitmap file. On any failure the matrix is
  // left empty and EVkError(kFormatError) is raised; the particular reason
  // goes to the diagnostic log.
  void LoadFromStream(TKsStream& stream);
  // The same for a file already in memory.
  void LoadFromBytes(std::string_view file);

  std::int32_t Width() const { return width_; }
  std::int32_t Height() const { return height_; }
  // The byte at column x of row y (row 0 at the top), or fallback outside
  // the grid or when nothing is loaded.
  std::int32_t ValueAt(std::int32_t x, std::int32_t y, std::int32_t fallback) const;

 private:
  void Clear();
  [[noreturn]] void Fail(std::string_view reason);

  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
  std::vector<std::uint8_t> bytes_;
};

}  // namespace vork
