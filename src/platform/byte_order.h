#pragma once
// Little-endian numbers in file formats (archives, bitmaps, waves, stores):
// read from bytes at any offset and appended to a byte string, one byte at a
// time, so the host's own byte order and alignment never matter. Header-only,
// so the sound library can use it without linking the platform library.

#include <cstdint>
#include <string>

namespace vork {

// The `count` bytes (1 to 8) at `at`, least significant first.
inline std::uint64_t ReadLittleEndian(const void* at, int count) {
  const auto* bytes = static_cast<const unsigned char*>(at);
  std::uint64_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = value << 8 | bytes[i];
  return value;
}

inline std::uint16_t ReadLittle16(const void* at) { return static_cast<std::uint16_t>(ReadLittleEndian(at, 2)); }
inline std::uint32_t ReadLittle32(const void* at) { return static_cast<std::uint32_t>(ReadLittleEndian(at, 4)); }
inline std::uint64_t ReadLittle64(const void* at) { return ReadLittleEndian(at, 8); }

// Appends the low `count` bytes (1 to 8) of value, least significant first.
inline void AppendLittleEndian(std::string& out, std::uint64_t value, int count) {
  for (int i = 0; i < count; ++i) out += static_cast<char>(value >> (8 * i) & 0xFF);
}

}  // namespace vork
