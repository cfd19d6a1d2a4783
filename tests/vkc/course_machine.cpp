#include "vkc/course_machine.h"

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
  explicit StandInSystem(CourseLog& log) : log_(log) {}
  void HandleMessage(int32_t message) override {
    switch (message) {
      case 0: log_.scene_changes.push_back(PopInt()); break;
      case 29: log_.shown.push_back(PopString()); break;
      case 30: PushString(std::to_string(PopInt())); break;
      case 33: PushInt(static_cast<int32_t>(PopString().size())); break;
      case 62: PushInt(Manager().CreateObject(19)); break;
      case 95: PushString(PopInt() == 2 ? std::to_string(Manager().Count()) : std::string()); break;
      default: TVkScriptObject::HandleMessage(message);
    }
  }

 private:
  CourseLog& log_;
};

}  // namespace

CourseMachine::CourseMachine() : processor_(stack_), manager_({&processor_, &stack_, nullptr}) {
  manager_.BindProcessorEvents();
  manager_.RegisterClass(TVkObjectManager::kSystemClass,
                         [this](TVkObjectManager&) { return std::make_unique<StandInSystem>(log_); });
  manager_.RegisterClass(19, [](TVkObjectManager&) { return std::make_unique<StandInStringList>(); });
  processor_.SetOnStop([this](TVkProcessor& running) {
    if (!stopped_) {
      stopped_ = true;
      running.Run(course_.image.stop_entry);
    }
    running.Halt();
  });
}

CourseMachine::~CourseMachine() {
  for (const std::string& text : boxes_.texts) ADD_FAILURE() << "box shown: " << text;
}

void CourseMachine::Start(std::string_view source) {
  course_ = CompileCourse(source, "course.vkc");
  processor_.LoadImage(course_.image.area);
  processor_.Run(course_.image.start_entry);
}

void CourseMachine::Finish() {
  if (!stopped_) processor_.Run(course_.image.stop_entry);
  stopped_ = true;
}

void CourseMachine::RunRoutine(int32_t entry, int32_t argument) {
  stack_.Push(argument);
  processor_.Run(entry);
}

std::string CompileErrorOf(std::string_view source) {
  try {
    CompileCourse(source, "course.vkc");
  } catch (const CompileError& e) {
    return e.what();
  }
  return {};
}

}  // namespace vork::testing
