#include "vm/processor.h"

#include <cstring>
#include <iterator>
#include <limits>

#include "platform/errors.h"
#include "vm/fatal_check.h"
#include "vm/opcodes.h"

namespace vork {

namespace {

// The copy of the area is followed by bytes that decode as an invalid
// opcode. Straight-line execution that runs off the end of the area (at most
// one instruction's immediate into the padding) then lands on them, and the
// invalid-opcode case reports it as leaving the image; so fetching needs no
// bounds check of its own. Only control transfers check their target.
// A constant that looks at the two opcode bytes after it (the fused pairs
// below) reads at most kMaxInstructionBytes + 1 bytes past its own opcode,
// all of them padding when the constant ends the area; the padding byte is
// no opcode, so nothing is fused with it.
constexpr size_t kImagePadding = 8;
constexpr uint8_t kPaddingByte = 0xFF;
static_assert(kImagePadding >= kMaxInstructionBytes + 1);

[[noreturn, gnu::cold, gnu::noinline]] void ThrowStack(int code) { throw EVkStack(code); }
[[noreturn, gnu::cold, gnu::noinline]] void ThrowProcessor(int code) { throw EVkProcessor(code); }
[[noreturn, gnu::cold, gnu::noinline]] void ThrowUnbound(const char* instruction) {
  throw EVkError(std::string(instruction) + ": no object manager is bound to the processor");
}

void CheckOpcodeNamesOnce() {
  static const bool checked = (CheckOpcodeNames(), true);
  (void)checked;
}

}  // namespace

TVkProcessor::TVkProcessor(TVkStack& stack)
    : image_(kImagePadding, kPaddingByte), stack_(stack) {
  CheckOpcodeNamesOnce();
}

void TVkProcessor::LoadImage(std::span<const uint8_t> area) {
  if (IsRunning()) throw EVkError("LoadImage: the processor is running a routine");
  // Offsets are words, and the padding must stay addressable.
  if (area.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()) - kImagePadding) {
    throw EVkError("LoadImage: the bytecode image is too large (" + std::to_string(area.size()) +
                   " bytes)");
  }
  std::vector<uint8_t> copy(area.size() + kImagePadding, kPaddingByte);
  if (!area.empty()) std::memcpy(copy.data(), area.data(), area.size());
  image_ = std::move(copy);
  area_length_ = static_cast<int32_t>(area.size());
  halted_ = false;
}

std::string_view TVkProcessor::ConstantText(int32_t offset) const {
  if (offset < 0 || offset >= area_length_) return {};
  const auto* begin = reinterpret_cast<const char*>(image_.data()) + offset;
  const size_t available = static_cast<size_t>(area_length_ - offset);
  // Most constants are short: a plain scan finds their end sooner than a
  // library call would.
  constexpr size_t kScanned = 32;
  size_t length = 0;
  while (length < kScanned && length < available && begin[length] != 0) ++length;
  if (length == kScanned) length += strnlen(begin + kScanned, available - kScanned);
  return std::string_view(begin, length);
}

void TVkProcessor::Run(int32_t entry) {
  if (halted_) return;
  if (depth_ >= kMaxNativeDepth) throw EVkStack(EVkStack::kFull);
  const int32_t entry_ip = ip_;
  const int32_t entry_fp = fp_;
  const int32_t entry_length = stack_.Length();
  ++depth_;
  try {
    stack_.Push(ip_);
    ip_ = entry;
    stack_.Push(fp_);
    fp_ = stack_.Length();
    if (counting_) {
      Execute<true>();
    } else {
      Execute<false>();
    }
  } catch (...) {
    --depth_;
    if (on_fault_) on_fault_(*this);
    // The entry length never exceeds the capacity, so this cannot grow.
    ip_ = entry_ip;
    fp_ = entry_fp;
    stack_.length_ = entry_length;
    throw;
  }
  --depth_;
}

// The dispatch loop. It is written once with the macros below and compiles
// to computed goto where the compiler offers it, else to a switch.
//
// Hot state lives in locals: pc (instruction pointer), fp, the stack as
// three pointers (sb the buffer, top = sb + length, limit = sb + capacity),
// the budget and the count. SAVE_STATE writes it back to the members; it
// must happen wherever an instruction leaves the loop for code that can see
// the processor (the events, marked "leaves the loop" below). LOAD_STATE
// takes it back afterwards, because a nested activation may have moved the
// stack buffer, and one that ended with stop leaves its instruction and
// frame pointer behind, which its interrupted caller then continues from. A
// fault writes back its instruction and frame pointers on its way out (for
// the fault event), and Run then restores its entry state.
//
// Fused pairs. The compiled code spells every frame access, global access,
// call and branch as a constant followed by the instruction that takes it
// (loadc -12 load; loadc 4 swap store; loadcon g gload; loadcon r call ...).
// loadc and loadcon look at the instruction that follows them in the image
// and, for those pairs, do both at once, saving a dispatch and the stack
// traffic of the constant. They read the image as it is at that moment, so
// a gstore into the code is seen as before. A pair is fused only where its
// parts could not fail differently from the pair (room for the constant, the
// operands present); everywhere else the constant is pushed as usual. The
// fused forms leave the same words behind in the buffer above the top as the
// separate instructions would, since a longer SetLength uncovers them. The
// counting loop executes every instruction on its own, so that it counts
// each one.

#if defined(__GNUC__) && !defined(VORK_VM_SWITCH_DISPATCH)
#define VORK_VM_COMPUTED_GOTO 1
#else
#define VORK_VM_COMPUTED_GOTO 0
#endif

#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpedantic"
#endif

template <bool kCounting>
void TVkProcessor::Execute() {
  uint8_t* const code = image_.data();
  const auto area = static_cast<uint32_t>(area_length_);
  const uint8_t* pc;
  int32_t fp;
  uint8_t* sb;
  uint8_t* top;
  uint8_t* limit;
  int64_t budget;
  uint64_t count;
  // Bytecode calls made inside this loop and not yet returned from.
  int64_t nested_calls = 0;

#define OP(Name) static_cast<uint8_t>(Opcode::Name)
#define LENGTH() static_cast<int32_t>(top - sb)
#define SAVE_STATE() SAVE_STATE_AT(static_cast<int32_t>(pc - code))
#define SAVE_STATE_AT(ip)                               \
  do {                                                  \
    ip_ = (ip);                                         \
    fp_ = fp;                                           \
    stack_.length_ = LENGTH();                          \
    budget_ = budget;                                   \
    if constexpr (kCounting) instruction_count_ = count; \
  } while (0)
#define LOAD_STATE()                                                                 \
  do {                                                                               \
    if (static_cast<uint32_t>(ip_) > area) ThrowProcessor(EVkProcessor::kOutsideImage); \
    pc = code + ip_;                                                                 \
    fp = fp_;                                                                        \
    sb = stack_.buffer_.get();                                                       \
    top = sb + stack_.length_;                                                       \
    limit = sb + stack_.capacity_;                                                   \
    budget = budget_;                                                                \
    if constexpr (kCounting) count = instruction_count_;                             \
  } while (0)
#define GROW_TO(needed)                   \
  do {                                    \
    const int32_t kept_ = LENGTH();       \
    stack_.length_ = kept_;               \
    stack_.GrowFor(needed);               \
    sb = stack_.buffer_.get();            \
    top = sb + kept_;                     \
    limit = sb + stack_.capacity_;        \
  } while (0)
#define HAS(bytes) (top - sb >= (bytes))  // at least that many bytes on the stack
#define ROOM(bytes) (limit - top >= (bytes))  // room for that many more without growing
#define NEED(bytes) \
  if (!HAS(bytes)) ThrowStack(EVkStack::kUnderflow)
#define TOP(k) ReadWord(top - 4 * (k))  // k = 1 is the top word
#define SET_TOP(k, word) WriteWord(top - 4 * (k), (word))
#define PUSH(word)                                         \
  do {                                                     \
    const int32_t pushed_ = (word);                        \
    if (!ROOM(4)) GROW_TO(int64_t{LENGTH()} + 4);          \
    WriteWord(top, pushed_);                               \
    top += 4;                                              \
  } while (0)
#define PEEK(offset) PeekChecked(sb, LENGTH(), (offset))
#define POKE(offset, word)                                                              \
  do {                                                                                  \
    const int64_t poked_ = (offset);                                                    \
    if (poked_ < 0 || poked_ + 4 > LENGTH()) ThrowStack(EVkStack::kBadPoke);            \
    WriteWord(sb + poked_, (word));                                                     \
  } while (0)
#define SET_LENGTH(length)                                                   \
  do {                                                                       \
    const int64_t new_length_ = (length);                                    \
    if (new_length_ < 0) ThrowStack(EVkStack::kUnderflow);                   \
    if (new_length_ > limit - sb) GROW_TO(new_length_);                      \
    top = sb + new_length_;                                                  \
  } while (0)
#define JUMP_TO(target)                                                                   \
  do {                                                                                    \
    const int32_t target_ = (target);                                                     \
    if (static_cast<uint32_t>(target_) >= area) ThrowProcessor(EVkProcessor::kOutsideImage); \
    pc = code + target_;                                                                  \
  } while (0)
#define GLOBAL_OK(address) ((address) >= 0 && int64_t{address} <= int64_t{area} - 4)
#define SPEND_BUDGET() \
  if (--budget < 0) ThrowProcessor(EVkProcessor::kBudgetExhausted)
#define BINARY(expression)           \
  do {                               \
    NEED(8);                         \
    const int32_t t = TOP(1);        \
    const int32_t s = TOP(2);        \
    top -= 4;                        \
    SET_TOP(1, (expression));        \
  } while (0)
#define WRAP(expression) static_cast<int32_t>(expression)
#if defined(__GNUC__)
#define OPAQUE(value) __asm__("" : "+r"(value))
#else
#define OPAQUE(value) (void)0
#endif
#define U(word) static_cast<uint32_t>(word)

  // For lt, le, eq, ne, ge, gt: bit k is set when the comparison is true
  // for order k (0 less, 1 equal, 2 greater).
  static constexpr uint8_t kTrueForOrder[] = {0b001, 0b011, 0b010, 0b101, 0b110, 0b100};
  static_assert(OP(Gt) - OP(Lt) + 1 == sizeof kTrueForOrder);

  // A negative or oversized offset never reaches the buffer.
  auto PeekChecked = [](const uint8_t* buffer, int32_t length, int64_t offset) {
    if (offset < 0 || offset + 4 > length) ThrowStack(EVkStack::kBadPeek);
    return ReadWord(buffer + offset);
  };

// The fused pairs (see above). Each takes the constant and the address of
// the instruction after it, and ends with NEXT when it applies.
#define FUSE_LOAD(value, after)                                          \
  if (*(after) == OP(Load) && ROOM(4)) {                                 \
    WriteWord(top, (value));                                             \
    const int32_t word_ = PEEK(int64_t{fp} + (value));                   \
    WriteWord(top, word_);                                               \
    top += 4;                                                            \
    pc = (after) + 1;                                                    \
    NEXT;                                                                \
  }
// constant swap store / constant swap gstore: the value under the constant
// goes to the frame or the image. Swap leaves the constant and the value
// above the new top.
#define FUSE_SWAP_STORE(value, after)                                     \
  if ((after)[0] == OP(Swap) && ((after)[1] == OP(Store) || (after)[1] == OP(GStore)) && \
      ROOM(4) && HAS(4)) {                                                \
    const int32_t stored_ = TOP(1);                                       \
    SET_TOP(1, (value));                                                  \
    WriteWord(top, stored_);                                              \
    if ((after)[1] == OP(Store)) {                                        \
      top -= 4;                                                           \
      POKE(int64_t{fp} + (value), stored_);                               \
    } else {                                                              \
      if (!GLOBAL_OK(value)) ThrowProcessor(EVkProcessor::kBadGlobalWrite); \
      top -= 4;                                                           \
      WriteWord(code + (value), stored_);                                 \
    }                                                                     \
    pc = (after) + 2;                                                     \
    NEXT;                                                                 \
  }
#define FUSE_GLOAD(value, after)                                          \
  if (*(after) == OP(GLoad) && ROOM(4)) {                                 \
    WriteWord(top, (value));                                              \
    if (!GLOBAL_OK(value)) ThrowProcessor(EVkProcessor::kBadGlobalRead);  \
    WriteWord(top, ReadWord(code + (value)));                             \
    top += 4;                                                             \
    pc = (after) + 1;                                                     \
    NEXT;                                                                 \
  }
#define FUSE_CALL(value, after)                                           \
  if (*(after) == OP(Call) && ROOM(8)) {                                  \
    WriteWord(top, (value));                                              \
    SPEND_BUDGET();                                                       \
    WriteWord(top, static_cast<int32_t>((after) + 1 - code));             \
    WriteWord(top + 4, fp);                                               \
    top += 8;                                                             \
    fp = LENGTH();                                                        \
    JUMP_TO(value);                                                       \
    ++nested_calls;                                                       \
    NEXT;                                                                 \
  }
#define FUSE_BRANCH(value, after)                                         \
  if ((*(after) == OP(BrFalse) || *(after) == OP(BrTrue)) && ROOM(4) && HAS(4)) { \
    WriteWord(top, (value));                                              \
    const bool branch_if_zero_ = *(after) == OP(BrFalse);                 \
    top -= 4;                                                             \
    pc = (after) + 1;                                                     \
    if ((ReadWord(top) == 0) == branch_if_zero_) {                        \
      SPEND_BUDGET();                                                     \
      JUMP_TO(value);                                                     \
    }                                                                     \
    NEXT;                                                                 \
  }
// constant add / constant sub: the operand under the constant is the left
// one; the constant stays behind above the new top.
#define FUSE_ARITHMETIC(value, after)                                     \
  if ((*(after) == OP(Add) || *(after) == OP(Sub)) && ROOM(4) && HAS(4)) { \
    const uint32_t left_ = U(TOP(1));                                     \
    const int32_t t = (value);                                            \
    WriteWord(top, t);                                                    \
    SET_TOP(1, WRAP(*(after) == OP(Add) ? left_ + U(t) : left_ - U(t)));  \
    pc = (after) + 1;                                                     \
    NEXT;                                                                 \
  }
// constant comparison loadcon target brfalse/brtrue: the test of an if or a
// loop, taken in one step when all four instructions are there. The
// comparison's answer and the target stay behind above the new top. A
// comparison picks its answer from a mask of the orders (less, equal,
// greater) it is true for, without another indirect jump.
#define FUSE_COMPARE_BRANCH(value, after)                                 \
  if (*(after) >= OP(Lt) && *(after) <= OP(Gt) && (after)[1] == OP(LoadCon) && \
      ((after)[6] == OP(BrFalse) || (after)[6] == OP(BrTrue)) && ROOM(4) && HAS(4)) { \
    const int32_t s = TOP(1);                                             \
    const int32_t t = (value);                                            \
    const int order_ = s < t ? 0 : (s == t ? 1 : 2);                      \
    const int32_t answer_ = (kTrueForOrder[*(after) - OP(Lt)] >> order_) & 1; \
    const int32_t branch_target_ = ReadWord((after) + 2);                 \
    SET_TOP(1, answer_);                                                  \
    WriteWord(top, branch_target_);                                       \
    top -= 4;                                                             \
    const bool branch_if_zero_ = (after)[6] == OP(BrFalse);               \
    pc = (after) + 7;                                                     \
    if ((answer_ == 0) == branch_if_zero_) {                              \
      SPEND_BUDGET();                                                     \
      JUMP_TO(branch_target_);                                            \
    }                                                                     \
    NEXT;                                                                 \
  }
#define FUSE_JUMP(value, after)                                           \
  if (*(after) == OP(Jump) && ROOM(4)) {                                  \
    WriteWord(top, (value));                                              \
    SPEND_BUDGET();                                                       \
    JUMP_TO(value);                                                       \
    NEXT;                                                                 \
  }

#if VORK_VM_COMPUTED_GOTO
#define R8(x) x, x, x, x, x, x, x, x
#define R64(x) R8(x), R8(x), R8(x), R8(x), R8(x), R8(x), R8(x), R8(x)
#define VORK_OPCODE_LABEL(number, Name, name, immediate, pops, pushes) &&op_##Name,
  static const void* const kDispatch[256] = {
      VORK_OPCODES(VORK_OPCODE_LABEL)
      R64(&&op_invalid), R64(&&op_invalid), R64(&&op_invalid),
      R8(&&op_invalid), R8(&&op_invalid),
      &&op_invalid, &&op_invalid, &&op_invalid, &&op_invalid, &&op_invalid, &&op_invalid};
  static_assert(sizeof(kDispatch) / sizeof(kDispatch[0]) == 256);
#undef VORK_OPCODE_LABEL
#undef R64
#undef R8
#define COUNT_INSTRUCTION() \
  if constexpr (kCounting) ++count
#define DISPATCH_BEGIN NEXT;
#define DISPATCH_END
#define CASE(Name) op_##Name:
#define CASE_INVALID op_invalid:
#define NEXT                   \
  do {                         \
    COUNT_INSTRUCTION();       \
    goto* kDispatch[*pc++];    \
  } while (0)
#else
#define DISPATCH_BEGIN          \
  for (;;) {                    \
    if constexpr (kCounting) ++count; \
    switch (*pc++) {
#define DISPATCH_END \
  }                  \
  }
#define CASE(Name) case static_cast<int>(Opcode::Name):
#define CASE_INVALID default:
#define NEXT continue
#endif

  LOAD_STATE();
  // Faults leave the loop without the write-back; the catch at its end
  // writes the instruction and frame pointers, so that the fault event sees
  // where the fault happened.
  try {
  DISPATCH_BEGIN

  CASE(Stop) {
    // Leaves the loop. The activation ends without restoring anything.
    SAVE_STATE();
    if (on_stop_) on_stop_(*this);
    if (halted_) return;
    if (nested_calls == 0) return;
    // The activation that ends is a call made in this loop: its caller
    // continues from whatever instruction and frame pointer are current.
    --nested_calls;
    LOAD_STATE();
    NEXT;
  }
  CASE(Jump) {
    NEED(4);
    top -= 4;
    SPEND_BUDGET();
    JUMP_TO(ReadWord(top));
    NEXT;
  }
  CASE(BrFalse) {
    NEED(8);
    const int32_t target = TOP(1);
    const int32_t condition = TOP(2);
    top -= 8;
    if (condition == 0) {
      SPEND_BUDGET();
      JUMP_TO(target);
    }
    NEXT;
  }
  CASE(BrTrue) {
    NEED(8);
    const int32_t target = TOP(1);
    const int32_t condition = TOP(2);
    top -= 8;
    if (condition != 0) {
      SPEND_BUDGET();
      JUMP_TO(target);
    }
    NEXT;
  }
  CASE(Call) {
    // A new activation in this same loop: the frame is what Run would push.
    NEED(4);
    top -= 4;
    const int32_t target = ReadWord(top);
    SPEND_BUDGET();
    PUSH(static_cast<int32_t>(pc - code));
    PUSH(fp);
    fp = LENGTH();
    JUMP_TO(target);
    ++nested_calls;
    NEXT;
  }
  CASE(Return) {
    const int32_t return_ip = PEEK(int64_t{fp} - 8);
    const int32_t arguments = PEEK(fp);
    const int64_t length = int64_t{fp} - 8 - 4 * int64_t{arguments};
    fp = PEEK(int64_t{fp} - 4);
    SET_LENGTH(length);
    if (nested_calls == 0) {
      // Back to the native caller, which checks the pointer when it resumes.
      SAVE_STATE_AT(return_ip);
      return;
    }
    --nested_calls;
    JUMP_TO(return_ip);
    NEXT;
  }
  CASE(ReturnVal) {
    const int32_t return_ip = PEEK(int64_t{fp} - 8);
    const int32_t arguments = PEEK(fp);
    const int64_t length = int64_t{fp} - 4 - 4 * int64_t{arguments};
    // The result goes into the lowest word of the frame before the saved
    // frame pointer is read: with a damaged count the two can coincide.
    POKE(length - 4, PEEK(int64_t{fp} + 4));
    fp = PEEK(int64_t{fp} - 4);
    SET_LENGTH(length);
    if (nested_calls == 0) {
      SAVE_STATE_AT(return_ip);
      return;
    }
    --nested_calls;
    JUMP_TO(return_ip);
    NEXT;
  }
  CASE(ZeroFill) {
    NEED(4);
    top -= 4;
    const int32_t n = ReadWord(top);
    if (n < 0) {
      SAVE_STATE();
      FailFatalCheck();
    }
    const int64_t length = int64_t{LENGTH()} + 4 * int64_t{n};
    if (length > limit - sb) GROW_TO(length);
    std::memset(top, 0, static_cast<size_t>(n) * 4);
    top = sb + length;
    NEXT;
  }
  CASE(Dupe) {
    NEED(4);
    PUSH(TOP(1));
    NEXT;
  }
  CASE(Swap) {
    NEED(8);
    int32_t a = TOP(1);
    // Keeps the compiler from fusing the two word moves into one 8-byte
    // rotate in memory: that reads across two fresh 4-byte stores, which the
    // processor cannot forward, and stalls.
    OPAQUE(a);
    SET_TOP(1, TOP(2));
    SET_TOP(2, a);
    NEXT;
  }
  CASE(DSwap) {
    // b a -> a a b
    NEED(8);
    const int32_t a = TOP(1);
    const int32_t b = TOP(2);
    SET_TOP(2, a);
    SET_TOP(1, a);
    PUSH(b);
    NEXT;
  }
  CASE(Wipe) {
    NEED(4);
    top -= 4;
    NEXT;
  }
  CASE(Add) { BINARY(WRAP(U(s) + U(t))); NEXT; }
  CASE(Sub) { BINARY(WRAP(U(s) - U(t))); NEXT; }
  CASE(Mul) { BINARY(WRAP(U(s) * U(t))); NEXT; }
  CASE(Div) {
    NEED(8);
    if (TOP(1) == 0) ThrowProcessor(EVkProcessor::kDivisionByZero);
    // The most negative word divided by -1 wraps to itself instead of trapping.
    BINARY(t == -1 ? WRAP(0u - U(s)) : s / t);
    NEXT;
  }
  CASE(Shl) { BINARY(WRAP(U(s) << (t & 31))); NEXT; }
  CASE(Shr) { BINARY(WRAP(U(s) >> (t & 31))); NEXT; }
  CASE(Mod) {
    NEED(8);
    if (TOP(1) == 0) ThrowProcessor(EVkProcessor::kDivisionByZero);
    BINARY(t == -1 ? 0 : s % t);
    NEXT;
  }
  CASE(Negate) {
    NEED(4);
    SET_TOP(1, WRAP(0u - U(TOP(1))));
    NEXT;
  }
  CASE(And) { BINARY(s & t); NEXT; }
  CASE(Or) { BINARY(s | t); NEXT; }
  CASE(Not) {
    NEED(4);
    SET_TOP(1, ~TOP(1));
    NEXT;
  }
  CASE(Xor) { BINARY(s ^ t); NEXT; }
  CASE(Lt) { BINARY(s < t ? 1 : 0); NEXT; }
  CASE(Le) { BINARY(s <= t ? 1 : 0); NEXT; }
  CASE(Eq) { BINARY(s == t ? 1 : 0); NEXT; }
  CASE(Ne) { BINARY(s != t ? 1 : 0); NEXT; }
  CASE(Ge) { BINARY(s >= t ? 1 : 0); NEXT; }
  CASE(Gt) { BINARY(s > t ? 1 : 0); NEXT; }
  CASE(LoadCon) {
    const int32_t value = ReadWord(pc);
    if constexpr (!kCounting) {
      const uint8_t* const after = pc + 4;
      FUSE_GLOAD(value, after)
      FUSE_CALL(value, after)
      FUSE_BRANCH(value, after)
      FUSE_SWAP_STORE(value, after)
      FUSE_JUMP(value, after)
    }
    pc += 4;
    PUSH(value);
    NEXT;
  }
  CASE(Zero) { PUSH(0); NEXT; }
  CASE(One) {
    if constexpr (!kCounting) FUSE_ARITHMETIC(1, pc)
    PUSH(1);
    NEXT;
  }
  CASE(MinusOne) {
    if constexpr (!kCounting) FUSE_ARITHMETIC(-1, pc)
    PUSH(-1);
    NEXT;
  }
  CASE(Load) {
    // The offset is popped before the frame word is read.
    NEED(4);
    top -= 4;
    const int32_t word = PEEK(int64_t{fp} + ReadWord(top));
    WriteWord(top, word);
    top += 4;
    NEXT;
  }
  CASE(Store) {
    NEED(8);
    const int32_t value = TOP(1);
    const int32_t offset = TOP(2);
    top -= 8;
    POKE(int64_t{fp} + offset, value);
    NEXT;
  }
  CASE(GLoad) {
    NEED(4);
    const int32_t address = TOP(1);
    if (!GLOBAL_OK(address)) ThrowProcessor(EVkProcessor::kBadGlobalRead);
    SET_TOP(1, ReadWord(code + address));
    NEXT;
  }
  CASE(GStore) {
    NEED(8);
    const int32_t value = TOP(1);
    const int32_t address = TOP(2);
    if (!GLOBAL_OK(address)) ThrowProcessor(EVkProcessor::kBadGlobalWrite);
    top -= 8;
    WriteWord(code + address, value);
    NEXT;
  }
  CASE(CreateObj) {
    // Leaves the loop: the object's initialisation may run bytecode.
    NEED(4);
    top -= 4;
    const int32_t class_index = ReadWord(top);
    if (object_events_ == nullptr) ThrowUnbound("createobj");
    SAVE_STATE();
    const int32_t handle = object_events_->CreateObjectEvent(class_index);
    if (halted_) return;
    LOAD_STATE();
    PUSH(handle);
    NEXT;
  }
  CASE(Method) {
    // Leaves the loop: the handler pops and pushes on the stack and may run
    // bytecode.
    NEED(8);
    const int32_t handle = TOP(1);
    const int32_t message = TOP(2);
    top -= 8;
    if (object_events_ == nullptr) ThrowUnbound("method");
    SAVE_STATE();
    object_events_->SendMessageEvent(handle, message);
    if (halted_) return;
    LOAD_STATE();
    NEXT;
  }
  CASE(Method2) {
    // Leaves the loop, as method.
    NEED(8);
    const int32_t handle = TOP(1);
    const int32_t message = TOP(2);
    top -= 8;
    if (object_events_ == nullptr) ThrowUnbound("method2");
    SAVE_STATE();
    object_events_->SendMessageEvent(handle, message);
    if (halted_) return;
    LOAD_STATE();
    PUSH(handle);
    NEXT;
  }
  CASE(LoadC) {
    const int32_t value = static_cast<int8_t>(*pc);
    if constexpr (!kCounting) {
      const uint8_t* const after = pc + 1;
      FUSE_LOAD(value, after)
      FUSE_ARITHMETIC(value, after)
      FUSE_COMPARE_BRANCH(value, after)
      FUSE_SWAP_STORE(value, after)
    }
    ++pc;
    PUSH(value);
    NEXT;
  }
  CASE_INVALID {
    const bool outside = static_cast<uint32_t>(pc - 1 - code) >= area;
    ThrowProcessor(outside ? EVkProcessor::kOutsideImage : EVkProcessor::kBadOpcode);
  }

  DISPATCH_END
  } catch (...) {
    // Only the two pointers: keeping the stack top recoverable here as well
    // costs the loop several per cent. The length stays the last one saved.
    ip_ = static_cast<int32_t>(pc - code);
    fp_ = fp;
    throw;
  }

#undef OP
#undef LENGTH
#undef SAVE_STATE
#undef SAVE_STATE_AT
#undef LOAD_STATE
#undef GROW_TO
#undef HAS
#undef ROOM
#undef NEED
#undef TOP
#undef SET_TOP
#undef PUSH
#undef PEEK
#undef POKE
#undef SET_LENGTH
#undef JUMP_TO
#undef GLOBAL_OK
#undef SPEND_BUDGET
#undef BINARY
#undef WRAP
#undef OPAQUE
#undef U
#undef FUSE_LOAD
#undef FUSE_SWAP_STORE
#undef FUSE_GLOAD
#undef FUSE_CALL
#undef FUSE_BRANCH
#undef FUSE_JUMP
#undef FUSE_ARITHMETIC
#undef FUSE_COMPARE_BRANCH
#undef COUNT_INSTRUCTION
#undef DISPATCH_BEGIN
#undef DISPATCH_END
#undef CASE
#undef CASE_INVALID
#undef NEXT
}

#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif

template void TVkProcessor::Execute<false>();
template void TVkProcessor::Execute<true>();

}  // namespace vork
