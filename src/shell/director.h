#pragma once
// TVkDirector owns the machine: the value stack, the processor and the object
// manager. It loads the course image, runs the start routine, and answers the
// bytecode's stop by running the stop routine and announcing that the course
// has finished.
//
// The machine is never freed under a running activation: a stop or a quit
// that arrives inside a nested event pump halts the processor at once (no
// further instruction runs), and the owner frees the director only once
// CanBeFreed() says the outermost activation, and every event that holds on
// to the machine between its routines, has returned.

#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "bridge/object_manager.h"
#include "bridge/source_locator.h"
#include "vm/processor.h"
#include "vm/value_stack.h"

namespace vork {

class TVkView;

class TVkDirector {
 public:
  using ClassRegistration = std::function<void(TVkObjectManager&)>;

  // Creates the stack (32,768 bytes, at most 1,048,576, growing by 32,768),
  // the processor bound to the manager and to the stop handler, and the
  // manager with the classes that register_classes adds.
  TVkDirector(TVkView* view, const ClassRegistration& register_classes);
  // Destroys the manager (and every live object), then the processor, then
  // the stack.
  ~TVkDirector();
  TVkDirector(const TVkDirector&) = delete;
  TVkDirector& operator=(const TVkDirector&) = delete;

  // Reads the 20-byte header of an image file, loads the area and runs the
  // start routine. Faults propagate: a failed start ends the program.
  void Start(std::span<const uint8_t> image_file);

  // The compiler's map of the image about to start: from then on faults,
  // notices and error boxes say where in the source they happened.
  void UseSourceMap(SourceMap map);

  // Raised after the stop routine has run (the processor is halted by then).
  std::function<void()> OnFinished;

  // Makes the processor run no further instruction (the course is over).
  void Halt() { processor_->Halt(); }
  bool CanBeFreed() const { return !processor_->IsInUse(); }

  TVkObjectManager& Manager() { return *manager_; }
  TVkProcessor& Processor() { return *processor_; }
  TVkStack& Stack() { return *stack_; }

 private:
  void Stopped();

  // Declared in the reverse of the release order.
  std::unique_ptr<SourceLocator> locator_;
  std::unique_ptr<SourceLocator::Installed> installed_locator_;
  std::unique_ptr<TVkStack> stack_;
  std::unique_ptr<TVkProcessor> processor_;
  std::unique_ptr<TVkObjectManager> manager_;
  int32_t start_entry_ = 0;
  int32_t stop_entry_ = 0;
  bool stopping_ = false;
};

}  // namespace vork
