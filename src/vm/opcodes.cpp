#include "vm/opcodes.h"

#include "platform/cp1252.h"
#include "platform/errors.h"

namespace vork {

const OpcodeInfo* FindOpcodeInfo(int opcode) {
  if (opcode < 0 || opcode >= kOpcodeCount) return nullptr;
  return &kOpcodeTable[opcode];
}

std::optional<Opcode> OpcodeByName(std::string_view name) {
  for (int i = 0; i < kOpcodeCount; ++i) {
    if (EqualsIgnoreCase(kOpcodeTable[i].name, name)) return static_cast<Opcode>(i);
  }
  return std::nullopt;
}

void CheckOpcodeNames() {
  for (int i = 0; i < kOpcodeCount; ++i) {
    const auto found = OpcodeByName(kOpcodeTable[i].name);
    Check(found.has_value() && static_cast<int>(*found) == i);
  }
}

}  // namespace vork
