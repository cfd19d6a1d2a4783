#pragma once
// Words in the image and on the value stack are little-endian and may sit at
// any byte offset, so they are copied byte-wise (a single move on the hosts
// we build for).

#include <bit>
#include <cstdint>
#include <cstring>

namespace vork {

inline int32_t ReadWord(const uint8_t* at) {
  uint32_t value;
  std::memcpy(&value, at, 4);
  if constexpr (std::endian::native == std::endian::big) value = __builtin_bswap32(value);
  return static_cast<int32_t>(value);
}

inline void WriteWord(uint8_t* at, int32_t word) {
  auto value = static_cast<uint32_t>(word);
  if constexpr (std::endian::native == std::endian::big) value = __builtin_bswap32(value);
  std::memcpy(at, &value, 4);
}

}  // namespace vork
