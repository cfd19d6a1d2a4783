#include "bridge/event_boundary.h"

#include <exception>

#include "bridge/source_locator.h"
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
  try {
    body();
    return true;
  } catch (const EVkSilentAbort&) {
    if (stack.Length() > length) stack.SetLength(length);
    return false;
  } catch (const std::exception& fault) {
    if (stack.Length() > length) stack.SetLength(length);
    const SourceLocator* locator = SourceLocator::Current();
    ShowErrorAt(fault.what(), locator ? locator->PlaceOfFault(fault) : "");
    return false;
  }
}

}  // namespace vork
