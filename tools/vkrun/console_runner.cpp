#include "vkrun/console_runner.h"

#include "bridge/object_manager.h"
#include "vkrun/console_object.h"
#include "vm/processor.h"

namespace vork {

ConsoleRunResult RunOnConsole(const TVkImageFile& image, std::ostream& out, bool count_instructions) {
  TVkStack stack;
  TVkProcessor processor(stack);
  TVkObjectManager manager({&processor, &stack, nullptr});
  manager.BindProcessorEvents();
  manager.RegisterClass(TVkObjectManager::kSystemClass,
                        [&out](TVkObjectManager&) { return std::make_unique<TVkConsoleObject>(out); });
  processor.SetCounting(count_instructions);
  processor.LoadImage(image.area);
  bool stopping = false;
  processor.SetOnStop([&](TVkProcessor& running) {
    // A stop routine that itself executes stop must not start it again.
    if (!stopping) {
      stopping = true;
      running.Run(image.header.stop_entry);
    }
    running.Halt();
  });
  processor.Run(image.header.start_entry);
  return {processor.InstructionCount(), manager.Count()};
}

}  // namespace vork
