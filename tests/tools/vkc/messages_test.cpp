// Message sends resolved through the declaration file, and the file itself.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tools/vkc/course_machine.h"

namespace vork::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEST(CourseMessages, ConsumedKeptAndHandleArguments) {
  CourseMachine machine;
  machine.Run(R"(
    void main() {
      StringList list = sys.newStringList();
      string first = "alpha";
      list.add(first);
      list.add("beta" + "!");
      StringList other = sys.newStringList();
      other.add("gamma");
      list.addAll(other);
      sys.showInfo(first);
      sys.showInfo(str(list.count()) + ":" + list.join(","));
      sys.showInfo(list.get(1));
      sys.showInfo(str(sys.length(list.join("--"))));
      string text = "ab";
      string tail = "cd";
      text.append(tail);
      text.append(tail + "e");
      sys.showInfo(text + " " + tail + " " + text.compare("abcdcde"));
      list.destroy();
      other.destroy();
      sys.showInfo(sys.info(2));   // the system object and three string variables
    }
  )");
  EXPECT_THAT(machine.Shown(), ElementsAre("alpha", "3:alpha,beta!,gamma", "beta!", "19", "abcdcde cd 0", "4"));
  EXPECT_EQ(machine.LiveObjects(), 0);
}

TEST(CourseMessages, ArgumentsAreWrittenInReadingOrder) {
  CourseMachine machine;
  // setProperty pops the value first: a course writes the name first.
  machine.Run(R"(
    void main() {
      sys.setProperty("Colour", "red");
      sys.showInfo(sys.property("COLOUR"));
      sys.showInfo("[" + sys.property("red") + "]");
    }
  )");
  EXPECT_THAT(machine.Shown(), ElementsAre("red", "[]"));
}

TEST(CourseMessages, ReceiversMayBeResultsAndHandlesMayBeStored) {
  CourseMachine machine;
  machine.Run(R"(
    StringList saved;
    StringList fresh() { StringList list = sys.newStringList(); list.add("one"); return list; }
    void main() {
      sys.showInfo(str(fresh().count() + sys.newStringList().count()));
      saved = fresh();
      saved.add("two");
      sys.showInfo(saved.get(1) + saved.get(0));
      sys.showInfo(str(saved != 0) + str(saved == saved));
      word stored = saved;
      sys.showInfo(StringList(stored).get(0));
      "abc".append("d");
    }
  )");
  EXPECT_THAT(machine.Shown(), ElementsAre("1", "twoone", "11", "one"));
}

TEST(ClassDeclarationFile, DeclaresEveryClassOfTheObjectManager) {
  const auto& classes = ClassDeclarations::BuiltIn();
  ASSERT_EQ(classes.Classes().size(), 27u);
  for (int32_t index = 0; index < 27; ++index) EXPECT_NE(classes.ClassByIndex(index), nullptr) << index;
  EXPECT_EQ(classes.ClassByIndex(0)->name, "string");
  EXPECT_EQ(classes.ClassByIndex(1)->name, "System");
  // Spot checks of argument order (reading order is the reverse of pop order).
  const auto& sprite = *classes.FindClass("Sprite");
  const MessageDecl* bounds = classes.FindMessage(sprite, "setBounds");
  ASSERT_NE(bounds, nullptr);
  EXPECT_EQ(bounds->index, 13);
  ASSERT_EQ(bounds->params.size(), 4u);
  EXPECT_EQ(bounds->params[0].name, "left");
  EXPECT_EQ(bounds->params[3].name, "height");
  const MessageDecl* split = classes.FindMessage(*classes.FindClass("System"), "splitWords");
  ASSERT_NE(split, nullptr);
  EXPECT_EQ(split->params[0].kind, ValueKind::String);
  EXPECT_EQ(split->params[1].kind, ValueKind::Handle);
  EXPECT_EQ(split->params[1].class_index, 19);
  const MessageDecl* caption = classes.FindMessage(sprite, "caption");
  ASSERT_NE(caption, nullptr);
  EXPECT_EQ(caption->result, ValueKind::Handle);
  EXPECT_EQ(caption->result_class, 17);
  const MessageDecl* append = classes.FindMessage(*classes.ClassByIndex(0), "append");
  ASSERT_NE(append, nullptr);
  EXPECT_TRUE(append->params[0].kept);
  // Every class answers the common messages.
  EXPECT_NE(classes.FindMessage(*classes.FindClass("Matrix"), "property"), nullptr);
}

TEST(ClassDeclarationFile, HiddenMessagesAreDeclaredButCannotBeSentByName) {
  const auto classes = ClassDeclarations::Parse(
      "common\n  hidden -2 init()\n  -1 destroy()\n"
      "class 0 string\n  hidden 1 fromConstant(word constant)\n"
      "class 1 System\n  hidden 19 echo19(word value): word\n",
      "decl");
  const ClassDecl& system = *classes.ClassByIndex(1);
  ASSERT_EQ(system.messages.size(), 1u);
  EXPECT_TRUE(system.messages[0].hidden);
  EXPECT_EQ(system.messages[0].index, 19);
  EXPECT_EQ(system.messages[0].result, ValueKind::Word);
  EXPECT_EQ(classes.FindMessage(system, "echo19"), nullptr);
  EXPECT_EQ(classes.FindMessage(system, "init"), nullptr);
  EXPECT_NE(classes.FindMessage(system, "destroy"), nullptr);
  EXPECT_EQ(classes.FindMessage(*classes.ClassByIndex(0), "fromConstant"), nullptr);
  // The built-in file names the system object's word-echoing messages only
  // for the player.
  const ClassDecl& built_in = *ClassDeclarations::BuiltIn().ClassByIndex(1);
  EXPECT_EQ(ClassDeclarations::BuiltIn().FindMessage(built_in, "echo19"), nullptr);
  EXPECT_THAT(CompileErrorOf("void main() { sys.echo19(1); }"), HasSubstr("System has no message 'echo19'"));
}

TEST(ClassDeclarationFile, FaultsNameTheirLine) {
  struct Case {
    const char* text;
    const char* expected;
  };
  const std::vector<Case> cases = {
      {"class 0 string\nclass 1 S\n  0 f(colour c)", "decl:3: unknown type 'colour'"},
      {"class 0 string\n", "class 1, the system object, must be declared"},
      {"class 0 string\n  0 f()\n  0 g()", "decl:3: message index 0 is declared twice"},
      {"class 0 string\n  0 f()\n  1 f(word a)", "decl:3: message f is declared twice"},
      {"class 0 string\n  0 f(kept word a)", "decl:2: only a string argument can be kept"},
      {"class 0 string\nclass 0 other", "decl:2: class 0 is declared twice"},
      {"class 0 string\nclass 1 string", "decl:2: class name string is used twice"},
      {"class 1 System\n", "class 0 must be declared as 'string'"},
      {"  0 f()\nclass 0 string", "decl:1: a message outside a class"},
      {"common\n  -1 destroy()\nclass 0 string\n  5 destroy()", "decl:4: message destroy clashes"},
      {"class 0 string\n  0 f(word a", "decl:2: expected ')' at the end of the line"},
      {"class 0 string\n  0 f(): ", "decl:2: expected a result type at the end of the line"},
      {"class 0 string\n  x f()", "decl:2: expected 'class', 'common' or a message, found 'x'"},
      {"class 2000 big", "decl:1: class index out of range"},
      {"class 0 string\n  hidden f()", "decl:2: expected a message after 'hidden'"},
      {"class 0 string\n  hiddenly 0 f()", "decl:2: expected 'class', 'common' or a message, found 'hiddenly'"},
      {"class 0 string\n  hidden 0 f()\n  0 g()", "decl:3: message index 0 is declared twice"},
      {"class 0 string\n  0 f(routine(colour c) r)", "decl:2: unknown type 'colour'"},
      {"class 0 string\n  0 f(routine(word a r)", "decl:2: expected ')', found 'r)'"},
      {"class 0 string\n  0 f(routine(word) r)", "decl:2: expected the name of a word the event pushes, found ') r)'"},
      {"class 0 string\nclass 1 S keep", "decl:2: unexpected text, found 'keep'"},
  };
  for (const auto& c : cases) {
    try {
      ClassDeclarations::Parse(c.text, "decl");
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const EVkError& e) {
      EXPECT_THAT(e.what(), HasSubstr(c.expected)) << c.text;
    }
  }
}

}  // namespace
}  // namespace vork::testing
