// Strings: literals, concatenation, comparison, and who destroys which
// string object.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tools/vkc/course_machine.h"

namespace vork::testing {
namespace {

using ::testing::ElementsAre;

TEST(CourseStrings, ConcatenationOfLiteralsVariablesWordsAndResults) {
  CourseMachine machine;
  machine.Run(R"(
    string title = "Lesson";
    string twice(string s) { return s + s; }
    string nothing() { }
    void main() {
      string name = "Ann";
      sys.showInfo(title + " " + 3 + ": " + name);
      sys.showInfo(7 + "/" + -2);
      sys.showInfo(twice(name) + twice("!"));
      sys.showInfo("[" + nothing() + "]");
      name += "a";
      name += 2 * 21;
      sys.showInfo(name);
      sys.showInfo(str(1 + 2) + 1 + 2);
    }
  )");
  EXPECT_THAT(machine.Shown(),
              ElementsAre("Lesson 3: Ann", "7/-2", "AnnAnn!!", "[]", "Anna42", "312"));
}

TEST(CourseStrings, ComparisonIsByteOrderAndCaseSensitive) {
  struct Case {
    const char* left;
    const char* op;
    const char* right;
    const char* expected;
  };
  const std::vector<Case> cases = {
      {"abc", "<", "abd", "1"}, {"abd", "<", "abc", "0"}, {"ab", "<", "abc", "1"},
      {"B", "<", "a", "1"},     {"abc", "==", "abc", "1"}, {"abc", "==", "ABC", "0"},
      {"abc", "!=", "abc", "0"}, {"", "<", "a", "1"},     {"b", ">", "abc", "1"},
      {"b", ">=", "b", "1"},    {"a", "<=", "", "0"},      {"\xE9", ">", "z", "1"},  // bytes above 127 sort high
  };
  std::string source = "void main() {\n  string v = \"abc\";\n";
  for (const auto& c : cases) {
    source += std::string("  sys.showInfo(str(\"") + c.left + "\" " + c.op + " \"" + c.right + "\"));\n";
  }
  // Variables on either side, and a result on the left.
  source += "  sys.showInfo(str(v == \"abc\") + str(\"abd\" > v) + str(v + \"x\" > v));\n}\n";
  CourseMachine machine;
  machine.Run(source);
  ASSERT_EQ(machine.Shown().size(), cases.size() + 1);
  for (size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(machine.Shown()[i], cases[i].expected) << cases[i].left << " " << cases[i].op << " " << cases[i].right;
  }
  EXPECT_EQ(machine.Shown().back(), "111");
}

TEST(CourseStrings, VariablesHoldTheirOwnText) {
  CourseMachine machine;
  machine.Run(R"(
    string shared = "global";
    void change(string s) { s = "changed"; s += "!"; }
    string pass(string s) { return s; }
    void main() {
      string a = "x";
      string b = a;
      b += "y";
      change(a);
      sys.showInfo(a + " " + b);
      sys.showInfo(a);                 // a message that consumes its argument gets a copy
      sys.showInfo(a);
      a = a;
      a = a + a;
      sys.showInfo(a + " " + pass(a));
      shared = shared + "!";
      change(shared);
      sys.showInfo(shared);
    }
  )");
  EXPECT_THAT(machine.Shown(), ElementsAre("x xy", "x", "x", "xx xx", "global!"));
}

// The live-object count must not grow however strings are made and dropped.
TEST(CourseStrings, NoStringObjectOutlivesItsUse) {
  CourseMachine machine;
  machine.Run(R"(
    string name = "x";
    word calls;
    void consume(string s) { s += "!"; calls += 1; }
    string make(word i) { string local = "item"; return local + i; }
    word early(string s) {
      string a = "a";
      if (s == "x1") { string b = "b"; return 1; }
      return 0;
    }
    void main() {
      string before = sys.info(2);
      word i = 0;
      while (i < 40) {
        string t = name + i;
        string u;
        u = make(i) + t;
        if (t == "x3" || make(i) > name) sys.showInfo(t);
        consume(t);
        consume("literal");
        t.append(u);
        t.append("q" + u);
        sys.length(t + u);
        sys.str(i);
        "abc".compare(t);
        (t + u).compare(make(i));
        calls += early(name + i);
        make(i);
        i += 1;
      }
      sys.showInfo(str(calls));
      sys.showInfo(before);
      sys.showInfo(sys.info(2));
    }
  )");
  ASSERT_EQ(machine.Shown().size(), 4u);
  EXPECT_EQ(machine.Shown()[0], "x3");
  EXPECT_EQ(machine.Shown()[1], "81");
  // Before: the system object and the global string; after: "before" too.
  EXPECT_EQ(machine.Shown()[2], "2");
  EXPECT_EQ(machine.Shown()[3], "3");
  // The stop routine destroyed the global string and the system object.
  EXPECT_EQ(machine.LiveObjects(), 0);
}

}  // namespace
}  // namespace vork::testing
