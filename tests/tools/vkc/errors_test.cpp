// Compile errors name the file, line and column of the fault.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <random>
#include <sstream>

#include "tools/vkc/course_machine.h"

namespace vork::testing {
namespace {

using ::testing::HasSubstr;

struct ErrorCase {
  const char* source;
  const char* expected;
};

TEST(CourseCompileErrors, NameThePlaceAndTheFault) {
  const std::vector<ErrorCase> cases = {
      // Messages.
      {"void main() { sys.fly(); }", "course.vkc:1:19: System has no message 'fly'"},
      {"void main() {\n  sys.showInfo(\"a\", \"b\");\n}", "course.vkc:2:21: System.showInfo takes 1 argument(s)"},
      {"void main() { sys.showInfo(); }", "course.vkc:1:28: System.showInfo takes 1 argument(s), not 0"},
      {"void main() { sys.showInfo(5); }", "1:28: argument 'text' of System.showInfo must be a string, not a word"},
      {"void main() { word n = 1; n.count(); }", "1:28: a word has no messages"},
      {"void main() { sys.newSprite().count(); }", "1:31: Sprite has no message 'count'"},
      {"void main() { StringList l = sys.newSprite(); }",
       "1:30: 'l' must be a StringList, not a Sprite"},
      {"void main() { Sprite s = Sprite(\"x\"); }", "1:33: Sprite(...) must be a word, not a string"},
      {"void main() { sys.splitWords(\"a b\", sys.newSprite()); }",
       "1:37: argument 'list' of System.splitWords must be a StringList, not a Sprite"},
      {"void main() { string s; s.destroy(); }", "1:27: a string is destroyed by the compiled code"},
      {"void main() { sys.runRoutine(main); }", "1:34: System.runRoutine takes 2 argument(s), not 1"},
      // Names.
      {"void main() {\n  x = 1;\n}", "course.vkc:2:3: undeclared variable 'x'"},
      {"void main() { sys.showInfo(str(y)); }", "course.vkc:1:32: undeclared name 'y'"},
      {"void main() { undefined(); }", "1:15: undeclared name 'undefined'"},
      {"void main() { { word inner; } inner = 2; }", "1:31: undeclared variable 'inner'"},
      {"const A = 1; void main() { A = 2; }", "1:28: cannot assign to the constant 'A'"},
      {"word main;", "the course has no routine 'void main()'"},
      {"word main() { return 0; }", "1:6: main takes no arguments and returns nothing"},
      {"word a; string a; void main() {}", "1:16: 'a' is already declared"},
      {"void main() { word a; word a; }", "1:28: 'a' is already declared in this block"},
      {"void f(word a, word a) {} void main() {}", "1:16: parameter 'a' is declared twice"},
      {"void main() { sys = 0; }", "1:15: sys cannot be assigned"},
      // Types and routines.
      {"void main() { word n = \"a\"; }", "1:24: 'n' must be a word, not a string"},
      {"void f() {} void main() { word n = f(); }", "1:36: 'n' needs a value, but this call returns nothing"},
      {"word f(word a) { return a; } void main() { f(1, 2); }", "1:49: f takes 1 argument(s)"},
      {"void main() { return 1; }", "1:15: main returns nothing"},
      {"word f() { return; } void main() {}", "1:12: f must return a word"},
      {"void main() { if (\"s\") stop; }", "1:15: a condition must be a word, not string"},
      {"void main() { word n = 1 - \"s\"; }", "1:26: '-' must be a word, not a string"},
      {"void main() { word n = 1 < \"s\"; }", "1:26: cannot compare word with string"},
      {"void main() { if (1) word n = 2; }", "1:22: a variable can only be declared directly inside a block"},
      {"scene intro() {} void main() {}", "1:7: a scene takes one parameter, the phase"},
      {"Sprite s = 5; void main() {}", "1:12: a handle starts as 0"},
      // Tokens.
      {"void main() { sys.showInfo(\"open); }", "1:28: unterminated literal"},
      {"void main() { sys.showInfo(\"\\q\"); }", "1:29: unknown escape \\q"},
      {"void main() { word n = 4294967296; }", "1:24: number does not fit in a word"},
      {"void main() { word n = 1 # 2; }", "1:26: unexpected character '#'"},
      {"void main() { /* never closed", "1:15: unterminated comment"},
      {"void main() { word n = 1;", "1:13: this '{' is never closed"},
      {"void main() { word n = 1 }", "1:26: expected ';', found '}'"},
  };
  for (const auto& c : cases) EXPECT_THAT(CompileErrorOf(c.source), HasSubstr(c.expected)) << c.source;
}

// Nesting is recursion in the compiler: deep nesting is an error, not a crash.
TEST(CourseCompileErrors, DeepNestingIsRefused) {
  const std::string deep(100000, '(');
  EXPECT_THAT(CompileErrorOf("void main() { word n = " + deep + "1; }"), HasSubstr("levels deep"));
  EXPECT_THAT(CompileErrorOf("void main() { word n = " + std::string(100000, '-') + "1; }"),
              HasSubstr("levels deep"));
  EXPECT_THAT(CompileErrorOf("void main() " + std::string(100000, '{') + std::string(100000, '}')), HasSubstr("levels deep"));
  std::string ifs = "void main() { ";
  for (int i = 0; i < 5000; ++i) ifs += "if (1) ";
  EXPECT_THAT(CompileErrorOf(ifs + "stop; }"), HasSubstr("levels deep"));
  // What courses need nests well within the limit.
  const std::string fifty(50, '(');
  EXPECT_EQ(CompileErrorOf("void main() { word n = " + fifty + "1" + std::string(50, ')') + "; }"), "");
}

}  // namespace
}  // namespace vork::testing

namespace vork::testing {
namespace {

// Damaged sources (bytes cut out, stray characters put in) end in a compile
// error or compile; nothing else may happen.
TEST(CourseCompileErrors, DamagedSourcesFailCleanly) {
  std::ifstream in(std::string(VORK_SOURCE_DIR) + "/examples/quiz.vkc", std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  const std::string original = text.str();
  ASSERT_FALSE(original.empty());
  std::mt19937 random(12345);
  const std::string stray = "(){};.,=+-!&|<>\"'\\/*aZ09 \n";
  for (int round = 0; round < 3000; ++round) {
    std::string source = original;
    for (int edits = 1 + static_cast<int>(random() % 3); edits > 0; --edits) {
      const size_t at = random() % source.size();
      if (random() % 2 == 0) {
        source.erase(at, 1 + random() % 8);
      } else {
        source.insert(at, 1, stray[random() % stray.size()]);
      }
      if (source.empty()) source = "x";
    }
    try {
      CompileCourse(source, "damaged.vkc");
    } catch (const CompileError&) {
    } catch (const EVkError& e) {
      ADD_FAILURE() << e.what() << "\n" << source;  // a fault of the compiler itself
    }
  }
}

}  // namespace
}  // namespace vork::testing
