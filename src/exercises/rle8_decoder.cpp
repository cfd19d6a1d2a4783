#include "exercises/rle8_decoder.h"

#include <algorithm>
#include <cstring>

namespace vork {

namespace {

enum Escape : std::uint8_t { kEndOfRow = 0, kEndOfPicture = 1, kJump = 2 };

class Rle8Reader {
 public:
  Rle8Reader(std::string_view data, std::int32_t width, std::int32_t height)
      : data_(data), width_(width), height_(height),
        bytes_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0) {}

  Rle8Picture Decode() {
    bool ended = false;
    while (!ended && problem_.empty() && position_ + 2 <= data_.size()) {
      const std::uint8_t count = Byte(position_);
      const std::uint8_t value = Byte(position_ + 1);
      position_ += 2;
      if (count > 0) {
        Fill(count, value);
      } else if (value == kEndOfRow) {
        EndRow();
      } else if (value == kEndOfPicture) {
        // An encoder that ends every row, the top one included, before the
        // end mark leaves no row open for the mark to end.
        if (!(column_ == 0 && rows_ended_ == height_)) EndRow();
        ended = true;
      } else if (value == kJump) {
        Fail("a position jump, which is not supported");
      } else {
        CopyLiteral(value);
      }
    }
    if (problem_.empty() && rows_ended_ != height_) {
      Fail(std::to_string(rows_ended_) + " rows ended where the picture has " +
           std::to_string(height_));
    }
    if (problem_.empty() && last_row_width_ != width_) {
      Fail("the top row holds " + std::to_string(last_row_width_) + " bytes where the picture is " +
           std::to_string(width_) + " wide");
    }
    if (!problem_.empty()) bytes_.clear();
    return Rle8Picture{std::move(bytes_), std::move(problem_)};
  }

 private:
  std::uint8_t Byte(std::size_t at) const { return static_cast<std::uint8_t>(data_[at]); }

  void Fail(std::string problem) {
    if (problem_.empty()) problem_ = std::move(problem) + " at data offset " + std::to_string(position_);
  }

  // Where the next byte of the current row goes, or null after a failure.
  std::uint8_t* Reserve(std::int32_t count) {
    if (rows_ended_ >= height_) {
      Fail("pixels after the last row");
      return nullptr;
    }
    if (count > width_ - column_) {
      Fail("a run of " + std::to_string(count) + " from column " + std::to_string(column_) +
           " past the end of a row of " + std::to_string(width_));
      return nullptr;
    }
    // The first row in the data is the bottom row of the picture.
    const std::size_t row = static_cast<std::size_t>(height_ - 1 - rows_ended_);
    std::uint8_t* at = bytes_.data() + row * static_cast<std::size_t>(width_) +
                       static_cast<std::size_t>(column_);
    column_ += count;
    return at;
  }

  void Fill(std::uint8_t count, std::uint8_t value) {
    if (std::uint8_t* at = Reserve(count)) std::memset(at, value, count);
  }

  void CopyLiteral(std::uint8_t count) {
    if (data_.size() - position_ < count) {
      Fail("a literal run of " + std::to_string(count) + " past the end of the data");
      return;
    }
    if (std::uint8_t* at = Reserve(count)) {
      std::memcpy(at, data_.data() + position_, count);
      // Literal runs are padded to an even length; a missing pad byte at the
      // very end of the data harms nothing.
      position_ = std::min(data_.size(), position_ + count + (count & 1u));
    }
  }

  void EndRow() {
    if (rows_ended_ >= height_) {
      Fail("more rows than the picture's " + std::to_string(height_));
      return;
    }
    last_row_width_ = column_;
    ++rows_ended_;
    column_ = 0;
  }

  std::string_view data_;
  std::int32_t width_;
  std::int32_t height_;
  std::vector<std::uint8_t> bytes_;
  std::size_t position_ = 0;
  std::int32_t rows_ended_ = 0;
  std::int32_t column_ = 0;
  std::int32_t last_row_width_ = -1;
  std::string problem_;
};

}  // namespace

Rle8Picture DecodeRle8(std::string_view data, std::int32_t width, std::int32_t height) {
  if (width <= 0 || height <= 0) return Rle8Picture{{}, "an empty picture"};
  return Rle8Reader(data, width, height).Decode();
}

}  // namespace vork
