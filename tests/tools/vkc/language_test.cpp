// Words, control flow, routines and scenes, run on the real machine.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tools/vkc/course_machine.h"

namespace vork::testing {
namespace {

using ::testing::ElementsAre;

struct ExpressionCase {
  const char* expression;
  const char* expected;
};

// Every expression is shown by one course, in order.
TEST(CourseLanguage, WordExpressionsFollowTheMachine) {
  const std::vector<ExpressionCase> cases = {
      {"2147483647 + 1", "-2147483648"},    // wraps around
      {"-2147483648 - 1", "2147483647"},
      {"65536 * 65536", "0"},               // low 32 bits of the product
      {"0x7FFFFFFF * 2", "-2"},
      {"0xFFFFFFFF", "-1"},                 // hexadecimal words may be written unsigned
      {"-7 / 2", "-3"},                     // truncates toward zero
      {"7 / -2", "-3"},
      {"-7 % 2", "-1"},                     // the sign of the dividend
      {"7 % -2", "1"},
      {"1 << 33", "2"},                     // shift counts modulo 32
      {"-1 >> 28", "15"},                   // logical shift
      {"~0", "-1"},
      {"!0", "1"},
      {"!5", "0"},
      {"-1 < 1", "1"},                      // signed comparison
      {"3 <= 3", "1"},
      {"5 >= 6", "0"},
      {"4 != 4", "0"},
      {"2 + 3 * 4", "14"},                  // precedence as in C
      {"(2 + 3) * 4", "20"},
      {"10 - 4 - 3", "3"},                  // left to right
      {"1 + 2 == 3", "1"},
      {"6 & 3 | 8 ^ 1", "11"},
      {"1 << 2 + 1", "8"},
      {"'A' + 1", "66"},
      {"--5", "5"},
      {"LIMIT * -1", "-12"},
      {"BUILD + SHOWN + LEAVE", "4"},
      {"true && false || true", "1"},
      {"2 && 3", "1"},                      // logical results are 0 or 1
      {"0 || 0", "0"},
  };
  std::string source = "const LIMIT = 12;\nvoid main() {\n";
  for (const auto& c : cases) source += std::string("  sys.showInfo(str(") + c.expression + "));\n";
  source += "}\n";
  CourseMachine machine;
  machine.Run(source);
  ASSERT_EQ(machine.Shown().size(), cases.size());
  for (size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(machine.Shown()[i], cases[i].expected) << cases[i].expression;
  }
}

TEST(CourseLanguage, LogicalOperatorsSkipTheirRightSide) {
  CourseMachine machine;
  machine.Run(R"(
    word calls;
    word touch(word value) { calls += 1; return value; }
    void show(word value) { sys.showInfo(str(value) + "/" + str(calls)); calls = 0; }
    void main() {
      show(touch(0) && touch(1));
      show(touch(1) && touch(0));
      show(touch(1) || touch(0));
      show(touch(0) || touch(0) || touch(7));
      if (touch(0) && touch(1)) sys.showInfo("wrong");
      show(0);
    }
  )");
  EXPECT_THAT(machine.Shown(), ElementsAre("0/1", "0/2", "1/1", "1/3", "0/1"));
}

TEST(CourseLanguage, ControlFlowAndLocals) {
  CourseMachine machine;
  machine.Run(R"(
    word collatzSteps(word n) {
      word steps = 0;
      while (n != 1) {
        if (n % 2 == 0) n = n / 2; else n = 3 * n + 1;
        steps += 1;
      }
      return steps;
    }
    word sign(word n) {
      if (n < 0) { return -1; } else if (n == 0) { return 0; }
      return 1;
    }
    word noReturn() { }
    void early(word n) {
      if (n > 0) return;
      sys.showInfo("not positive");
    }
    void main() {
      sys.showInfo(str(collatzSteps(27)));
      sys.showInfo(str(sign(-9)) + str(sign(0)) + str(sign(9)));
      sys.showInfo(str(noReturn()));
      early(1);
      early(0);
      word i = 0;
      word sum = 0;
      while (i < 3) { word j = 0; while (j < 3) { sum += i * j; j += 1; } i += 1; }
      sys.showInfo(str(sum));
    }
  )");
  EXPECT_THAT(machine.Shown(), ElementsAre("111", "-101", "0", "not positive", "9"));
}

TEST(CourseLanguage, RecursionAndArgumentOrder) {
  CourseMachine machine;
  machine.Run(R"(
    word fib(word n) { if (n < 2) return n; return fib(n - 1) + fib(n - 2); }
    word depth(word n) { if (n == 0) return 0; return 1 + depth(n - 1); }
    word minus(word a, word b) { return a - b; }
    void main() {
      sys.showInfo(str(fib(20)));
      sys.showInfo(str(depth(20000)));
      sys.showInfo(str(minus(10, 3)));
    }
  )");
  EXPECT_THAT(machine.Shown(), ElementsAre("6765", "20000", "7"));
}

TEST(CourseLanguage, GlobalsStartWithTheirConstants) {
  CourseMachine machine;
  machine.Run(R"(
    const START = -40;
    word level = START;
    word plain;
    void bump() { level += 2; plain -= 1; }
    void main() { bump(); bump(); sys.showInfo(str(level) + " " + str(plain)); }
  )");
  EXPECT_THAT(machine.Shown(), ElementsAre("-36 -2"));
}

TEST(CourseLanguage, StopEndsTheCourseAndRunsTheStopRoutine) {
  CourseMachine machine;
  machine.Run(R"(
    string kept = "global";
    void main() { sys.showInfo("before"); stop; sys.showInfo("after"); }
  )");
  EXPECT_THAT(machine.Shown(), ElementsAre("before"));
  EXPECT_EQ(machine.LiveObjects(), 0);
}

TEST(CourseLanguage, ScenesReceiveTheirPhase) {
  CourseMachine machine;
  machine.Start(R"(
    scene intro(phase) {
      if (phase == BUILD) sys.showInfo("build");
      else if (phase == SHOWN) sys.showInfo("shown");
      else if (phase == LEAVE) sys.showInfo("leave");
    }
    void main() { sys.changeScene(intro); sys.changeScene(0); }
  )");
  const auto& scenes = machine.Log().scene_changes;
  ASSERT_EQ(scenes.size(), 2u);
  EXPECT_NE(scenes[0], 0);
  EXPECT_EQ(scenes[1], 0);
  // What the system object does on a scene change: build, shown, later leave.
  const int32_t before = machine.StackLength();
  for (const int32_t phase : {0, 1, 3}) machine.RunRoutine(scenes[0], phase);
  EXPECT_EQ(machine.StackLength(), before);
  EXPECT_THAT(machine.Shown(), ElementsAre("build", "shown", "leave"));
  machine.Finish();
}

}  // namespace
}  // namespace vork::testing
