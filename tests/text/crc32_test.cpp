#include "text/crc32.h"

#include <gtest/gtest.h>

namespace vork {
namespace {

TEST(Crc32, MatchesTheStandardCheckValues) {
  using namespace std::string_view_literals;
  struct Case { std::string_view bytes; std::uint32_t crc; } cases[] = {
      {"123456789", 0xCBF43926u},
      {"", 0u},
      {"a", 0xE8B7BE43u},
      {"\xFF", 0xFF000000u},
      {"a\0b"sv, 0x15E87871u},
      {"The quick brown fox jumps over the lazy dog", 0x414FA339u},
  };
  for (const auto& c : cases) EXPECT_EQ(Crc32(c.bytes), c.crc) << c.bytes;
}

TEST(Crc32, ReachesTheBytecodeAsASignedWord) {
  EXPECT_EQ(Crc32Word("123456789"), -873187034);
  EXPECT_EQ(Crc32Word("a"), static_cast<std::int32_t>(0xE8B7BE43u));
}

}  // namespace
}  // namespace vork
