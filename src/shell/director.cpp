#include "shell/director.h"

#include <string_view>

#include "install/zentor_controller.h"
#include "platform/deferred_saves.h"
#include "vm/image.h"

namespace vork {

TVkDirector::TVkDirector(TVkView* view, const ClassRegistration& register_classes)
    : stack_(std::make_unique<TVkStack>(32768, 1048576, 32768)),
      processor_(std::make_unique<TVkProcessor>(*stack_)) {
  processor_->SetOnStop([this](TVkProcessor&) { Stopped(); });
  manager_ = std::make_unique<TVkObjectManager>(
      TVkManagerSetup{processor_.get(), stack_.get(), view});
  manager_->BindProcessorEvents();
  if (register_classes) register_classes(*manager_);
}

TVkDirector::~TVkDirector() {
  // The end of the run: a failed save is still shown while the stores exist.
  SaveDeferredChanges();
  manager_.reset();
  processor_.reset();
  stack_.reset();
  // The course is over: Zentor's own window settings go back.
  ReleaseZentorController();
}

void TVkDirector::UseSourceMap(SourceMap map) {
  installed_locator_.reset();
  locator_ = std::make_unique<SourceLocator>(std::move(map));
  installed_locator_ = std::make_unique<SourceLocator::Installed>(locator_.get());
  processor_->SetOnFault([this](TVkProcessor& processor) { locator_->NoteFault(processor); });
}

void TVkDirector::Start(std::span<const uint8_t> image_file) {
  TVkImageFile image = ParseImage(
      std::string_view(reinterpret_cast<const char*>(image_file.data()), image_file.size()));
  start_entry_ = image.header.start_entry;
  stop_entry_ = image.header.stop_entry;
  processor_->LoadImage(image.area);
  processor_->Run(start_entry_);
  // The start routine is the one routine that no event boundary ends.
  SaveDeferredChanges();
}

void TVkDirector::Stopped() {
  // A stop routine that itself executes stop must not start it again.
  if (stopping_) return;
  stopping_ = true;
  processor_->Run(stop_entry_);
  SaveDeferredChanges();
  // From here on no instruction of any activation may run: the owner frees
  // the machine as soon as the outermost activation has returned.
  processor_->Halt();
  if (OnFinished) {
    auto finished = OnFinished;
    finished();
  }
}

}  // namespace vork
