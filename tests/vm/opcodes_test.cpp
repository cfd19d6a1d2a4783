#include "vm/opcodes.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "vkasm/assembler.h"
#include "vm/processor.h"

namespace vork {
namespace {

TEST(OpcodesTest, NamesAreTheInstructionSetInOpcodeOrder) {
  const char* const names[] = {
      "stop",   "jump",   "brfalse", "brtrue",  "call",     "return",   "returnval", "zerofill",
      "dupe",   "swap",   "dswap",   "wipe",    "add",      "sub",      "mul",       "div",
      "shl",    "shr",    "mod",     "negate",  "and",      "or",       "not",       "xor",
      "lt",     "le",     "eq",      "ne",      "ge",      "gt",       "loadcon",   "zero",
      "one",    "minusone", "load",  "store",   "gload",    "gstore",   "createobj", "method",
      "method2", "loadc"};
  ASSERT_EQ(std::size(names), static_cast<size_t>(kOpcodeCount));
  for (int i = 0; i < kOpcodeCount; ++i) {
    EXPECT_EQ(FindOpcodeInfo(i)->name, names[i]) << "opcode " << i;
  }
  EXPECT_EQ(FindOpcodeInfo(42), nullptr);
  EXPECT_EQ(FindOpcodeInfo(-1), nullptr);
  EXPECT_NO_THROW(CheckOpcodeNames());
}

TEST(OpcodesTest, LookupIgnoresLetterCaseAndOnlyTheTwoLoadsCarryImmediates) {
  EXPECT_EQ(OpcodeByName("ReturnVal"), Opcode::ReturnVal);
  EXPECT_EQ(OpcodeByName("METHOD2"), Opcode::Method2);
  EXPECT_EQ(OpcodeByName("method3"), std::nullopt);
  EXPECT_EQ(OpcodeByName(""), std::nullopt);
  for (int i = 0; i < kOpcodeCount; ++i) {
    const int expected = i == 30 ? 4 : (i == 41 ? 1 : 0);
    EXPECT_EQ(FindOpcodeInfo(i)->immediate_bytes, expected) << FindOpcodeInfo(i)->name;
  }
}

// Answers every message with one result word; objects are their class + 1000.
struct OneResultObjects final : TVkObjectEvents {
  TVkStack& stack;
  explicit OneResultObjects(TVkStack& s) : stack(s) {}
  int32_t CreateObjectEvent(int32_t class_index) override { return 1000 + class_index; }
  void SendMessageEvent(int32_t, int32_t) override { stack.Push(42); }
};

// The stack length in words when the routine entered at start stops (the
// stop event halts the machine, so that a stop inside a call ends it too).
int StackWordsAtStop(const std::string& source) {
  TVkStack stack;
  TVkProcessor processor(stack);
  OneResultObjects objects(stack);
  processor.SetObjectEvents(&objects);
  processor.SetOnStop([](TVkProcessor& p) { p.Halt(); });
  const AssembledImage image = Assemble(source, "stack effect");
  processor.LoadImage(image.area);
  processor.Run(image.start_entry);
  return stack.Length() / 4;
}

TEST(OpcodesTest, StackEffectsOfTheTableAreWhatTheMachineDoes) {
  // Each row runs its source twice: with {op} replaced by the instruction
  // followed by stop, and by stop alone; the difference in stack words is the
  // instruction's effect. Where the table says the effect depends on the
  // routine or handler (-1), the row gives it for its own case.
  struct Row {
    Row(Opcode op, std::string text, int open_pops = -1, int open_pushes = -1)
        : opcode(op), source(std::move(text)), pops(open_pops), pushes(open_pushes) {}
    Opcode opcode;
    std::string source;
    int pops;    // where the table has -1
    int pushes;  // where the table has -1
  };
  constexpr const char* kCallee = "sub: enter 0, 1\npush 9\nstore 4\nreturnval\n";
  const std::string with_callee = std::string(".start r\nr: enter 0\npush sub\n{op}\nstop\n") + kCallee;
  const std::string binary = "enter 0\npush 12\npush 3\n{op}\n";
  const Row rows[] = {
      {Opcode::Stop, "enter 0\n{op}\n"},
      {Opcode::Jump, "enter 0\npush next\n{op}\nnext: stop\n"},
      {Opcode::BrFalse, "enter 0\nzero\npush next\n{op}\nnext: stop\n"},
      {Opcode::BrTrue, "enter 0\none\npush next\n{op}\nnext: stop\n"},
      {Opcode::Call, with_callee, -1, 1},
      // Leaves the callee's frame (saved pointers, argument count) behind.
      {Opcode::Return, ".start r\nr: enter 0\npush sub\ncall\nstop\nsub: enter 0\n{op}\n", 3, -1},
      {Opcode::ReturnVal, ".start r\nr: enter 0\npush sub\ncall\nstop\nsub: enter 0, 1\n{op}\n", 4, -1},
      {Opcode::ZeroFill, "enter 0\npush 3\n{op}\n", -1, 3},
      {Opcode::Dupe, "enter 0\none\n{op}\n"},
      {Opcode::Swap, binary},
      {Opcode::DSwap, binary},
      {Opcode::Wipe, "enter 0\none\n{op}\n"},
      {Opcode::Add, binary},
      {Opcode::Sub, binary},
      {Opcode::Mul, binary},
      {Opcode::Div, binary},
      {Opcode::Shl, binary},
      {Opcode::Shr, binary},
      {Opcode::Mod, binary},
      {Opcode::Negate, "enter 0\none\n{op}\n"},
      {Opcode::And, binary},
      {Opcode::Or, binary},
      {Opcode::Not, "enter 0\none\n{op}\n"},
      {Opcode::Xor, binary},
      {Opcode::Lt, binary},
      {Opcode::Le, binary},
      {Opcode::Eq, binary},
      {Opcode::Ne, binary},
      {Opcode::Ge, binary},
      {Opcode::Gt, binary},
      {Opcode::LoadCon, "enter 0\n{op}\n"},
      {Opcode::Zero, "enter 0\n{op}\n"},
      {Opcode::One, "enter 0\n{op}\n"},
      {Opcode::MinusOne, "enter 0\n{op}\n"},
      {Opcode::Load, "enter 0, 1\npush 4\n{op}\n"},
      {Opcode::Store, "enter 0, 1\npush 4\npush 9\n{op}\n"},
      {Opcode::GLoad, "enter 0\npush g\n{op}\n.global g\n"},
      {Opcode::GStore, "enter 0\npush g\npush 9\n{op}\n.global g\n"},
      {Opcode::CreateObj, "enter 0\npush 7\n{op}\n"},
      {Opcode::Method, "enter 0\npush 3\npush 55\n{op}\n", -1, 1},
      {Opcode::Method2, "enter 0\npush 3\npush 55\n{op}\n", -1, 2},
      {Opcode::LoadC, "enter 0\n{op}\n"},
  };
  std::set<Opcode> covered;
  for (const Row& row : rows) {
    const OpcodeInfo& info = *FindOpcodeInfo(static_cast<int>(row.opcode));
    SCOPED_TRACE(std::string(info.name));
    covered.insert(row.opcode);
    EXPECT_EQ(info.pops == -1, row.pops >= 0) << "a row gives the pops exactly where the table leaves them open";
    EXPECT_EQ(info.pushes == -1, row.pushes >= 0) << "a row gives the pushes exactly where the table leaves them open";
    const auto with = [&](const std::string& text) {
      std::string result = row.source;
      result.replace(result.find("{op}"), 4, text);
      return result;
    };
    const std::string instruction = std::string(info.name) + (info.immediate_bytes > 0 ? " 5" : "");
    const int pops = info.pops == -1 ? row.pops : info.pops;
    const int pushes = info.pushes == -1 ? row.pushes : info.pushes;
    EXPECT_EQ(StackWordsAtStop(with(instruction + "\nstop")) - StackWordsAtStop(with("stop")), pushes - pops);
  }
  EXPECT_EQ(covered.size(), static_cast<size_t>(kOpcodeCount));
}

}  // namespace
}  // namespace vork
