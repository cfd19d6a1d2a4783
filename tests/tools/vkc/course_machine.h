#pragma once
// Compiles a course with the built-in declarations and runs it on the real
// processor and object manager. Until the player's own objects exist, class 1
// and class 19 are small stand-ins that answer a few messages under their
// declared indexes:
//   system:      0 changeScene (recorded), 29 showInfo (recorded), 30 str,
//                33 length, 62 newStringList, 95 info (kind 2: live objects)
//   string list: 1 count, 2 add, 3 addAll, 7 get, 9 join

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "support/test_machine.h"
#include "vkc/compiler.h"

namespace vork::testing {

struct CourseLog {
  std::vector<std::string> shown;     // texts of showInfo, in order
  std::vector<int32_t> shown_from;    // the instruction pointer at each showInfo
  std::vector<int32_t> scene_changes; // routines given to changeScene
};

class CourseMachine {
 public:
  CourseMachine();
  // Fails the test when the course made the object manager show a notice.
  ~CourseMachine();

  // Compiles source and runs its start routine (and so main); imports are
  // read through read_source.
  void Start(std::string_view source, const SourceReader& read_source = ReadSourceFile);
  // Runs the stop routine unless the course executed stop, which ran it.
  void Finish();
  void Run(std::string_view source, const SourceReader& read_source = ReadSourceFile) {
    Start(source, read_source);
    Finish();
  }
  // Runs a routine of the loaded course with one argument (a scene phase).
  void RunRoutine(int32_t entry, int32_t argument);

  const std::vector<std::string>& Shown() const { return log_.shown; }
  const CourseLog& Log() const { return log_; }
  int LiveObjects() const { return machine_.manager->Count(); }
  const CompiledCourse& Course() const { return course_; }
  int32_t StackLength() const { return machine_.stack.Length(); }

 private:
  TestMachine machine_;
  CourseLog log_;
  CompiledCourse course_;
  bool stopped_ = false;
};

// Reads imports from files (path -> text) instead of the disk.
SourceReader FilesReader(std::map<std::string, std::string> files);

// Compiles source (as course.vkc); the CompileError text, or "" when it compiles.
std::string CompileErrorOf(std::string_view source, const SourceReader& read_source = ReadSourceFile);

}  // namespace vork::testing
