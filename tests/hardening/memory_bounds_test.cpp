// Every reader of untrusted bytes stays within a fixed multiple of its input
// plus a constant, however large the sizes the input claims: each case is a
// small file whose header or data claims something huge, read under the
// heap meter. A picture above the picture limits is refused with an error
// that names it, before anything is allocated for its pixels.

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "archives/ark_reader.h"
#include "archives/memory_stream.h"
#include "exercises/crossword/crossword_data.h"
#include "exercises/expire_items.h"
#include "exercises/matrix.h"
#include "exercises/matrix_bitmaps.h"
#include "heap_meter.h"
#include "media/oggaudio/byte_range_file.h"
#include "media/oggaudio/sound_decoder.h"
#include "media/oggaudio/sound_error.h"
#include "objects/rtf/rtf_reader.h"
#include "platform/errors.h"
#include "resources/picture.h"
#include "textscript/include_expansion.h"
#include "users/reg_file.h"
#include "vm/image.h"

namespace vork::testing {
namespace {

// The bound for everything but pictures.
constexpr std::int64_t kInputMultiple = 64;
constexpr std::int64_t kConstant = 1 << 20;

std::string Le32(std::uint32_t value) {
  std::string out;
  for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((value >> shift) & 0xFF);
  return out;
}
std::string Le16(std::uint16_t value) { return Le32(value).substr(0, 2); }

// A BMP with a 40-byte header whose count of colours is colours_used.
std::string Bitmap(std::int32_t width, std::int32_t height, int bits, std::uint32_t compression,
                   std::uint32_t colours_used, std::vector<std::uint32_t> palette, std::string data) {
  return BmpFile({width, height, bits, compression, 40, std::move(palette), {}, std::move(data), 1, "BM",
                  colours_used});
}

const std::vector<std::uint32_t> kGreys = [] {
  std::vector<std::uint32_t> palette;
  for (std::uint32_t i = 0; i < 256; ++i) palette.push_back(i * 0x010101);
  return palette;
}();

// The JPEG seed of the picture fuzzer with the size in its frame header
// replaced, its scan data cut off after a few bytes.
std::string JpegClaiming(std::uint16_t width, std::uint16_t height) {
  std::FILE* file = std::fopen(VORK_SOURCE_DIR "/fuzz/picture/corpus/baseline.jpg", "rb");
  if (!file) return {};
  std::string bytes(4096, '\0');
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
  std::fclose(file);
  const size_t frame = bytes.find("\xFF\xC0");
  const size_t scan = bytes.find("\xFF\xDA");
  if (frame == std::string::npos || scan == std::string::npos) return {};
  bytes[frame + 5] = static_cast<char>(height >> 8);
  bytes[frame + 6] = static_cast<char>(height & 0xFF);
  bytes[frame + 7] = static_cast<char>(width >> 8);
  bytes[frame + 8] = static_cast<char>(width & 0xFF);
  return bytes.substr(0, scan + 40);
}

std::string Wave(std::uint32_t data_size) {
  std::string format = Le16(1) + Le16(2) + Le32(44100) + Le32(44100 * 4) + Le16(4) + Le16(16);
  return "RIFF" + Le32(0xFFFFFFF0) + "WAVE" + "fmt " + Le32(16) + format + "data" + Le32(data_size) +
         std::string(64, '\x11');
}

// Includes that multiply: every level includes the next ten times.
std::map<std::string, std::vector<std::string>> MultiplyingIncludes() {
  std::map<std::string, std::vector<std::string>> files;
  for (char level = 'a'; level <= 'i'; ++level) {
    std::string next = level == 'i' ? "" : std::string(1, static_cast<char>(level + 1)) + ".inc";
    std::vector<std::string>& lines = files[std::string(1, level) + ".inc"];
    for (int i = 0; i < 10; ++i) lines.push_back(next.empty() ? "say the word" : "#include " + next);
  }
  return files;
}

void ReadArchive(const std::string& bytes) {
  TKsArkReader reader(std::make_shared<TKsMemoryStream>(bytes));
  for (size_t i = 0; i < reader.Count(); ++i) reader.Open(reader.Name(i))->ReadAll();
}

void ReadWave(const std::string& bytes) {
  std::FILE* file = ::fmemopen(const_cast<char*>(bytes.data()), bytes.size(), "rb");
  ASSERT_NE(file, nullptr);
  auto decoder = OpenWaveSound(ByteRangeFile(file, 0, bytes.size()));
  std::byte buffer[4096];
  while (decoder->Read(buffer) != 0) {
  }
}

std::string MatrixClaiming(std::int32_t width, std::int32_t height) {
  return BmpFile(MatrixLayout(width, height, Repeat(255, 7) + EndOfRow() + Jump(200, 200) + EndOfPicture()));
}

// Rows of nothing but their end marks: a run-length matrix may rightly be
// far larger than its file.
std::string MatrixRows(std::int32_t width, std::int32_t height) {
  std::string pixels;
  for (int row = 1; row < height; ++row) pixels += EndOfRow();
  return BmpFile(MatrixLayout(width, height, pixels + EndOfPicture()));
}

void ReadMatrix(const std::string& bytes) {
  TVkMatrix matrix;
  matrix.LoadFromBytes(bytes);
}

// Readers whose output may rightly be much larger than their input are
// bounded by their own stated limits instead: pictures by the pixel limits
// (four bytes a pixel), run-length matrices by their byte limit, script
// expansion by its line and byte limits.
constexpr std::int64_t kPictureBound = 4 * kMaxPicturePixels + kConstant;
constexpr std::int64_t kMatrixBound = TVkMatrix::kMaxBytes + kConstant;
const std::int64_t kExpansionBound = [] {
  TVkIncludeLimits limits;
  return static_cast<std::int64_t>(limits.max_bytes + limits.max_lines * sizeof(std::string)) + kConstant;
}();

struct ReaderCase {
  const char* name;
  std::string input;
  std::function<void(const std::string&)> read;
  // The error the reader must give; empty when it may also succeed.
  std::string error_contains;
  // 0: the input multiple.
  std::int64_t bound = 0;
};

void DecodeBitmap(const std::string& bytes) { DecodeBmp(bytes, "huge.img"); }
void DecodeJpegPicture(const std::string& bytes) { DecodeJpeg(bytes, "huge.img"); }

std::vector<ReaderCase> Cases() {
  const std::string archive_head = "ARK2" + std::string(1, '\0') + Le32(9);
  return {
      {"archive claiming four billion entries", archive_head + Le32(0xFFFFFFFF) + std::string(40, 'x'),
       ReadArchive, "entries"},
      {"archive entry claiming four gigabytes",
       archive_head + Le32(1) + "\x05hello" + Le32(0) + Le32(0xFFFFFFF0), ReadArchive, "lies outside"},
      {"archive directory past the end", "ARK2" + std::string(1, '\0') + Le32(0x7FFFFFF0) + Le32(0),
       ReadArchive, "past the end"},
      {"image claiming a two-gigabyte area",
       std::string("VKBC") + Le32(0) + Le32(0) + Le32(0) + Le32(0x7FFFFFFF) + "\x01\x02",
       [](const std::string& bytes) { ParseImage(bytes); }, ""},
      {"settings claiming two billion items", "VKR1" + Le32(0x7FFFFFFF) + Le32(0) + Le32(0),
       [](const std::string& bytes) { DecodeRegFile(bytes, "huge.vkr"); }, "ends inside"},
      {"settings name claiming two gigabytes", "VKR1" + Le32(1) + Le32(0x7FFFFFFF) + "abc",
       [](const std::string& bytes) { DecodeRegFile(bytes, "huge.vkr"); }, "ends inside"},
      {"rich text with a two-gigabyte binary run", "{\\rtf1 \\bin2000000000 abc}",
       [](const std::string& bytes) { ReadRtf(bytes); }, ""},
      {"rich text nested 100000 groups deep", std::string(100000, '{') + "\\rtf1 deep",
       [](const std::string& bytes) { ReadRtf(bytes); }, ""},
      {"test-manager state naming item FFFF of three", "/FFFF1202401010000/00011202401010000",
       [](const std::string& bytes) { CheckState(bytes, 3); }, ""},
      {"crossword emphasizing a huge area", "[grid]\nab\ncd\n[emphasize]\n0,0,2000000000,2000000000\n",
       [](const std::string& bytes) {
         TCrCrosswordData data = TCrCrosswordData::Sample();
         data.LoadFromText(bytes);
       },
       ""},
      {"matrix bitmap claiming 60000 x 60000", MatrixClaiming(60000, 60000), ReadMatrix, ""},
      {"matrix bitmap of 500 empty rows 65000 wide", MatrixRows(65000, 500), ReadMatrix, "", kMatrixBound},
      {"matrix bitmap claiming a negative height", MatrixClaiming(16, -2000000000), ReadMatrix, ""},
      {"wave sound claiming four gigabytes", Wave(0xFFFFFFF0), ReadWave, ""},
      {"script includes that multiply a billion times", "#include a.inc",
       [](const std::string& bytes) {
         auto files = MultiplyingIncludes();
         files["main.txt"] = {bytes};
         std::vector<std::string> lines;
         ExpandIncludes("main.txt", lines, [&](const std::string& name) { return files.at(name); });
       },
       "main.txt", kExpansionBound},
      {"bitmap claiming 100000 x 100000", Bitmap(100000, 100000, 24, 0, 0, {}, std::string(16, 'x')),
       DecodeBitmap, "\"huge.img\" is too large"},
      {"bitmap claiming 16385 x 1", Bitmap(16385, 1, 24, 0, 0, {}, std::string(16, 'x')), DecodeBitmap,
       "\"huge.img\" is too large"},
      {"bitmap claiming 6000 x 6000", Bitmap(6000, 6000, 24, 0, 0, {}, std::string(16, 'x')), DecodeBitmap,
       "\"huge.img\" is too large"},
      {"bitmap claiming 4000 x 4000, no pixels", Bitmap(4000, 4000, 24, 0, 0, {}, std::string(16, 'x')),
       DecodeBitmap, "the pixel data is cut short"},
      {"bitmap claiming four billion colours", Bitmap(4, 4, 8, 0, 0xFFFFFFFF, kGreys, std::string(16, 'x')),
       DecodeBitmap, ""},
      {"run-length bitmap claiming 4000 x 4000",
       Bitmap(4000, 4000, 8, 1, 0, kGreys, std::string("\x00\x01", 2)), DecodeBitmap, "", kPictureBound},
      {"jpeg claiming 60000 x 60000", JpegClaiming(60000, 60000), DecodeJpegPicture,
       "\"huge.img\" is too large"},
      {"jpeg claiming 4000 x 4000, cut short", JpegClaiming(4000, 4000), DecodeJpegPicture, "", kPictureBound},
  };
}

class ReaderMemory : public ::testing::TestWithParam<size_t> {};

TEST_P(ReaderMemory, StaysWithinAMultipleOfItsInput) {
  const ReaderCase reader = Cases()[GetParam()];
  std::string error;
  std::int64_t peak = 0;
  {
    PeakHeap heap;
    try {
      reader.read(reader.input);
    } catch (const EVkError& e) {
      error = e.what();
    } catch (const SoundError& e) {
      error = e.what();
    }
    peak = heap.Bytes();
  }
  ASSERT_FALSE(reader.input.empty());
  const std::int64_t bound =
      reader.bound != 0 ? reader.bound : kInputMultiple * static_cast<std::int64_t>(reader.input.size()) + kConstant;
  std::printf("memory bound | %-48s | input %5zu B | peak %9lld B | bound %9lld B | %s\n", reader.name,
              reader.input.size(), static_cast<long long>(peak), static_cast<long long>(bound),
              error.empty() ? "read" : error.c_str());
  EXPECT_LE(peak, bound) << reader.name;
  if (!reader.error_contains.empty()) {
    EXPECT_NE(error.find(reader.error_contains), std::string::npos) << error;
  }
}

INSTANTIATE_TEST_SUITE_P(Readers, ReaderMemory, ::testing::Range<size_t>(0, Cases().size()));

}  // namespace
}  // namespace vork::testing
