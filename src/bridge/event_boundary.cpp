#include "bridge/event_boundary.h"

#include <exception>

#include "bridge/source_locator.h"
#include "platform/deferred_saves.h"
#include "platform/errors.h"
#include "platform/message_boxes.h"
#include "vm/processor.h"

namespace vork {

bool RunAtEventBoundary(TVkProcessor& processor, const std::function<void()>& body) {
  if (processor.IsHalted()) return false;
  // The body may pump events in which the course ends: the machine stays
  // until the body has returned.
  TVkProcessor::InUse in_use(processor);
  TVkStack& stack = processor.Stack();
  const int32_t length = stack.Length();
  bool completed = false;
  try {
    body();
    completed = true;
  } catch (const EVkSilentAbort&) {
    if (stack.Length() > length) stack.SetLength(length);
  } catch (const std::exception& fault) {
    if (stack.Length() > length) stack.SetLength(length);
    const SourceLocator* locator = SourceLocator::Current();
    ShowErrorAt(fault.what(), locator ? locator->PlaceOfFault(fault) : "");
  }
  // What the routine wrote before it returned or faulted reaches the disk
  // now, once, however many settings it wrote.
  SaveDeferredChanges();
  return completed;
}

}  // namespace vork
