// Any bytes as a BMP and as a JPEG: decoded within the picture limits or
// refused with EVkError; never a crash, an exit or an oversized allocation.

#include <cstdint>
#include <string_view>

#include "platform/errors.h"
#include "resources/picture.h"

namespace {

void Decode(vork::Picture (*decode)(std::string_view, std::string_view), std::string_view data) {
  try {
    vork::Picture picture = decode(data, "fuzz");
    if (picture.pixels.size() != static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height))
      __builtin_trap();
  } catch (const vork::EVkError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  Decode(vork::DecodeBmp, bytes);
  Decode(vork::DecodeJpeg, bytes);
  return 0;
}
