#include "vm/value_stack.h"

#include <gtest/gtest.h>

#include <functional>

namespace vork {
namespace {

int StackFault(const std::function<void()>& action) {
  try {
    action();
  } catch (const EVkStack& e) {
    return e.Code();
  }
  return -1;
}

void PushWords(TVkStack& stack, int count) {
  for (int i = 0; i < count; ++i) stack.Push(i);
}

TEST(ValueStackTest, GrowsByTheDeltaBeyondWhatIsNeeded) {
  TVkStack stack;
  PushWords(stack, 8192);
  EXPECT_EQ(stack.Capacity(), 32768);
  stack.Push(1);  // the 8,193rd word
  EXPECT_EQ(stack.Capacity(), 65540);
  PushWords(stack, 65540 / 4 - 8193);
  EXPECT_EQ(stack.Capacity(), 65540);
  stack.Push(2);
  EXPECT_EQ(stack.Capacity(), 98312);
  // Contents survive the reallocations.
  EXPECT_EQ(stack.Peek(8191 * 4), 8191);
  EXPECT_EQ(stack.Peek(8192 * 4), 1);
}

TEST(ValueStackTest, LastGrowthIsCappedAtTheMaximumAndTheNextWordIsRefused) {
  TVkStack stack;
  PushWords(stack, 1015928 / 4);
  ASSERT_EQ(stack.Capacity(), 1015928);
  ASSERT_EQ(stack.Length(), 1015928);
  stack.Push(7);
  EXPECT_EQ(stack.Capacity(), 1048576);
  PushWords(stack, 262144 - stack.Length() / 4);
  EXPECT_EQ(stack.Length(), 262144 * 4);
  EXPECT_EQ(StackFault([&] { stack.Push(1); }), EVkStack::kFull);
  EXPECT_EQ(stack.Length(), 262144 * 4);
  EXPECT_EQ(stack.Peek(stack.Length() - 4), 262144 - 1015928 / 4 - 2);
  EXPECT_EQ(StackFault([&] { stack.SetLength(1048580); }), EVkStack::kFull);
  EXPECT_EQ(StackFault([&] { stack.PushZeros(1); }), EVkStack::kFull);
  EXPECT_EQ(stack.Length(), 262144 * 4);
}

TEST(ValueStackTest, FaultsLeaveLengthAndContentsUnchanged) {
  TVkStack stack;
  stack.Push(10);
  stack.Push(20);
  struct Case {
    const char* what;
    std::function<void()> action;
    int code;
  };
  const Case cases[] = {
      {"peek at length", [&] { stack.Peek(8); }, EVkStack::kBadPeek},
      {"peek at -4", [&] { stack.Peek(-4); }, EVkStack::kBadPeek},
      {"peek straddling the top", [&] { stack.Peek(6); }, EVkStack::kBadPeek},
      {"poke at length", [&] { stack.Poke(8, 1); }, EVkStack::kBadPoke},
      {"poke at -4", [&] { stack.Poke(-4, 1); }, EVkStack::kBadPoke},
      {"negative length", [&] { stack.SetLength(-4); }, EVkStack::kUnderflow},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(StackFault(c.action), c.code);
    EXPECT_EQ(stack.Length(), 8);
    EXPECT_EQ(stack.Peek(0), 10);
    EXPECT_EQ(stack.Peek(4), 20);
  }
  EXPECT_STREQ(EVkStack(2).what(), "Error code = 2");
}

TEST(ValueStackTest, PopPeekPokeAndSetLengthWorkAtTheirLimits) {
  TVkStack stack;
  EXPECT_EQ(StackFault([&] { stack.Pop(); }), EVkStack::kUnderflow);
  stack.Push(-5);
  stack.Push(6);
  stack.Poke(4, 60);
  EXPECT_EQ(stack.Peek(4), 60);
  EXPECT_EQ(stack.Pop(), 60);
  EXPECT_EQ(stack.Pop(), -5);
  EXPECT_EQ(StackFault([&] { stack.Pop(); }), EVkStack::kUnderflow);

  stack.PushZeros(0);
  EXPECT_EQ(stack.Length(), 0);
  stack.Push(3);
  stack.PushZeros(2);
  EXPECT_EQ(stack.Length(), 12);
  EXPECT_EQ(stack.Peek(4), 0);
  EXPECT_EQ(stack.Peek(8), 0);
  stack.SetLength(0);
  EXPECT_EQ(stack.Length(), 0);
  // Words uncovered again keep what the buffer held.
  stack.SetLength(4);
  EXPECT_EQ(stack.Peek(0), 3);
}

TEST(ValueStackDeathTest, BadSizesEndTheProgramWithAnInternalError) {
  EXPECT_EXIT(TVkStack(-1, 10, 0), ::testing::ExitedWithCode(3), "INTERNAL ERROR");
  EXPECT_EXIT(TVkStack(20, 10, 0), ::testing::ExitedWithCode(3), "INTERNAL ERROR");
  EXPECT_EXIT(TVkStack(0, 10, -1), ::testing::ExitedWithCode(3), "INTERNAL ERROR");
  EXPECT_EXIT(TVkStack().PushZeros(-1), ::testing::ExitedWithCode(3), "INTERNAL ERROR");
}

}  // namespace
}  // namespace vork
