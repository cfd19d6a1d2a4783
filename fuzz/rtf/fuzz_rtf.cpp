// Any bytes as a rich-text resource: the reader must finish without a fault
// and hand over a document the control can take as it is.

#include <cstdint>
#include <string_view>

#include "objects/rtf/rtf_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vork;
  const RtfDocument document = ReadRtf(std::string_view(reinterpret_cast<const char*>(data), size));
  for (const RtfParagraph& paragraph : document.paragraphs) {
    for (const RtfRun& run : paragraph.runs) {
      // A run is never empty, and no control character but tab gets through
      // (a stray CR or LF would split the paragraph in the control).
      if (run.text.empty()) __builtin_trap();
      for (char32_t c : run.text)
        if ((c < 0x20 && c != U'\t') || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) __builtin_trap();
      if (run.format.half_points < 1 || run.format.half_points > 3276) __builtin_trap();
    }
  }
  return 0;
}
