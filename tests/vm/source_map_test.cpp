#include "vm/source_map.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/errors.h"

namespace vork {
namespace {

// Two files, three routines; the scene's code starts in the second file.
constexpr std::string_view kCourseMap =
    "vkmap 1\n"
    "file 0 lesson.vkc\n"
    "file 1 scenes/quiz words.vkc\n"
    "routine 40 main main\n"
    "routine 90 routine answered\n"
    "routine 150 scene ask\n"
    "line 40 0 3\n"
    "line 52 0 4\n"
    "line 90 0 12\n"
    "line 150 1 7\n"
    "line 170 1 9\n";

TEST(SourceMap, AnAddressBelongsToTheLastLineAtOrBeforeIt) {
  const SourceMap map = SourceMap::Parse(kCourseMap);
  struct Case {
    int32_t address;
    std::string file;
    int line;
  };
  for (const Case& c : {Case{40, "lesson.vkc", 3}, Case{51, "lesson.vkc", 3}, Case{52, "lesson.vkc", 4},
                        Case{89, "lesson.vkc", 4}, Case{150, "scenes/quiz words.vkc", 7},
                        Case{169, "scenes/quiz words.vkc", 7}, Case{170, "scenes/quiz words.vkc", 9},
                        Case{100000, "scenes/quiz words.vkc", 9}}) {
    const auto where = map.where(c.address);
    ASSERT_TRUE(where) << c.address;
    EXPECT_EQ(where->file, c.file) << c.address;
    EXPECT_EQ(where->line, c.line) << c.address;
  }
  // The start code the compiler writes before any course routine has no line.
  EXPECT_FALSE(map.where(0));
  EXPECT_FALSE(map.where(39));
}

TEST(SourceMap, ARoutineSpansUpToTheNextRoutine) {
  const SourceMap map = SourceMap::Parse(kCourseMap);
  struct Case {
    int32_t address;
    std::string name;
    SourceRoutineKind kind;
  };
  for (const Case& c : {Case{40, "main", SourceRoutineKind::Main}, Case{89, "main", SourceRoutineKind::Main},
                        Case{90, "answered", SourceRoutineKind::Routine},
                        Case{149, "answered", SourceRoutineKind::Routine},
                        Case{150, "ask", SourceRoutineKind::Scene}, Case{9999, "ask", SourceRoutineKind::Scene}}) {
    const auto routine = map.routineAt(c.address);
    ASSERT_TRUE(routine) << c.address;
    EXPECT_EQ(routine->name, c.name) << c.address;
    EXPECT_EQ(routine->kind, c.kind) << c.address;
  }
  EXPECT_FALSE(map.routineAt(39));
  EXPECT_EQ(map.findRoutine("ask")->address, 150);
  EXPECT_FALSE(map.findRoutine("missing"));
}

TEST(SourceMap, FormatWritesWhatParseReads) {
  SourceMap built;
  EXPECT_EQ(built.addFile("a b.vkc"), 0);
  EXPECT_EQ(built.addFile("lib/words.vkc"), 1);
  built.addRoutine(20, SourceRoutineKind::Main, "main");
  built.addRoutine(20, SourceRoutineKind::Scene, "empty scene follows an empty routine");
  built.addLine(20, 1, 5);
  built.addLine(20, 0, 6);  // two lines at one address: the later one wins
  const std::string text = built.Format();
  EXPECT_TRUE(text.starts_with("vkmap 1\nfile 0 a b.vkc\n")) << text;
  const SourceMap read = SourceMap::Parse(text);
  EXPECT_EQ(read.Format(), text);
  EXPECT_EQ(read.where(20)->file, "a b.vkc");
  EXPECT_EQ(read.where(20)->line, 6);
  EXPECT_EQ(read.routineAt(21)->name, "empty scene follows an empty routine");
  // Windows line ends and blank lines read the same.
  std::string crlf;
  for (const char c : text) crlf += c == '\n' ? std::string("\r\n\r\n") : std::string(1, c);
  EXPECT_EQ(SourceMap::Parse(crlf).Format(), text);
}

TEST(SourceMap, MalformedMapsAreRefusedNamingTheLine) {
  struct Case {
    std::string text;
    std::string message;
  };
  const std::string head = "vkmap 1\nfile 0 a.vkc\n";
  for (const Case& c : {
           Case{"", "empty"},
           Case{"vkmap 2\n", "line 1: expected 'vkmap 1', found 'vkmap 2'"},
           Case{"file 0 a.vkc\n", "line 1: expected 'vkmap 1'"},
           Case{head + "files 0 b.vkc\n", "line 3: unknown record 'files'"},
           Case{head + "file 2 b.vkc\n", "line 3: file index 2 where 1 comes next"},
           Case{head + "file 1\n", "line 3: expected a file path"},
           Case{head + "routine 10 macro m\n", "line 3: unknown routine kind 'macro'"},
           Case{head + "routine 10 scene\n", "line 3: expected a routine name"},
           Case{head + "routine -4 main main\n", "line 3: routine address '-4' is not a number"},
           Case{head + "routine 4x main main\n", "line 3: routine address '4x' is not a number"},
           Case{head + "routine 99999999999 main main\n", "line 3: routine address '99999999999'"},
           Case{head + "routine 20 main main\nroutine 10 scene s\n", "line 4: routine s at 10 is out of address order"},
           Case{head + "line 10 0 0\n", "line 3: line number '0' is not a number from 1"},
           Case{head + "line 10 1 4\n", "line 3: file index 1 is not listed"},
           Case{head + "line 10 0 4 5\n", "line 3: unexpected '5'"},
           Case{head + "line 10 0\n", "line 3: expected line number"},
           Case{head + "line 10  0 4\n", "line 3: expected file index"},
           Case{head + "line 20 0 4\nline 19 0 5\n", "line 4: line record at 19 is out of address order"},
       }) {
    try {
      SourceMap::Parse(c.text);
      ADD_FAILURE() << "accepted: " << c.text;
    } catch (const EVkError& e) {
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos)
          << "for: " << c.text << "\ngot: " << e.what();
    }
  }
}

TEST(SourceMap, TextThatWouldBreakTheFormatIsRefusedWhenBuilding) {
  SourceMap map;
  EXPECT_THROW(map.addFile("two\nlines.vkc"), EVkError);
  EXPECT_THROW(map.addFile(""), EVkError);
  map.addFile("a.vkc");
  EXPECT_THROW(map.addRoutine(0, SourceRoutineKind::Main, "ma\rin"), EVkError);
  EXPECT_THROW(map.addLine(0, 1, 1), EVkError);
  EXPECT_TRUE(map.empty());
}

}  // namespace
}  // namespace vork
