#pragma once
// The CRC-32 of ISO 3309 / ITU-T V.42 (as zip and PNG use it): reflected
// polynomial 0xEDB88320, initial value and final exclusive-or all ones.

#include <cstdint>
#include <string_view>

namespace vork {

// The checksum of the bytes; "123456789" gives 0xCBF43926.
std::uint32_t Crc32(std::string_view bytes);

// The same checksum as the bytecode sees it: a signed 32-bit word.
std::int32_t Crc32Word(std::string_view bytes);

}  // namespace vork
