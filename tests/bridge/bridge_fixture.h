#pragma once
// The test machine with script object classes that log what happens to them.

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "bridge/object_manager.h"
#include "bridge/script_object.h"
#include "bridge/string_object.h"
#include "support/test_machine.h"

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

// The test machine whose classes can be made to log what happens to them.
struct BridgeFixture : testing::TestMachine {
  // The recording objects write to log as they are freed.
  ~BridgeFixture() override { manager.reset(); }

  std::vector<std::string> log;
  int created = 0;

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
};

}  // namespace vork
