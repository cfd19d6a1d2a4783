#include "tools/vkc/course_machine.h"

#include <memory>

#include <gtest/gtest.h>

#include "bridge/script_object.h"
#include "bridge/string_object.h"

namespace vork::testing {

namespace {

class StandInStringList : public TVkScriptObject {
 public:
  void HandleMessage(int32_t message) override {
    switch (message) {
      case 1: PushInt(static_cast<int32_t>(lines.size())); break;
      case 2: lines.push_back(PopString()); break;
      case 3: {
        const auto* other = dynamic_cast<StandInStringList*>(Manager().Find(PopInt()));
        if (other != nullptr) lines.insert(lines.end(), other->lines.begin(), other->lines.end());
        break;
      }
      case 7: PushString(lines.at(static_cast<size_t>(PopInt()))); break;
      case 9: {
        const std::string separator = PopString();
        std::string joined;
        for (size_t i = 0; i < lines.size(); ++i) joined += (i > 0 ? separator : "") + lines[i];
        PushString(joined);
        break;
      }
      default: TVkScriptObject::HandleMessage(message);
    }
  }
  std::vector<std::string> lines;
};

class StandInSystem : public TVkScriptObject {
 public:
  StandInSystem(CourseLog& log, const TVkProcessor& processor) : log_(log), processor_(processor) {}
  void HandleMessage(int32_t message) override {
    switch (message) {
      case 0: log_.scene_changes.push_back(PopInt()); break;
      case 29:
        log_.shown.push_back(PopString());
        log_.shown_from.push_back(processor_.InstructionPointer());
        break;
      case 30: PushString(std::to_string(PopInt())); break;
      case 33: PushInt(static_cast<int32_t>(PopString().size())); break;
      case 62: PushInt(Manager().CreateObject(19)); break;
      case 95: PushString(PopInt() == 2 ? std::to_string(Manager().Count()) : std::string()); break;
      default: TVkScriptObject::HandleMessage(message);
    }
  }

 private:
  CourseLog& log_;
  const TVkProcessor& processor_;
};

}  // namespace

CourseMachine::CourseMachine() {
  machine_.manager->RegisterClass(TVkObjectManager::kSystemClass,
                                  [this](TVkObjectManager&) { return std::make_unique<StandInSystem>(log_, machine_.processor); });
  machine_.manager->RegisterClass<StandInStringList>(19);
  machine_.processor.SetOnStop([this](TVkProcessor& running) {
    if (!stopped_) {
      stopped_ = true;
      running.Run(course_.image.stop_entry);
    }
    running.Halt();
  });
}

CourseMachine::~CourseMachine() {
  if (!machine_.Boxes().empty()) ADD_FAILURE() << "boxes shown:\n" << machine_.Boxes();
}

void CourseMachine::Start(std::string_view source, const SourceReader& read_source) {
  course_ = CompileCourse(source, "course.vkc", ClassDeclarations::BuiltIn(), read_source);
  machine_.processor.LoadImage(course_.image.area);
  machine_.processor.Run(course_.image.start_entry);
}

void CourseMachine::Finish() {
  if (!stopped_) machine_.processor.Run(course_.image.stop_entry);
  stopped_ = true;
}

void CourseMachine::RunRoutine(int32_t entry, int32_t argument) {
  machine_.stack.Push(argument);
  machine_.processor.Run(entry);
}

SourceReader FilesReader(std::map<std::string, std::string> files) {
  return [files = std::move(files)](const std::string& path) {
    const auto file = files.find(path);
    if (file == files.end()) throw EVkError(path + ": cannot open the file");
    return file->second;
  };
}

std::string CompileErrorOf(std::string_view source, const SourceReader& read_source) {
  try {
    CompileCourse(source, "course.vkc", ClassDeclarations::BuiltIn(), read_source);
  } catch (const CompileError& e) {
    return e.what();
  }
  return {};
}

}  // namespace vork::testing
