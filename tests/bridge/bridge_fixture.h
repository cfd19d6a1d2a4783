#pragma once
// A machine with a real object manager whose boxes are captured as
// transcript lines, and script object classes that log what happens to them.

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "bridge/object_manager.h"
#include "bridge/string_object.h"
#include "platform/message_boxes.h"
#include "support/test_host.h"
#include "vm/processor.h"

namespace vork {

// Logs every message it receives and its own freeing as "NAME MESSAGE" and
// "NAME freed"; NAME is "c" + class index + "#" + creation number.
template <class Base>
class Recording : public Base {
 public:
  Recording(std::vector<std::string>& log, std::string name) : log_(log), name_(std::move(name)) {}
  ~Recording() override { log_.push_back(name_ + " freed"); }
  void HandleMessage(int32_t message) override {
    log_.push_back(name_ + " " + std::to_string(message));
    Base::HandleMessage(message);
  }

 private:
  std::vector<std::string>& log_;
  std::string name_;
};

struct BridgeFixture {
  std::ostringstream box_lines;
  TranscriptAnswers answers;
  TranscriptBoxes boxes{box_lines, answers};
  testing::TestHost host{&boxes};
  std::vector<std::string> log;
  TVkStack stack;
  TVkProcessor processor{stack};
  std::unique_ptr<TVkObjectManager> manager =
      std::make_unique<TVkObjectManager>(TVkManagerSetup{&processor, &stack, nullptr});
  int created = 0;

  BridgeFixture() { manager->BindProcessorEvents(); }
  ~BridgeFixture() { manager.reset(); }

  // Makes classes log: string classes keep their string behaviour.
  void RecordClasses(std::initializer_list<int32_t> classes) {
    for (int32_t class_index : classes) {
      manager->RegisterClass(class_index, [this, class_index](TVkObjectManager&) -> std::unique_ptr<TVkObject> {
        std::string name = "c" + std::to_string(class_index) + "#" + std::to_string(++created);
        if (class_index == 0) return std::make_unique<Recording<TVkStringObject>>(log, name);
        return std::make_unique<Recording<TVkScriptObject>>(log, name);
      });
    }
  }

  int32_t NewString(const std::string& text) {
    const int32_t handle = manager->CreateObject(0);
    StringAt(handle).SetText(text);
    return handle;
  }
  TVkStringObject& StringAt(int32_t handle) { return dynamic_cast<TVkStringObject&>(*manager->Find(handle)); }
  std::string Boxes() const { return box_lines.str(); }
};

}  // namespace vork
