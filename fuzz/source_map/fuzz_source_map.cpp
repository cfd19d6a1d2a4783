// Any text as a course's source map (it comes beside the image or inside a
// course executable): it is either read or refused with EVkError, and what
// is read formats back to text that reads the same and answers lookups.

#include <cstdint>
#include <string_view>

#include "platform/errors.h"
#include "vm/source_map.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vork;
  try {
    const SourceMap map = SourceMap::Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string text = map.Format();
    if (SourceMap::Parse(text).Format() != text) __builtin_trap();
    for (const int32_t address : {0, 1, 100, 1 << 20, INT32_MAX}) {
      (void)map.where(address);
      (void)map.routineAt(address);
    }
  } catch (const EVkError&) {
  }
  return 0;
}
