// The settings-file reader on arbitrary bytes: it either fails with its
// error or gives items that are sorted, unique and survive a write and a
// second read unchanged.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "platform/errors.h"
#include "users/reg_file.h"

namespace {

std::vector<vork::TVkRegItem> AsList(const vork::TVkRegItems& items) {
  return {items.begin(), items.end()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  vork::TVkRegItems items;
  try {
    items = vork::DecodeRegFile(bytes, "fuzz.vkr");
  } catch (const vork::EVkError&) {
    return 0;
  }
  const vork::TVkRegItem* previous = nullptr;
  for (const auto& item : items) {
    if (previous && !(previous->name < item.name)) std::abort();
    previous = &item;
  }
  auto again = vork::DecodeRegFile(vork::EncodeRegFile(items), "again.vkr");
  if (AsList(again) != AsList(items)) std::abort();
  return 0;
}
