// Decoding the pictures courses carry: Windows bitmaps in every layout and
// JPEG, and refusing damaged or oversized files with a clear message.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/errors.h"
#include "resources/picture_files.h"
#include "resources/picture.h"

namespace vork {
namespace {

using ::testing::HasSubstr;
using testing::BmpFile;
using testing::BmpLayout;
using testing::JpegFile;

constexpr uint32_t R = 0xFF0000, G = 0x00FF00, B = 0x0000FF, W = 0xFFFFFF, K = 0, Y = 0xFFFF00;
// The 3 x 2 picture most cases store: top row red, green, blue; bottom row
// white, black, yellow. Palette indices: K R G B W Y.
const std::vector<uint32_t> kPalette = {K, R, G, B, W, Y};
const std::vector<uint32_t> kColours = {R, G, B, W, K, Y};

std::vector<uint32_t> Rgb(const Picture& picture) {
  std::vector<uint32_t> colours;
  for (uint32_t pixel : picture.pixels) {
    EXPECT_EQ(pixel >> 24, 0xFFu) << "every pixel is opaque";
    colours.push_back(pixel & 0xFFFFFF);
  }
  return colours;
}

struct BmpCase {
  const char* what;
  BmpLayout bitmap;
  std::vector<uint32_t> expected = kColours;
};

std::vector<BmpCase> BmpCases() {
  using std::string;
  return {
      {"8 bits with palette", {3, 2, 8, 0, 40, kPalette, {}, string("\4\0\5\0\1\2\3\0", 8)}},
      {"4 bits with palette", {3, 2, 4, 0, 40, kPalette, {}, string("\x40\x50\0\0\x12\x30\0\0", 8)}},
      {"1 bit", {3, 2, 1, 0, 40, {K, W}, {}, string("\x40\0\0\0\xA0\0\0\0", 8)}, {W, K, W, K, W, K}},
      {"24 bits", {3, 2, 24, 0, 40, {}, {},
                   string("\xFF\xFF\xFF\0\0\0\0\xFF\xFF\0\0\0" "\0\0\xFF\0\xFF\0\xFF\0\0\0\0\0", 24)}},
      {"24 bits top-down", {3, -2, 24, 0, 40, {}, {},
                            string("\0\0\xFF\0\xFF\0\xFF\0\0\0\0\0" "\xFF\xFF\xFF\0\0\0\0\xFF\xFF\0\0\0", 24)}},
      {"32 bits, unused byte zero", {3, 2, 32, 0, 40, {}, {},
                                     string("\xFF\xFF\xFF\0\0\0\0\0\0\xFF\xFF\0"
                                            "\0\0\xFF\0\0\xFF\0\0\xFF\0\0\0", 24)}},
      {"16 bits 5-5-5", {3, 2, 16, 0, 40, {}, {},
                         string("\xFF\x7F\0\0\xE0\x7F\0\0" "\0\x7C\xE0\x03\x1F\0\0\0", 16)}},
      {"16 bits 5-6-5 bit fields", {3, 2, 16, 3, 40, {}, {0xF800, 0x07E0, 0x001F},
                                    string("\xFF\xFF\0\0\xE0\xFF\0\0" "\0\xF8\xE0\x07\x1F\0\0\0", 16)}},
      {"RLE8: runs and an absolute run", {3, 2, 8, 1, 40, kPalette, {},
                                          string("\1\4\1\0\1\5\0\0" "\0\3\1\2\3\0" "\0\1", 16)}},
      {"RLE4: runs and an absolute run", {3, 2, 4, 2, 40, kPalette, {},
                                          string("\1\x40\2\x05\0\0" "\0\3\x12\x30" "\0\1", 12)}},
      {"old 12-byte header", {3, 2, 8, 0, 12, kPalette, {}, string("\4\0\5\0\1\2\3\0", 8)}},
      {"124-byte header", {3, 2, 8, 0, 124, kPalette, {}, string("\4\0\5\0\1\2\3\0", 8)}},
  };
}

TEST(DecodeBmp, ReadsEveryLayoutCoursesCarry) {
  for (const auto& c : BmpCases()) {
    Picture picture;
    ASSERT_NO_THROW(picture = DecodeBmp(BmpFile(c.bitmap), "x.bmp")) << c.what;
    EXPECT_EQ(picture.width, 3) << c.what;
    EXPECT_EQ(picture.height, 2) << c.what;
    EXPECT_EQ(Rgb(picture), c.expected) << c.what;
  }
}

TEST(DecodeBmp, RunLengthDataThatSkipsOrOverrunsStaysInsideThePicture) {
  // A delta over the bottom row, then a run of 200 on a row 3 wide, then
  // the data ends without an end-of-picture mark but with every row done.
  BmpLayout bitmap{3, 2, 8, 1, 40, kPalette, {}, std::string("\0\2\0\1" "\xC8\1\0\0", 8)};
  Picture picture = DecodeBmp(BmpFile(bitmap), "x.bmp");
  EXPECT_EQ(Rgb(picture), (std::vector<uint32_t>{R, R, R, K, K, K}));
}

TEST(DecodeBmp, DamagedFilesFailNamingThePicture) {
  BmpLayout good{3, 2, 8, 0, 40, kPalette, {}, std::string("\4\0\5\0\1\2\3\0", 8)};
  auto with = [&](auto change) {
    BmpLayout bitmap = good;
    change(bitmap);
    return BmpFile(bitmap);
  };
  struct Case {
    const char* what;
    std::string file;
    const char* message;
  };
  const Case cases[] = {
      {"not a bitmap", "GIF89a....", "\"pic.bmp\": it does not start with \"BM\""},
      {"cut in the header", BmpFile(good).substr(0, 20), "cut short"},
      {"unknown header", with([](BmpLayout& s) { s.header_size = 64 + 99; }), "unknown header size"},
      {"bit fields at 8 bits", with([](BmpLayout& s) { s.compression = 3; }), "is not supported"},
      {"pixels cut short", BmpFile(good).substr(0, BmpFile(good).size() - 3), "pixel data is cut short"},
      {"RLE cut short", with([](BmpLayout& s) { s.compression = 1; s.pixels = "\1\4"; }),
       "compressed data is cut short"},
      {"RLE absolute run past the end", with([](BmpLayout& s) { s.compression = 1; s.pixels = std::string("\0\x40\1\2", 4); }),
       "compressed data is cut short"},
      {"RLE stored top-down", with([](BmpLayout& s) { s.compression = 1; s.height = -2; }), "top-down"},
      {"no pixels", with([](BmpLayout& s) { s.width = 0; }), "has no pixels"},
      {"too wide", with([](BmpLayout& s) { s.width = 1 << 20; }), "\"pic.bmp\" is too large: 1048576 x 2"},
      {"too many pixels", with([](BmpLayout& s) { s.width = 10000; s.height = 10000; }), "is too large"},
  };
  for (const auto& c : cases) {
    try {
      DecodeBmp(c.file, "pic.bmp");
      ADD_FAILURE() << c.what << " was accepted";
    } catch (const EVkError& error) {
      EXPECT_THAT(error.what(), HasSubstr(c.message)) << c.what;
      EXPECT_THAT(error.what(), HasSubstr("pic.bmp")) << c.what;
    }
  }
}

TEST(DecodeBmp, IndexBeyondAShortPaletteShowsBlack) {
  BmpLayout bitmap{3, 2, 8, 0, 40, {R, G}, {}, std::string("\1\0\7\0\1\1\1\0", 8)};
  EXPECT_EQ(Rgb(DecodeBmp(BmpFile(bitmap), "x.bmp")), (std::vector<uint32_t>{G, G, G, G, R, K}));
}

uint32_t Quadrant(int x, int y) {
  return x < 8 ? (y < 8 ? R : G) : (y < 8 ? B : W);
}

bool Near(uint32_t a, uint32_t b) {
  for (int shift : {0, 8, 16})
    if (std::abs(static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF)) > 24)
      return false;
  return true;
}

TEST(DecodeJpeg, DecodesBaselineProgressiveAndGreyPictures) {
  for (bool progressive : {false, true}) {
    Picture picture = DecodeJpeg(JpegFile(16, 16, Quadrant, 95, progressive), "q.jpg");
    ASSERT_EQ(picture.width, 16);
    ASSERT_EQ(picture.height, 16);
    auto colours = Rgb(picture);
    for (auto [x, y] : {std::pair{3, 3}, std::pair{12, 3}, std::pair{3, 12}, std::pair{12, 12}})
      EXPECT_TRUE(Near(colours[static_cast<size_t>(y * 16 + x)], Quadrant(x, y)))
          << "pixel " << x << "," << y << (progressive ? " progressive" : "");
  }
  Picture grey = DecodeJpeg(JpegFile(8, 8, [](int, int) { return 0x808080u; }, 95, false, true), "g.jpg");
  EXPECT_TRUE(Near(grey.pixels[0], 0x808080));
}

TEST(DecodeJpeg, DamagedOrOversizedFilesFailInsteadOfEndingTheProgram) {
  std::string good = JpegFile(16, 16, Quadrant);
  std::string huge = good;
  size_t sof = huge.find("\xFF\xC0");
  ASSERT_NE(sof, std::string::npos);
  huge[sof + 5] = '\x4E';  // height 0x4E20 = 20000
  huge[sof + 6] = '\x20';
  huge[sof + 7] = '\x4E';  // width 20000
  huge[sof + 8] = '\x20';
  struct Case {
    const char* what;
    std::string file;
    const char* message;
  };
  const Case cases[] = {
      {"not a JPEG", "BM not a jpeg at all", "Cannot decode JPEG picture \"p.jpg\": "},
      {"empty", "", "Cannot decode JPEG picture \"p.jpg\": "},
      {"header only", good.substr(0, 20), "Cannot decode JPEG picture \"p.jpg\": "},
      {"too large", huge, "Picture \"p.jpg\" is too large: 20000 x 20000"},
  };
  for (const auto& c : cases) {
    try {
      DecodeJpeg(c.file, "p.jpg");
      ADD_FAILURE() << c.what << " was accepted";
    } catch (const EVkError& error) {
      EXPECT_THAT(error.what(), HasSubstr(c.message)) << c.what;
    }
  }
}

TEST(DecodeJpeg, TruncatedDataStillGivesAPictureOfTheDeclaredSize) {
  auto noise = [](int x, int y) { return static_cast<uint32_t>(x * 2654435761u ^ y * 40503u); };
  std::string good = JpegFile(128, 128, noise);
  Picture picture = DecodeJpeg(good.substr(0, good.size() * 2 / 3), "t.jpg");
  EXPECT_EQ(picture.width, 128);
  EXPECT_EQ(picture.pixels.size(), 128u * 128u);
}

}  // namespace
}  // namespace vork
