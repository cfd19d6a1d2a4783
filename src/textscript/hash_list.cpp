#include "textscript/hash_list.h"

#include <algorithm>

namespace vork {

int32_t DefaultNameHash(std::string_view name) {
  uint32_t hash = 0;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    hash = ((hash >> 6) | (hash << 26)) + (hash ^ byte);
  }
  return static_cast<int32_t>(hash & 0x7FFFFFFFu);
}

int CompareNames(std::string_view a, std::string_view b) {
  const size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    const auto x = static_cast<unsigned char>(a[i]);
    const auto y = static_cast<unsigned char>(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

}  // namespace vork
