// A course over several files: imports, and the source map that leads every
// instruction back to its file, line and routine.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tools/vkc/course_machine.h"

namespace vork::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// The main file imports lib/words.vkc, which imports the main file again and
// lib/more.vkc, which imports words.vkc again: each is read once.
constexpr std::string_view kMain =
    "import \"lib/words.vkc\";\n"                   // 1
    "void main() {\n"                               // 2
    "  sys.showInfo(\"main\");\n"                   // 3
    "  greet();\n"                                  // 4
    "  for (word i = 0; i < 2; i += 1)\n"           // 5
    "    sys.showInfo(str(i));\n"                   // 6
    "}\n";
const std::map<std::string, std::string> kImports = {
    {"lib/words.vkc",
     "import \"../course.vkc\";\n"                  // 1
     "import \"more.vkc\";\n"                       // 2
     "void greet() {\n"                             // 3
     "  sys.showInfo(\"greet\");\n"                 // 4
     "  closing(BUILD);\n"                          // 5
     "}\n"},
    {"lib/more.vkc",
     "import \"words.vkc\";\n"                      // 1
     "scene closing(phase) {\n"                     // 2
     "  if (phase == BUILD)\n"                      // 3
     "    sys.showInfo(\"closing\");\n"             // 4
     "}\n"},
};

TEST(CourseSourceMap, LeadsEveryMessageSendToItsFileLineAndRoutine) {
  CourseMachine machine;
  machine.Run(kMain, FilesReader(kImports));
  ASSERT_THAT(machine.Shown(), ElementsAre("main", "greet", "closing", "0", "1"));
  const SourceMap& map = machine.Course().map;
  EXPECT_THAT(map.files(), ElementsAre("course.vkc", "lib/words.vkc", "lib/more.vkc"));
  struct Expected {
    std::string file;
    int line;
    std::string routine;
    SourceRoutineKind kind;
  };
  const std::vector<Expected> expected = {
      {"course.vkc", 3, "main", SourceRoutineKind::Main},
      {"lib/words.vkc", 4, "greet", SourceRoutineKind::Routine},
      {"lib/more.vkc", 4, "closing", SourceRoutineKind::Scene},
      {"course.vkc", 6, "main", SourceRoutineKind::Main},
      {"course.vkc", 6, "main", SourceRoutineKind::Main},
  };
  for (size_t i = 0; i < expected.size(); ++i) {
    // A message send leaves the instruction pointer just past its opcode.
    const int32_t address = machine.Log().shown_from[i] - 1;
    const auto where = map.where(address);
    const auto routine = map.routineAt(address);
    ASSERT_TRUE(where && routine) << i;
    EXPECT_EQ(where->file, expected[i].file) << i;
    EXPECT_EQ(where->line, expected[i].line) << i;
    EXPECT_EQ(routine->name, expected[i].routine) << i;
    EXPECT_EQ(routine->kind, expected[i].kind) << i;
  }
}

TEST(CourseSourceMap, RoutinesStartAtTheirEntryWithTheirOwnLine) {
  const auto course = CompileCourse(kMain, "course.vkc", ClassDeclarations::BuiltIn(), FilesReader(kImports));
  const SourceMap& map = course.map;
  // The compiler's own start and stop code lies before every course routine.
  EXPECT_FALSE(map.routineAt(course.image.start_entry));
  EXPECT_FALSE(map.routineAt(course.image.stop_entry));
  ASSERT_EQ(map.routines().size(), 3u);
  for (const auto& [name, line] : std::vector<std::pair<std::string, int>>{{"main", 2}, {"greet", 3}, {"closing", 2}}) {
    const int32_t entry = course.image.symbols.at(name);
    const auto routine = map.findRoutine(name);
    ASSERT_TRUE(routine) << name;
    EXPECT_EQ(routine->address, entry) << name;
    EXPECT_EQ(map.routineAt(entry)->name, name);
    // The prologue is the routine's, not the tail of the routine before it.
    EXPECT_EQ(map.where(entry)->line, line) << name;
  }
  EXPECT_EQ(SourceMap::Parse(map.Format()).Format(), map.Format());
}

TEST(CourseImports, PathsAreRelativeToTheImportingFile) {
  // The main source lies in a folder of its own: imports are opened from
  // there, and the map names them relative to it.
  std::vector<std::string> opened;
  const auto reader = [&](const std::string& path) {
    opened.push_back(path);
    if (path == "course/lib/a.vkc") return std::string("import \"../shared/b.vkc\";\nvoid a() {}\n");
    if (path == "course/shared/b.vkc") return std::string("import \"/abs/c.vkc\";\nvoid b() {}\n");
    if (path == "/abs/c.vkc") return std::string("void c() {}\n");
    throw EVkError(path + ": cannot open the file");
  };
  const auto course = CompileCourse("import \"lib/a.vkc\";\nimport \"./shared/../lib/a.vkc\";\nvoid main() { a(); b(); c(); }\n",
                                    "course/main.vkc", ClassDeclarations::BuiltIn(), reader);
  EXPECT_THAT(opened, ElementsAre("course/lib/a.vkc", "course/shared/b.vkc", "/abs/c.vkc"));
  EXPECT_THAT(course.map.files(), ElementsAre("course/main.vkc", "lib/a.vkc", "shared/b.vkc", "/abs/c.vkc"));
  EXPECT_THAT(course.files, ElementsAre("course/main.vkc", "course/lib/a.vkc", "course/shared/b.vkc", "/abs/c.vkc"));
}

TEST(CourseImports, ErrorsNameTheFileTheyAreIn) {
  const std::map<std::string, std::string> files = {
      {"lib/bad.vkc", "void helper() {\n  x = 1;\n}\n"},
      {"lib/open.vkc", "void helper() {\n  sys.showInfo(\"open);\n}\n"},
      {"lib/twice.vkc", "word main;\n"},
      {"lib/nested.vkc", "import \"bad.vkc\";\n"},
      {"lib/missing.vkc", "\n\nimport \"nothing.vkc\";\n"},
  };
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"import \"lib/bad.vkc\";\nvoid main() {}", "lib/bad.vkc:2:3: undeclared variable 'x'"},
      {"import \"lib/nested.vkc\";\nvoid main() {}", "lib/bad.vkc:2:3: undeclared variable 'x'"},
      {"import \"lib/open.vkc\";\nvoid main() {}", "lib/open.vkc:2:16: unterminated literal"},
      {"void main() {}\nimport \"lib/twice.vkc\";", "lib/twice.vkc:1:6: 'main' is already declared"},
      {"import \"lib/missing.vkc\";\nvoid main() {}",
       "lib/missing.vkc:3:1: cannot import \"nothing.vkc\": lib/nothing.vkc: cannot open the file"},
      // Positions in the importing file are not moved by what was imported.
      {"import \"lib/nested.vkc\";\nvoid main() {\n  sys.fly();\n}", "lib/bad.vkc:2:3"},
  };
  for (const auto& [source, expected] : cases) {
    EXPECT_THAT(CompileErrorOf(source, FilesReader(files)), HasSubstr(expected)) << source;
  }
  const std::map<std::string, std::string> good = {{"lib/ok.vkc", "void helper() {}\n"}};
  EXPECT_THAT(CompileErrorOf("import \"lib/ok.vkc\";\nvoid main() {\n  sys.fly();\n}", FilesReader(good)),
              HasSubstr("course.vkc:3:7: System has no message 'fly'"));
}

}  // namespace
}  // namespace vork::testing
