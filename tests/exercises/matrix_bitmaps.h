#pragma once
// Matrix bitmaps for tests and fuzz seeds: a small run-length encoder, the
// file layout around it, and a colour table with the CRC-32 that matrix
// bitmaps must carry (any table with that CRC will do; ours is a grey ramp
// whose last entry is chosen to reach it).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "support/bmp_file.h"

namespace vork::testing {

// Raw run-length data pieces, to write streams by hand.
inline std::string Repeat(int count, int value) {
  return {static_cast<char>(count), static_cast<char>(value)};
}
inline std::string EndOfRow() { return Repeat(0, 0); }
inline std::string EndOfPicture() { return Repeat(0, 1); }
inline std::string Jump(int dx, int dy) { return Repeat(0, 2) + Repeat(dx, dy); }
// An absolute-mode run of 3 or more bytes, padded to an even length.
std::string Literal(std::string_view bytes);

// Encodes rows (top row first, each a string of bytes) as the bitmap stores
// them: bottom row first, repeated bytes as runs, other stretches of three
// or more bytes as literal runs, each row ended by an end-of-row mark and the
// last by the end-of-picture mark.
std::string EncodeRle8(const std::vector<std::string>& rows);

// 256 colours whose CRC-32, as four-byte entries, is the matrix's required one.
std::vector<std::uint32_t> RequiredPalette();

// A matrix bitmap of the given size around pixel_data: 8 bits, run-length
// encoded, the required palette. Change fields to make it a wrong one.
BmpLayout MatrixLayout(std::int32_t width, std::int32_t height, std::string pixel_data);
// The usual case: rows encoded by EncodeRle8.
std::string MatrixBitmapFile(const std::vector<std::string>& rows);

}  // namespace vork::testing
