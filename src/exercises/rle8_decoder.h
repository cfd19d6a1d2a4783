#pragma once
// Decoder of 8-bit run-length-compressed bitmap rows, as the matrix needs
// them: runs, literal runs, end of row and end of picture; position jumps
// are refused. Rows are stored bottom-up in the data and come out top row
// first.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vork {

struct Rle8Picture {
  std::vector<std::uint8_t> bytes;  // width × height, top row first
  std::string problem;              // why decoding failed; empty on success
};

// Decodes data into a zeroed width × height grid. It succeeds only when
// exactly `height` rows were ended and the last (top) row got exactly
// `width` bytes; no run may pass the end of its row. The caller checks that
// width × height is a size it is willing to allocate.
Rle8Picture DecodeRle8(std::string_view data, std::int32_t width, std::int32_t height);

}  // namespace vork
