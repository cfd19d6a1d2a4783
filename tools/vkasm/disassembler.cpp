#include "vkasm/disassembler.h"

#include <cstdio>

#include "vm/opcodes.h"
#include "vm/word_io.h"

namespace vork {

namespace {

std::string Hex(int32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%08X", static_cast<uint32_t>(value));
  return text;
}

std::string Line(const std::string& instruction, int32_t offset) {
  std::string line(4, ' ');
  line += instruction;
  if (line.size() < 28) line.resize(28, ' ');
  line += "; ";
  line += Hex(offset);
  line += '\n';
  return line;
}

}  // namespace

std::string Disassemble(const TVkImageFile& image) {
  const auto& area = image.area;
  const auto size = static_cast<int32_t>(area.size());
  std::string out = "; area length " + std::to_string(size) + "\n";
  out += ".start " + std::to_string(image.header.start_entry) + "\n";
  out += ".stop " + std::to_string(image.header.stop_entry) + "\n";
  int32_t at = 0;
  while (at < size) {
    std::string marks;
    if (at == image.header.start_entry) marks += " start";
    if (at == image.header.stop_entry) marks += " stop";
    if (!marks.empty()) out += ";" + marks + " entry\n";
    const OpcodeInfo* info = FindOpcodeInfo(area[at]);
    if (info == nullptr || at + 1 + info->immediate_bytes > size) {
      out += Line(".byte " + std::to_string(area[at]), at);
      at += 1;
      continue;
    }
    std::string text(info->name);
    if (info->immediate_bytes > 0) {
      const int32_t immediate = info->immediate_bytes == 4 ? ReadWord(&area[at + 1]) : static_cast<int8_t>(area[at + 1]);
      text += ' ';
      text += std::to_string(immediate);
    }
    out += Line(text, at);
    at += 1 + info->immediate_bytes;
  }
  return out;
}

}  // namespace vork
