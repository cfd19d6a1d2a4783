#include "vm/opcodes.h"

#include <gtest/gtest.h>

#include <string>

namespace vork {
namespace {

TEST(OpcodesTest, NamesAreTheInstructionSetInOpcodeOrder) {
  const char* const names[] = {
      "stop",   "jump",   "brfalse", "brtrue",  "call",     "return",   "returnval", "zerofill",
      "dupe",   "swap",   "dswap",   "wipe",    "add",      "sub",      "mul",       "div",
      "shl",    "shr",    "mod",     "negate",  "and",      "or",       "not",       "xor",
      "lt",     "le",     "eq",      "ne",      "ge",      "gt",       "loadcon",   "zero",
      "one",    "minusone", "load",  "store",   "gload",    "gstore",   "createobj", "method",
      "method2", "loadc"};
  ASSERT_EQ(std::size(names), static_cast<size_t>(kOpcodeCount));
  for (int i = 0; i < kOpcodeCount; ++i) {
    EXPECT_EQ(FindOpcodeInfo(i)->name, names[i]) << "opcode " << i;
  }
  EXPECT_EQ(FindOpcodeInfo(42), nullptr);
  EXPECT_EQ(FindOpcodeInfo(-1), nullptr);
  EXPECT_NO_THROW(CheckOpcodeNames());
}

TEST(OpcodesTest, LookupIgnoresLetterCaseAndOnlyTheTwoLoadsCarryImmediates) {
  EXPECT_EQ(OpcodeByName("ReturnVal"), Opcode::ReturnVal);
  EXPECT_EQ(OpcodeByName("METHOD2"), Opcode::Method2);
  EXPECT_EQ(OpcodeByName("method3"), std::nullopt);
  EXPECT_EQ(OpcodeByName(""), std::nullopt);
  for (int i = 0; i < kOpcodeCount; ++i) {
    const int expected = i == 30 ? 4 : (i == 41 ? 1 : 0);
    EXPECT_EQ(FindOpcodeInfo(i)->immediate_bytes, expected) << FindOpcodeInfo(i)->name;
  }
}

}  // namespace
}  // namespace vork
