// Loads arbitrary bytes as a bytecode image and runs its start routine (and,
// on stop, its stop routine) on a real object manager with string objects,
// under an instruction budget. Any crash, sanitizer report or hang is a bug.

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string_view>

#include "bridge/object_manager.h"
#include "bridge/script_object.h"
#include "bridge/string_object.h"
#include "platform/message_boxes.h"
#include "platform/player_host.h"
#include "vm/fatal_check.h"
#include "vm/image.h"
#include "vm/processor.h"

namespace {

// The fatal checks end the process; here they must come back as an exception.
struct FatalCheckFailed : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class SilentBoxes : public vork::MessageBoxes {
 public:
  vork::BoxResult Show(vork::BoxKind, std::string_view, vork::BoxButtons) override { return vork::BoxResult::Ok; }
};

// Silent boxes, and fatal checks that throw.
class FuzzHost : public vork::PlayerHost {
 public:
  vork::MessageBoxes& Boxes() override { return boxes_; }
  void FatalCheckFailed(const std::string& detail) override { throw ::FatalCheckFailed(detail); }

 private:
  SilentBoxes boxes_;
};

void Setup() {
  static FuzzHost host;
  static vork::ScopedHost installed(host);
  // Hundreds of strings that double themselves must stay within memory.
  vork::TVkStringObject::max_text_length = 64 * 1024;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = (Setup(), true);
  (void)ready;
  vork::TVkImageFile image;
  try {
    image = vork::ParseImage(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const vork::EVkError&) {
    return 0;
  }
  // A smaller stack than the player's keeps runaway inputs quick while still
  // reaching growth and the full-stack fault.
  vork::TVkStack stack(4096, 65536, 4096);
  vork::TVkProcessor processor(stack);
  vork::TVkObjectManager manager({&processor, &stack, nullptr});
  manager.BindProcessorEvents();
  // Class 1 answers the common messages, as every script object does.
  manager.RegisterClass(1, [](vork::TVkObjectManager&) { return std::make_unique<vork::TVkScriptObject>(); });
  processor.SetInstructionBudget(2000);
  bool stopping = false;
  processor.SetOnStop([&](vork::TVkProcessor& running) {
    if (!stopping) {
      stopping = true;
      running.Run(image.header.stop_entry);
    }
    running.Halt();
  });
  try {
    processor.LoadImage(image.area);
    processor.Run(image.header.start_entry);
  } catch (const std::exception&) {
    // Machine faults, errors and failed fatal checks are expected outcomes.
  }
  return 0;
}
