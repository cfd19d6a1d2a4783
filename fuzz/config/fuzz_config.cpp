// Any text as vork.cfg: it is either read or refused with the configuration's
// own failures.

#include <cstdint>
#include <string_view>

#include "platform/errors.h"
#include "resources/config.h"
#include "resources/res_manager.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vork;
  auto lines = SplitLines(std::string_view(reinterpret_cast<const char*>(data), size));
  try {
    TVkConfig config(lines);
    if (config.SceneWidth() < 1 || config.SceneHeight() < 1) __builtin_trap();
  } catch (const EVkError&) {
  } catch (const EVkAssertion&) {
  }
  return 0;
}
