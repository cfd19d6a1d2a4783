#include "media/oggaudio/byte_range_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "media/oggaudio/sound_fixtures.h"
#include "media/oggaudio/oggaudio.h"
#include "media/oggaudio/sound_error.h"

namespace vork {
namespace {

using testing::TempDir;

int OpenError(const SoundLocation& location) {
  try {
    ByteRangeFile::Open(location);
    return OGGAUDIO_ERROR_NONE;
  } catch (const SoundError& error) {
    return error.Code();
  }
}

TEST(ByteRangeFile, ARangeMustLieInsideItsFile) {
  TempDir dir;
  std::string path = (dir / "archive.vka").string();
  testing::WriteFile(path, std::string(100, 'x'));
  struct {
    std::uint64_t offset, size;
    int error;
  } cases[] = {
      {0, 100, OGGAUDIO_ERROR_NONE},
      {100, 0, OGGAUDIO_ERROR_NONE},
      {99, 1, OGGAUDIO_ERROR_NONE},
      {99, 2, OGGAUDIO_ERROR_RANGE_PAST_END},
      {101, 0, OGGAUDIO_ERROR_RANGE_PAST_END},
      // offset + size wraps around to a small number
      {2, 18446744073709551615ull, OGGAUDIO_ERROR_RANGE_PAST_END},
      {18446744073709551615ull, 2, OGGAUDIO_ERROR_RANGE_PAST_END},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(OpenError({path, true, c.offset, c.size}), c.error) << c.offset << "," << c.size;
  }
}

TEST(ByteRangeFile, OnlyRegularFilesOpenAndAFifoDoesNotBlock) {
  TempDir dir;
  std::string fifo = (dir / "pipe.ogg").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(OpenError({fifo, false, 0, 0}), OGGAUDIO_ERROR_CANNOT_OPEN);
  EXPECT_EQ(OpenError({dir.Path().string(), false, 0, 0}), OGGAUDIO_ERROR_CANNOT_OPEN);
  EXPECT_EQ(OpenError({(dir / "missing.ogg").string(), false, 0, 0}), OGGAUDIO_ERROR_CANNOT_OPEN);
}

TEST(ByteRangeFile, ReadsAndSeeksOnlyWithinTheRange) {
  TempDir dir;
  std::string path = (dir / "archive.vka").string();
  testing::WriteFile(path, "0123456789");
  ByteRangeFile file = ByteRangeFile::Open({path, true, 3, 4});
  char buffer[16] = {};
  EXPECT_EQ(file.Read(buffer, sizeof buffer), 4u);
  EXPECT_EQ(std::string(buffer, 4), "3456");
  EXPECT_EQ(file.Read(buffer, 1), 0u);

  EXPECT_TRUE(file.Seek(-1, SEEK_END));
  EXPECT_EQ(file.Read(buffer, 2), 1u);
  EXPECT_EQ(buffer[0], '6');
  EXPECT_TRUE(file.Seek(-2, SEEK_CUR));
  EXPECT_EQ(file.Tell(), 2u);
  // Outside the range a seek is refused and the position stays.
  EXPECT_FALSE(file.Seek(-1, SEEK_SET));
  EXPECT_FALSE(file.Seek(1, SEEK_END));
  EXPECT_FALSE(file.Seek(-3, SEEK_CUR));
  EXPECT_FALSE(file.Seek(INT64_MIN, SEEK_END));
  EXPECT_FALSE(file.Seek(INT64_MAX, SEEK_CUR));
  EXPECT_EQ(file.Tell(), 2u);
  EXPECT_EQ(file.Read(buffer, 1), 1u);
  EXPECT_EQ(buffer[0], '5');
}

}  // namespace
}  // namespace vork
