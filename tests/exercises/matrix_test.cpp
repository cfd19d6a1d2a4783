// The matrix on run-length-compressed bitmaps written by the test encoder:
// the byte at each point, the escapes the format allows, and the refusal of
// every file that is not a matrix bitmap.

#include "exercises/matrix.h"

#include <gtest/gtest.h>

#include "archives/memory_stream.h"
#include "exercises/matrix_bitmaps.h"
#include "text/crc32.h"
#include "platform/errors.h"

namespace vork {
namespace {

using testing::EncodeRle8;
using testing::EndOfPicture;
using testing::EndOfRow;
using testing::Jump;
using testing::Literal;
using testing::MatrixBitmapFile;
using testing::BmpLayout;
using testing::MatrixLayout;
using testing::Repeat;

std::string MatrixFile(std::int32_t width, std::int32_t height, std::string pixel_data) {
  return BmpFile(MatrixLayout(width, height, std::move(pixel_data)));
}

// Every byte of the matrix, top row first.
std::vector<std::string> Rows(const TVkMatrix& matrix) {
  std::vector<std::string> rows;
  for (int y = 0; y < matrix.Height(); ++y) {
    std::string row;
    for (int x = 0; x < matrix.Width(); ++x) row.push_back(static_cast<char>(matrix.ValueAt(x, y, -1)));
    rows.push_back(row);
  }
  return rows;
}

TEST(MatrixBitmapFixture, PaletteHasTheRequiredChecksum) {
  std::string bytes;
  for (std::uint32_t colour : testing::RequiredPalette()) AppendLittleEndian(bytes, colour, 4);
  EXPECT_EQ(Crc32(bytes), TVkMatrix::kPaletteCrc);
}

TEST(Matrix, EncodedRegionsReadBackPointForPoint) {
  const std::vector<std::string> rows = {
      std::string("\1\1\1\2\2\0\0", 7),        // runs
      std::string("\3\4\5\6\7\1\2", 7),        // one literal run of odd length
      std::string("\x09\x0A\x0B\x0B\x0B\xFF\xFE", 7),  // literal, run, short run
      std::string(7, '\x2A'),
  };
  TVkMatrix matrix;
  matrix.LoadFromBytes(MatrixBitmapFile(rows));
  EXPECT_EQ(matrix.Width(), 7);
  EXPECT_EQ(matrix.Height(), 4);
  EXPECT_EQ(Rows(matrix), rows);
}

TEST(Matrix, LargeRegionsSpanSeveralRunsAndLiterals) {
  std::vector<std::string> rows;
  for (int y = 0; y < 40; ++y) {
    std::string row;
    for (int x = 0; x < 600; ++x) row.push_back(static_cast<char>(x < 300 ? y % 3 : (x * 7 + y) % 256));
    rows.push_back(row);
  }
  TVkMatrix matrix;
  TKsMemoryStream stream(MatrixBitmapFile(rows));
  matrix.LoadFromStream(stream);
  EXPECT_EQ(Rows(matrix), rows);
}

TEST(Matrix, EscapesThatEndRowsAndThePicture) {
  struct Case {
    const char* what;
    std::string data;
    std::vector<std::string> rows;  // top row first
  };
  const Case cases[] = {
      {"a row ended early keeps zeros",
       Repeat(2, 7) + EndOfRow() + Repeat(3, 1) + EndOfPicture(),
       {"\1\1\1", std::string("\7\7\0", 3)}},
      {"an empty row", EndOfRow() + Literal("\4\5\6") + EndOfPicture(),
       {"\4\5\6", std::string(3, '\0')}},
      {"every row ended before the end mark",
       Repeat(3, 8) + EndOfRow() + Repeat(1, 1) + Repeat(2, 2) + EndOfRow() + EndOfPicture(),
       {"\1\2\2", "\10\10\10"}},
      {"the data ends after the last row", Repeat(3, 8) + EndOfRow() + Repeat(3, 9) + EndOfRow(),
       {"\11\11\11", "\10\10\10"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TVkMatrix matrix;
    matrix.LoadFromBytes(MatrixFile(3, 2, c.data));
    EXPECT_EQ(Rows(matrix), c.rows);
  }
}

TEST(Matrix, RefusesEveryOtherBitmap) {
  const std::string good_rows = Repeat(3, 1) + EndOfRow() + Repeat(3, 2) + EndOfPicture();
  const auto with = [&](auto change) {
    BmpLayout bitmap = MatrixLayout(3, 2, good_rows);
    change(bitmap);
    return BmpFile(bitmap);
  };
  const auto rows = [&](std::string data) { return MatrixFile(3, 2, std::move(data)); };
  std::vector<std::uint32_t> changed_palette = testing::RequiredPalette();
  changed_palette[1] ^= 0x100;
  struct Case {
    const char* what;
    std::string file;
  };
  const Case cases[] = {
      {"position jump", rows(Repeat(1, 1) + Jump(1, 0) + Repeat(1, 1) + EndOfRow() + Repeat(3, 2) + EndOfPicture())},
      {"run past its row", rows(Repeat(4, 1) + EndOfRow() + Repeat(3, 2) + EndOfPicture())},
      {"run past its row after others", rows(Repeat(2, 1) + Repeat(2, 1) + EndOfRow() + Repeat(3, 2) + EndOfPicture())},
      {"literal past its row", rows(Literal("\1\2\3\4") + EndOfRow() + Repeat(3, 2) + EndOfPicture())},
      {"literal past the data", rows(Repeat(3, 1) + EndOfRow() + Repeat(0, 3) + "\1")},
      {"a row missing", rows(Repeat(3, 1) + EndOfPicture())},
      {"a row too many", rows(good_rows.substr(0, 4) + EndOfRow() + Repeat(3, 2) + EndOfRow() + Repeat(3, 3) + EndOfPicture())},
      {"pixels after the last row", rows(Repeat(3, 1) + EndOfRow() + Repeat(3, 2) + EndOfRow() + Repeat(1, 1))},
      {"top row short", rows(Repeat(3, 1) + EndOfRow() + Repeat(2, 2) + EndOfPicture())},
      {"data cut off", rows(Repeat(3, 1) + EndOfRow() + Repeat(3, 2))},
      {"no data", rows("")},
      {"another palette", with([&](BmpLayout& s) { s.palette = changed_palette; })},
      {"4-bit colour", with([](BmpLayout& s) { 
         s.bits = 4;
         s.compression = 2;
       })},
      {"uncompressed", with([](BmpLayout& s) { s.compression = 0; })},
      {"two planes", with([](BmpLayout& s) { s.planes = 2; })},
      {"a larger header", with([](BmpLayout& s) { s.header_size = 108; })},
      {"top-down", with([](BmpLayout& s) { s.height = -2; })},
      {"no width", with([](BmpLayout& s) { s.width = 0; })},
      {"not BM", with([](BmpLayout& s) { s.magic = "MB"; })},
      {"huge size in a small file", with([](BmpLayout& s) { s.width = s.height = 0x7FFFFFFF; })},
      {"cut in the palette", MatrixFile(3, 2, good_rows).substr(0, 500)},
      {"pixel offset past the end", [&] {
         std::string file = MatrixFile(3, 2, good_rows);
         file[11] = '\x7F';
         return file;
       }()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TVkMatrix matrix;
    matrix.LoadFromBytes(rows(good_rows));  // a failed load forgets what was there
    try {
      matrix.LoadFromBytes(c.file);
      ADD_FAILURE() << "loaded";
    } catch (const EVkError& error) {
      EXPECT_EQ(error.what(), TVkMatrix::kFormatError);
    }
    EXPECT_EQ(matrix.Width(), 0);
    EXPECT_EQ(matrix.Height(), 0);
    EXPECT_EQ(matrix.ValueAt(0, 0, -7), -7);
  }
}

TEST(Matrix, PointsOutsideGiveTheDefault) {
  TVkMatrix matrix;
  EXPECT_EQ(matrix.ValueAt(0, 0, 99), 99);
  matrix.LoadFromBytes(MatrixBitmapFile({"\5\6\7", "\1\2\3"}));
  struct Case {
    int x, y, value;
  };
  const Case cases[] = {{0, 0, 5}, {2, 1, 3}, {-1, 0, 99}, {3, 0, 99}, {0, -1, 99}, {0, 2, 99},
                        {INT32_MIN, 0, 99}, {0, INT32_MAX, 99}};
  for (const Case& c : cases) EXPECT_EQ(matrix.ValueAt(c.x, c.y, 99), c.value) << c.x << "," << c.y;
}

}  // namespace
}  // namespace vork
