#pragma once
// The instruction set, written once. Everything that needs to know the
// opcodes (the dispatcher, the name table, the assembler, the disassembler)
// expands VORK_OPCODES, so none of them can drift from the others.
//
// X(number, Name, "name", immediate bytes, pops, pushes)
// pops/pushes give the operand-stack effect of the instruction itself; -1
// marks an effect that depends on the routine or handler involved.

#include <cstdint>
#include <optional>
#include <string_view>

#define VORK_OPCODES(X)                                                  \
  X(0, Stop, "stop", 0, 0, 0)           /* raise OnStop, end activation */ \
  X(1, Jump, "jump", 0, 1, 0)           /* target -> */                  \
  X(2, BrFalse, "brfalse", 0, 2, 0)     /* cond target -> */             \
  X(3, BrTrue, "brtrue", 0, 2, 0)       /* cond target -> */             \
  X(4, Call, "call", 0, 1, -1)          /* args target -> [result] */    \
  X(5, Return, "return", 0, -1, 0)      /* frame -> */                   \
  X(6, ReturnVal, "returnval", 0, -1, 1) /* frame -> result */           \
  X(7, ZeroFill, "zerofill", 0, 1, -1)  /* n -> 0 x n */                 \
  X(8, Dupe, "dupe", 0, 1, 2)           /* a -> a a */                   \
  X(9, Swap, "swap", 0, 2, 2)           /* b a -> a b */                 \
  X(10, DSwap, "dswap", 0, 2, 3)        /* b a -> a a b */               \
  X(11, Wipe, "wipe", 0, 1, 0)          /* a -> */                       \
  X(12, Add, "add", 0, 2, 1)            /* s t -> s+t */                 \
  X(13, Sub, "sub", 0, 2, 1)            /* s t -> s-t */                 \
  X(14, Mul, "mul", 0, 2, 1)            /* s t -> s*t */                 \
  X(15, Div, "div", 0, 2, 1)            /* s t -> s/t */                 \
  X(16, Shl, "shl", 0, 2, 1)            /* s t -> s<<(t&31) */           \
  X(17, Shr, "shr", 0, 2, 1)            /* s t -> s>>>(t&31) */          \
  X(18, Mod, "mod", 0, 2, 1)            /* s t -> s%t */                 \
  X(19, Negate, "negate", 0, 1, 1)      /* a -> -a */                    \
  X(20, And, "and", 0, 2, 1)            /* s t -> s&t */                 \
  X(21, Or, "or", 0, 2, 1)              /* s t -> s|t */                 \
  X(22, Not, "not", 0, 1, 1)            /* a -> ~a */                    \
  X(23, Xor, "xor", 0, 2, 1)            /* s t -> s^t */                 \
  X(24, Lt, "lt", 0, 2, 1)              /* s t -> s<t */                 \
  X(25, Le, "le", 0, 2, 1)              /* s t -> s<=t */                \
  X(26, Eq, "eq", 0, 2, 1)              /* s t -> s==t */                \
  X(27, Ne, "ne", 0, 2, 1)              /* s t -> s!=t */                \
  X(28, Ge, "ge", 0, 2, 1)              /* s t -> s>=t */                \
  X(29, Gt, "gt", 0, 2, 1)              /* s t -> s>t */                 \
  X(30, LoadCon, "loadcon", 4, 0, 1)    /* -> imm32 */                   \
  X(31, Zero, "zero", 0, 0, 1)          /* -> 0 */                       \
  X(32, One, "one", 0, 0, 1)            /* -> 1 */                       \
  X(33, MinusOne, "minusone", 0, 0, 1)  /* -> -1 */                      \
  X(34, Load, "load", 0, 1, 1)          /* off -> frame word */          \
  X(35, Store, "store", 0, 2, 0)        /* off value -> */               \
  X(36, GLoad, "gload", 0, 1, 1)        /* addr -> image word */         \
  X(37, GStore, "gstore", 0, 2, 0)      /* addr value -> */              \
  X(38, CreateObj, "createobj", 0, 1, 1) /* class -> handle */           \
  X(39, Method, "method", 0, 2, -1)     /* args msg handle -> [result] */ \
  X(40, Method2, "method2", 0, 2, -1)   /* args msg handle -> [result] handle */ \
  X(41, LoadC, "loadc", 1, 0, 1)        /* -> sign-extended imm8 */

namespace vork {

enum class Opcode : uint8_t {
#define VORK_OPCODE_ENUM(number, Name, name, immediate, pops, pushes) Name = number,
  VORK_OPCODES(VORK_OPCODE_ENUM)
#undef VORK_OPCODE_ENUM
};

struct OpcodeInfo {
  std::string_view name;
  int immediate_bytes;
  int pops;    // -1: depends on the routine or handler
  int pushes;  // -1: depends on the routine or handler
};

inline constexpr OpcodeInfo kOpcodeTable[] = {
#define VORK_OPCODE_INFO(number, Name, name, immediate, pops, pushes) {name, immediate, pops, pushes},
    VORK_OPCODES(VORK_OPCODE_INFO)
#undef VORK_OPCODE_INFO
};

inline constexpr int kOpcodeCount = static_cast<int>(sizeof(kOpcodeTable) / sizeof(kOpcodeTable[0]));
static_assert(kOpcodeCount == 42);
// The longest instruction: loadcon with its four immediate bytes.
inline constexpr int kMaxInstructionBytes = 5;

// The table entry of a valid opcode number (0 .. kOpcodeCount-1), else null.
const OpcodeInfo* FindOpcodeInfo(int opcode);
// The opcode whose name equals name ignoring letter case.
std::optional<Opcode> OpcodeByName(std::string_view name);
// The start-up self-check: every name must look up to its own opcode.
// Raises EVkAssertion otherwise.
void CheckOpcodeNames();

}  // namespace vork
