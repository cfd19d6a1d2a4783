#pragma once
// Prints an image as assembly. The listing assembles back to the same area:
// every byte is shown as the instruction it decodes to (the data area too,
// since the image does not say where code ends), bytes that are no
// instruction as .byte, entries as numbers.

#include <string>

#include "vm/image.h"

namespace vork {

std::string Disassemble(const TVkImageFile& image);

}  // namespace vork
