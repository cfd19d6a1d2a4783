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

namespace vork::testing {
namespace {

using ::testing::ElementsAre;

TEST(CourseLanguage, ForBreakAndContinue) {
  CourseMachine machine;
  machine.Run(R"(
    word outer = 7;
    void main() {
      string digits = "";
      for (word i = 0; i < 6; i += 1) {
        if (i == 1) continue;      // the step still runs
        if (i == 4) break;
        digits += i;
      }
      sys.showInfo(digits);
      word n = 0;
      for (;;) { n += 1; if (n == 3) break; }
      sys.showInfo(str(n));
      for (outer = 0; outer < 3; outer += 2) { }
      sys.showInfo(str(outer));    // the loop variable may be declared outside
      while (n < 20) {
        n += 1;
        if (n % 2 == 0) continue;
        if (n > 8) break;
        sys.showInfo(str(n));
      }
      for (word a = 0; a < 2; a += 1) {
        for (word b = 0; ; b += 1) {
          if (b == 2) break;       // leaves the inner loop only
          sys.showInfo(str(a) + str(b));
        }
      }
      for (word i = 0; i < 2; i += 1) { word i = 5; }
      sys.showInfo("done");
    }
  )");
  EXPECT_THAT(machine.Shown(), ElementsAre("023", "3", "4", "5", "7", "00", "01", "10", "11", "done"));
}

// break and continue leave blocks without passing their '}': the string
// locals of those blocks must die all the same, every pass.
TEST(CourseLanguage, LeavingALoopEarlyReleasesTheStringsOfItsBlocks) {
  CourseMachine machine;
  machine.Run(R"(
    void main() {
      string before = sys.info(2);
      for (string s = "loop"; sys.length(s) < 40; s += "+") {
        string first = "a";
        {
          string inner = first + s;
          if (sys.length(s) % 2 == 0) continue;
        }
        string second = "b";
        if (sys.length(s) == 39) break;
      }
      word k = 0;
      while (1) { string w = "w"; k += 1; if (k == 30) break; if (k > 0) continue; }
      sys.showInfo(before);
      sys.showInfo(sys.info(2));
    }
  )");
  // Before: the system object; after: "before" too, and nothing else.
  EXPECT_THAT(machine.Shown(), ElementsAre("1", "2"));
  EXPECT_EQ(machine.LiveObjects(), 0);
}

TEST(CourseCompileErrors, LoopsAndImportsNameThePlaceAndTheFault) {
  const std::vector<std::pair<const char*, const char*>> cases = {
      {"void main() { break; }", "course.vkc:1:15: break outside a loop"},
      {"void main() {\n  if (1) continue;\n}", "course.vkc:2:10: continue outside a loop"},
      {"void f() { while (1) g(); } void g() { break; } void main() {}", "1:40: break outside a loop"},
      {"void main() { for (word i = 0; i < 3) {} }", "1:37: expected ';', found ')'"},
      {"void main() { for (word i = 0; \"s\"; i += 1) {} }", "1:15: a condition must be a word, not string"},
      {"void main() { for (word i = 0; i < 2; i += 1) {} i = 1; }", "1:50: undeclared variable 'i'"},
      {"void main() { for (i = 0; ; ) {} }", "1:20: undeclared variable 'i'"},
      {"void main() { word for = 1; }", "1:20: expected a variable name, found 'for'"},
      {"void main() { import \"x.vkc\"; }", "1:15: import belongs at the top level of a file"},
      {"import other; void main() {}", "1:8: expected the file to import as a string, found 'other'"},
      {"import \"\"; void main() {}", "1:1: import needs a file name"},
      {"import \"gone.vkc\";\nvoid main() {}", "course.vkc:1:1: cannot import \"gone.vkc\": gone.vkc: cannot open the file"},
  };
  for (const auto& [source, expected] : cases) {
    EXPECT_THAT(CompileErrorOf(source), ::testing::HasSubstr(expected)) << source;
  }
}

}  // namespace
}  // namespace vork::testing
