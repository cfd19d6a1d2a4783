#include "platform/byte_order.h"

#include <gtest/gtest.h>

namespace vork {
namespace {

// Bytes of 0x80 and above sit in a std::string as negative chars: a reader
// that widened them before masking would smear ones over the higher bytes.
TEST(ByteOrder, ReadsEveryWidthLeastSignificantByteFirst) {
  const std::string bytes = "\x01\x82\xF3\x04\xA5\x06\x07\xF8";
  struct Case {
    int count;
    std::uint64_t value;
  } cases[] = {{1, 0x01}, {2, 0x8201}, {3, 0xF38201}, {4, 0x04F38201}, {8, 0xF80706A504F38201}};
  for (const Case& c : cases) EXPECT_EQ(ReadLittleEndian(bytes.data(), c.count), c.value) << c.count << " bytes";
  EXPECT_EQ(ReadLittle16(bytes.data() + 1), 0xF382u);
  EXPECT_EQ(ReadLittle32(bytes.data() + 3), 0x0706A504u);
  EXPECT_EQ(ReadLittle64(bytes.data()), 0xF80706A504F38201u);
}

TEST(ByteOrder, AppendWritesOnlyTheLowBytesAndReadsBack) {
  std::string out = "x";
  AppendLittleEndian(out, 0xFFFFFFFF80017F02u, 3);
  AppendLittleEndian(out, 0xFFFFFFFFu, 4);
  AppendLittleEndian(out, 0x8877665544332211u, 8);
  ASSERT_EQ(out.size(), 1u + 3 + 4 + 8);
  EXPECT_EQ(out.substr(0, 4), std::string("x\x02\x7F\x01", 4));
  EXPECT_EQ(ReadLittle32(out.data() + 4), 0xFFFFFFFFu);
  EXPECT_EQ(ReadLittle64(out.data() + 8), 0x8877665544332211u);
}

}  // namespace
}  // namespace vork
