#include "vm/processor.h"

#include <cstring>
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
constexpr size_t kImagePadding = 16;
static_assert(kImagePadding >= 8);  // TextLength reads up to seven bytes past the area
constexpr uint8_t kPaddingByte = 0xFF;

// Fused forms: a constant and the instruction(s) that take it, executed in
// one dispatch (see the dispatch loop). Their numbers follow the opcodes';
// what the loop dispatches on is a second copy of the area, the dispatch
// map, in which every byte that starts such a sequence holds its fused form
// and every other byte its opcode (or kPaddingByte where it is none).
enum FusedForm : uint8_t {
  kLoadConGLoad = kOpcodeCount,  // loadcon g gload
  kLoadConCall,                  // loadcon r call
  kLoadConBranch,                // loadcon t brfalse|brtrue
  kLoadConSwapStore,             // loadcon a swap store|gstore
  kLoadConJump,                  // loadcon t jump
  kLoadCLoad,                    // loadc o load
  kLoadCArithmetic,              // loadc c add|sub
  kLoadCCompareBranch,           // loadc c lt..gt loadcon t brfalse|brtrue
  kLoadCSwapStore,               // loadc a swap store|gstore
  kOneArithmetic,                // one add|sub
  kMinusOneArithmetic,           // minusone add|sub
  kLoadCLoadUnitAdd,             // loadc o load one|minusone add
  kLoadCLoadUnitSub,             // loadc o load one|minusone sub
  kLoadCLoadConstantAdd,         // loadc o load loadc c add
  kLoadCLoadConstantSub,         // loadc o load loadc c sub
  kOneZero,                      // one zero (the prologue of a routine with an argument and a result)
  kLoadCStoreReturnVal,          // loadc o swap store returnval (the end of a function)
  // loadc o load loadc c lt..gt loadcon t brfalse|brtrue, one form for each
  // comparison, in opcode order
  kLoadCLoadLtBranch,
  kLoadCLoadLeBranch,
  kLoadCLoadEqBranch,
  kLoadCLoadNeBranch,
  kLoadCLoadGeBranch,
  kLoadCLoadGtBranch,
  kAddStoreReturnVal,            // add loadc o swap store returnval (a function that returns a sum)
  kLoadConCreateFromConstant,    // loadcon c one zero createobj method2 (a string literal)
  kLoadConGLoadMethod,           // loadcon g gload method (a message to the object in a global)
  kMinusOneSwapMethod,           // minusone swap method (destroying the object on top)
  // dupe zero|one|minusone|loadc m loadcon g gload method (a message to the
  // object in a global that keeps its argument)
  kDupeSendToGlobal,
  kFusedEnd,
  // Not a form: a byte of the dispatch map that a write nearby left to be
  // decided again (MarkForRecheck).
  kRecheck = kFusedEnd
};
// The farthest byte a fused form's pattern looks at, from its first byte
// (loadc o, load, loadc c, comparison, loadcon t, branch).
constexpr int32_t kFusedReach = 11;
static_assert(kImagePadding >= kFusedReach + 1 && kImagePadding >= kMaxInstructionBytes + 1);

constexpr uint8_t Op(Opcode opcode) { return static_cast<uint8_t>(opcode); }
static_assert(kLoadCLoadGtBranch - kLoadCLoadLtBranch == Op(Opcode::Gt) - Op(Opcode::Lt));
constexpr bool IsArithmetic(uint8_t byte) { return byte == Op(Opcode::Add) || byte == Op(Opcode::Sub); }
constexpr bool IsBranch(uint8_t byte) { return byte == Op(Opcode::BrFalse) || byte == Op(Opcode::BrTrue); }
constexpr bool IsCompareBranch(const uint8_t* at) {
  return at[0] >= Op(Opcode::Lt) && at[0] <= Op(Opcode::Gt) && at[1] == Op(Opcode::LoadCon) && IsBranch(at[6]);
}
constexpr bool IsSwapStore(const uint8_t* at) {
  return at[0] == Op(Opcode::Swap) && (at[1] == Op(Opcode::Store) || at[1] == Op(Opcode::GStore));
}

// The length of a message number's instruction (zero, one, minusone or
// loadc m), or 0 for any other byte.
constexpr int IsMessageConstant(uint8_t byte) {
  if (byte == Op(Opcode::LoadC)) return 2;
  return byte == Op(Opcode::Zero) || byte == Op(Opcode::One) || byte == Op(Opcode::MinusOne) ? 1 : 0;
}

// What the dispatch map holds for the instruction starting at at (padding
// follows the area, so the pattern never reads beyond the copy).
uint8_t DispatchByte(const uint8_t* at) {
  const uint8_t* after;
  switch (at[0]) {
    case Op(Opcode::LoadCon):
      after = at + 5;
      if (after[0] == Op(Opcode::GLoad))
        return after[1] == Op(Opcode::Method) ? uint8_t{kLoadConGLoadMethod} : uint8_t{kLoadConGLoad};
      if (after[0] == Op(Opcode::Call)) return kLoadConCall;
      if (IsBranch(after[0])) return kLoadConBranch;
      if (IsSwapStore(after)) return kLoadConSwapStore;
      if (after[0] == Op(Opcode::Jump)) return kLoadConJump;
      if (after[0] == Op(Opcode::One) && after[1] == Op(Opcode::Zero) && after[2] == Op(Opcode::CreateObj) &&
          after[3] == Op(Opcode::Method2))
        return kLoadConCreateFromConstant;
      return at[0];
    case Op(Opcode::LoadC):
      after = at + 2;
      if (after[0] == Op(Opcode::Load)) {
        const uint8_t* const next = after + 1;
        if (next[0] == Op(Opcode::LoadC) && IsCompareBranch(next + 2))
          return static_cast<uint8_t>(kLoadCLoadLtBranch + (next[2] - Op(Opcode::Lt)));
        // A frame word plus or minus a constant: one form for each kind of
        // constant and each operation, so that none decides them at run time.
        const bool unit = next[0] == Op(Opcode::One) || next[0] == Op(Opcode::MinusOne);
        if (unit && IsArithmetic(next[1]))
          return next[1] == Op(Opcode::Add) ? kLoadCLoadUnitAdd : kLoadCLoadUnitSub;
        if (next[0] == Op(Opcode::LoadC) && IsArithmetic(next[2]))
          return next[2] == Op(Opcode::Add) ? kLoadCLoadConstantAdd : kLoadCLoadConstantSub;
        return kLoadCLoad;
      }
      if (IsArithmetic(after[0])) return kLoadCArithmetic;
      if (IsCompareBranch(after)) return kLoadCCompareBranch;
      if (IsSwapStore(after))
        return after[1] == Op(Opcode::Store) && after[2] == Op(Opcode::ReturnVal) ? kLoadCStoreReturnVal
                                                                                  : kLoadCSwapStore;
      return at[0];
    case Op(Opcode::One):
      if (at[1] == Op(Opcode::Zero)) return kOneZero;
      return IsArithmetic(at[1]) ? uint8_t{kOneArithmetic} : at[0];
    case Op(Opcode::MinusOne):
      if (at[1] == Op(Opcode::Swap) && at[2] == Op(Opcode::Method)) return kMinusOneSwapMethod;
      return IsArithmetic(at[1]) ? uint8_t{kMinusOneArithmetic} : at[0];
    case Op(Opcode::Dupe): {
      const int message_bytes = IsMessageConstant(at[1]);
      after = at + 1 + message_bytes;
      return message_bytes != 0 && after[0] == Op(Opcode::LoadCon) && after[5] == Op(Opcode::GLoad) &&
                     after[6] == Op(Opcode::Method)
                 ? uint8_t{kDupeSendToGlobal}
                 : at[0];
    }
    case Op(Opcode::Add):
      after = at + 1;
      return after[0] == Op(Opcode::LoadC) && after[2] == Op(Opcode::Swap) && after[3] == Op(Opcode::Store) &&
                     after[4] == Op(Opcode::ReturnVal)
                 ? uint8_t{kAddStoreReturnVal}
                 : at[0];
    default:
      return at[0] < kOpcodeCount ? at[0] : kPaddingByte;
  }
}

// Fills the dispatch map (map_offset bytes after the area's copy).
void FillDispatchMap(uint8_t* code, size_t map_offset, int32_t area) {
  for (int32_t at = 0; at < area; ++at) code[map_offset + static_cast<size_t>(at)] = DispatchByte(code + at);
}

// After a write of the word at address (gstore), on the hot path of every
// global write. The bytes whose mapping may change are the word's own and
// the kFusedReach bytes before it (a fused form's head looks at most that
// far ahead). Rather than decide each of them now, they are marked for a
// recheck: the loop decides a marked byte when it dispatches on it, so a
// global written in a loop costs one store and code that rewrites itself
// still runs as written.
inline void MarkForRecheck(uint8_t* map, int32_t address) {
  constexpr int32_t kMarked = kFusedReach + 4;
  if (address >= kFusedReach) {
    std::memset(map + address - kFusedReach, kRecheck, kMarked);
  } else {
    std::memset(map, kRecheck, static_cast<size_t>(address) + 4);
  }
}

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
    : image_(2 * kImagePadding, kPaddingByte), stack_(stack) {
  CheckOpcodeNamesOnce();
}

void TVkProcessor::LoadImage(std::span<const uint8_t> area) {
  if (IsRunning()) throw EVkError("LoadImage: the processor is running a routine");
  // Offsets are words, and the padding must stay addressable.
  if (area.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max() / 2) - kImagePadding) {
    throw EVkError("LoadImage: the bytecode image is too large (" + std::to_string(area.size()) +
                   " bytes)");
  }
  std::vector<uint8_t> copy(2 * (area.size() + kImagePadding), kPaddingByte);
  if (!area.empty()) std::memcpy(copy.data(), area.data(), area.size());
  image_ = std::move(copy);
  area_length_ = static_cast<int32_t>(area.size());
  FillDispatchMap(image_.data(), area.size() + kImagePadding, area_length_);
  halted_ = false;
}

int32_t TVkProcessor::CreateFromConstant(int32_t constant, int32_t ip, int32_t fp, int32_t length, int64_t budget) {
  // The state createobj leaves the loop with, for a fault. The target runs
  // no bytecode when it accepts, so the loop need not load anything back.
  ip_ = ip;
  fp_ = fp;
  stack_.length_ = length;
  budget_ = budget;
  return object_events_->CreateFromConstantEvent(constant);
}

void TVkProcessor::Run(int32_t entry) {
  if (halted_) return;
  if (depth_ >= kMaxNativeDepth) throw EVkStack(EVkStack::kFull);
  const int32_t entry_ip = ip_;
  const int32_t entry_fp = fp_;
  const int32_t entry_length = stack_.Length();
  ++depth_;
  ++activations_;
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
// Fused forms. The compiled code spells every frame access, global access,
// call and branch as a constant followed by the instruction that takes it
// (loadc -12 load; loadc 4 swap store; loadcon g gload; loadcon r call ...).
// Such a sequence runs as one step, saving dispatches and the stack traffic
// of the constant. Which byte starts which form is decided when the image is
// loaded, in the dispatch map beside the area (DispatchByte), so the loop
// pays no test for it; the loop dispatches on the map and reads operands
// from the area. Every write into the area (gstore) marks the map bytes
// around the written ones for a recheck on their next dispatch, so code
// that rewrites itself runs as written.
// A form runs fused only where its parts could not fail differently from the
// sequence (room for the constant, the operands present); otherwise its
// first instruction runs on its own. The fused forms leave the same words
// behind in the buffer above the top as the separate instructions would,
// since a longer SetLength uncovers them. The counting loop dispatches on
// the area itself and executes every instruction on its own, so that it
// counts each one.

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
  // The dispatch map's distance from the area.
  const size_t map_offset = static_cast<size_t>(area_length_) + kImagePadding;
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
// After an event: a nested activation may have left any of the state
// behind (see above); an event that ran none changed only the stack.
#define LOAD_AFTER_EVENT(activations)              \
  do {                                             \
    if (activations_ == (activations)) {           \
      sb = stack_.buffer_.get();                   \
      top = sb + stack_.length_;                   \
      limit = sb + stack_.capacity_;               \
    } else {                                       \
      LOAD_STATE();                                \
    }                                              \
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
// After a word was written into the area at address.
#define CODE_WRITTEN(address) MarkForRecheck(code + map_offset, (address))
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
  if (ROOM(4)) {                                 \
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
  if (ROOM(4) && HAS(4)) {                                                \
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
      CODE_WRITTEN(value);                                                \
    }                                                                     \
    pc = (after) + 2;                                                     \
    NEXT;                                                                 \
  }
#define FUSE_GLOAD(value, after)                                          \
  if (ROOM(4)) {                                 \
    WriteWord(top, (value));                                              \
    if (!GLOBAL_OK(value)) ThrowProcessor(EVkProcessor::kBadGlobalRead);  \
    WriteWord(top, ReadWord(code + (value)));                             \
    top += 4;                                                             \
    pc = (after) + 1;                                                     \
    NEXT;                                                                 \
  }
#define FUSE_CALL(value, after)                                           \
  if (ROOM(8)) {                                  \
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
  if (ROOM(4) && HAS(4)) {                                                \
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
  if (ROOM(4) && HAS(4)) {                                                \
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
  if (ROOM(4) && HAS(4)) {                                                \
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
  (void)(after);                                                          \
  if (ROOM(4)) {                                  \
    WriteWord(top, (value));                                              \
    SPEND_BUDGET();                                                       \
    JUMP_TO(value);                                                       \
    NEXT;                                                                 \
  }

// The next dispatch byte, and pc past it. The counting loop reads the area
// itself and never reaches a fused form.
#define FETCH() (kCounting ? CountedOpcode(*pc++) : (++pc)[map_offset - 1])
  constexpr auto CountedOpcode = [](uint8_t byte) -> uint8_t { return byte < kOpcodeCount ? byte : kPaddingByte; };

#if VORK_VM_COMPUTED_GOTO
#define R8(x) x, x, x, x, x, x, x, x
#define R64(x) R8(x), R8(x), R8(x), R8(x), R8(x), R8(x), R8(x), R8(x)
#define VORK_OPCODE_LABEL(number, Name, name, immediate, pops, pushes) &&op_##Name,
  static const void* const kDispatch[256] = {
      VORK_OPCODES(VORK_OPCODE_LABEL)
      &&fused_LoadConGLoad, &&fused_LoadConCall, &&fused_LoadConBranch, &&fused_LoadConSwapStore,
      &&fused_LoadConJump, &&fused_LoadCLoad, &&fused_LoadCArithmetic, &&fused_LoadCCompareBranch,
      &&fused_LoadCSwapStore, &&fused_OneArithmetic, &&fused_MinusOneArithmetic,
      &&fused_LoadCLoadUnitAdd, &&fused_LoadCLoadUnitSub, &&fused_LoadCLoadConstantAdd,
      &&fused_LoadCLoadConstantSub, &&fused_OneZero, &&fused_LoadCStoreReturnVal,
      &&fused_LoadCLoadLtBranch, &&fused_LoadCLoadLeBranch, &&fused_LoadCLoadEqBranch,
      &&fused_LoadCLoadNeBranch, &&fused_LoadCLoadGeBranch, &&fused_LoadCLoadGtBranch,
      &&fused_AddStoreReturnVal, &&fused_LoadConCreateFromConstant, &&fused_LoadConGLoadMethod,
      &&fused_MinusOneSwapMethod, &&fused_DupeSendToGlobal, &&fused_Recheck,
      R64(&&op_invalid), R64(&&op_invalid), R8(&&op_invalid), R8(&&op_invalid), R8(&&op_invalid),
      R8(&&op_invalid), R8(&&op_invalid), R8(&&op_invalid), R8(&&op_invalid),
      &&op_invalid};
  static_assert(kRecheck == kOpcodeCount + 28);
  static_assert(sizeof(kDispatch) / sizeof(kDispatch[0]) == 256);
#undef VORK_OPCODE_LABEL
#undef R64
#undef R8
#define COUNT_INSTRUCTION() \
  if constexpr (kCounting) ++count
#define DISPATCH_BEGIN NEXT;
#define DISPATCH_END
#define CASE(Name) op_##Name:
#define CASE_FUSED(Name) fused_##Name:
#define CASE_INVALID op_invalid:
#define NEXT                     \
  do {                           \
    COUNT_INSTRUCTION();         \
    goto* kDispatch[FETCH()];    \
  } while (0)
#else
#define DISPATCH_BEGIN          \
  for (;;) {                    \
    if constexpr (kCounting) ++count; \
    switch (FETCH()) {
#define DISPATCH_END \
  }                  \
  }
#define CASE(Name) case static_cast<int>(Opcode::Name):
#define CASE_FUSED(Name) case k##Name:
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
  return_value:
    const int64_t frame = fp;
    int32_t return_ip;
    int64_t length;
    // The result goes into the lowest word of the frame before the saved
    // frame pointer is read: with a damaged count the two can coincide.
    // An intact frame (all four words on the stack, the new length inside
    // the old one) needs one check instead of one per word.
    if (frame >= 8 && frame + 8 <= LENGTH() &&
        (length = frame - 4 - 4 * int64_t{ReadWord(sb + frame)}) >= 4 && length <= LENGTH()) {
      return_ip = ReadWord(sb + frame - 8);
      WriteWord(sb + length - 4, ReadWord(sb + frame + 4));
      fp = ReadWord(sb + frame - 4);
      top = sb + length;
    } else {
      return_ip = PEEK(frame - 8);
      const int32_t arguments = PEEK(frame);
      length = frame - 4 - 4 * int64_t{arguments};
      POKE(length - 4, PEEK(frame + 4));
      fp = PEEK(frame - 4);
      SET_LENGTH(length);
    }
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
  CASE_FUSED(DupeSendToGlobal) {
    // pc is at the message's instruction: one byte, or loadc and its operand.
    if (ROOM(12) && HAS(4)) {
      const bool loadc = pc[0] == OP(LoadC);
      // zero, one and minusone are consecutive opcodes; the mask keeps the
      // look-up inside the table whatever the byte.
      static constexpr int8_t kWordOf[] = {0, 1, -1, 0};
      static_assert(OP(One) == OP(Zero) + 1 && OP(MinusOne) == OP(Zero) + 2);
      const int32_t message = static_cast<int8_t>(loadc ? pc[1] : kWordOf[(pc[0] - OP(Zero)) & 3]);
      const uint8_t* const global = pc + 1 + (loadc ? 1 : 0) + 1;  // loadcon's operand
      const int32_t address = ReadWord(global);
      // The words dupe, the message and loadcon push, as they would leave
      // them if gload faults.
      WriteWord(top, TOP(1));
      WriteWord(top + 4, message);
      WriteWord(top + 8, address);
      if (!GLOBAL_OK(address)) ThrowProcessor(EVkProcessor::kBadGlobalRead);
      WriteWord(top + 8, ReadWord(code + address));
      top += 12;
      pc = global + 6;
      goto method;
    }
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
#define PUSH_LOADCON()             \
  do {                             \
    const int32_t value_ = ReadWord(pc); \
    pc += 4;                       \
    PUSH(value_);                  \
    NEXT;                          \
  } while (0)
#define PUSH_LOADC()                                      \
  do {                                                    \
    const int32_t value_ = static_cast<int8_t>(*pc);      \
    ++pc;                                                 \
    PUSH(value_);                                         \
    NEXT;                                                 \
  } while (0)
// A fused form: the constant, the address after it, then the fusion, else
// the constant alone.
#define FUSED_LOADCON(FUSE)                  \
  do {                                       \
    const int32_t value = ReadWord(pc);      \
    const uint8_t* const after = pc + 4;     \
    FUSE(value, after)                       \
    PUSH_LOADCON();                          \
  } while (0)
#define FUSED_LOADC(FUSE)                               \
  do {                                                  \
    const int32_t value = static_cast<int8_t>(*pc);     \
    const uint8_t* const after = pc + 1;                \
    FUSE(value, after)                                  \
    PUSH_LOADC();                                       \
  } while (0)
  CASE(LoadCon) { PUSH_LOADCON(); }
  CASE_FUSED(LoadConGLoad) { FUSED_LOADCON(FUSE_GLOAD); }
  CASE_FUSED(LoadConGLoadMethod) {
    // The global's word pushed as the fused "loadcon g, gload" pushes it, then method.
    const int32_t value = ReadWord(pc);
    if (ROOM(4)) {
      WriteWord(top, value);
      if (!GLOBAL_OK(value)) ThrowProcessor(EVkProcessor::kBadGlobalRead);
      WriteWord(top, ReadWord(code + value));
      top += 4;
      pc += 6;
      goto method;
    }
    PUSH_LOADCON();
  }
  CASE_FUSED(LoadConCall) { FUSED_LOADCON(FUSE_CALL); }
  CASE_FUSED(LoadConBranch) { FUSED_LOADCON(FUSE_BRANCH); }
  CASE_FUSED(LoadConSwapStore) { FUSED_LOADCON(FUSE_SWAP_STORE); }
  CASE_FUSED(LoadConJump) { FUSED_LOADCON(FUSE_JUMP); }
  CASE(Zero) { PUSH(0); NEXT; }
  CASE(One) { PUSH(1); NEXT; }
  CASE_FUSED(OneZero) {
    if (ROOM(8)) {
      WriteWord(top, 1);
      WriteWord(top + 4, 0);
      top += 8;
      ++pc;
      NEXT;
    }
    PUSH(1);
    NEXT;
  }
  CASE_FUSED(OneArithmetic) {
    FUSE_ARITHMETIC(1, pc)
    PUSH(1);
    NEXT;
  }
  CASE(MinusOne) { PUSH(-1); NEXT; }
  CASE_FUSED(MinusOneSwapMethod) {
    // The handle on top and the message -1 as swap leaves them, then method.
    if (ROOM(4) && HAS(4)) {
      WriteWord(top, TOP(1));
      SET_TOP(1, -1);
      top += 4;
      pc += 2;
      goto method;
    }
    PUSH(-1);
    NEXT;
  }
  CASE_FUSED(MinusOneArithmetic) {
    FUSE_ARITHMETIC(-1, pc)
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
    CODE_WRITTEN(address);
    NEXT;
  }
  CASE(CreateObj) {
    // Leaves the loop: the object's initialisation may run bytecode.
    NEED(4);
    top -= 4;
    const int32_t class_index = ReadWord(top);
    if (object_events_ == nullptr) ThrowUnbound("createobj");
    SAVE_STATE();
    const uint64_t activations = activations_;
    const int32_t handle = object_events_->CreateObjectEvent(class_index);
    if (halted_) return;
    LOAD_AFTER_EVENT(activations);
    PUSH(handle);
    NEXT;
  }
  CASE(Method) {
    // Leaves the loop: the handler pops and pushes on the stack and may run
    // bytecode.
  method:
    NEED(8);
    const int32_t handle = TOP(1);
    const int32_t message = TOP(2);
    top -= 8;
    if (object_events_ == nullptr) ThrowUnbound("method");
    // The counting loop sends every message the ordinary way, so that tests
    // can hold the direct replies against it.
    if (!kCounting && HAS(4)) {
      // A fault here leaves through the catch below, as from any instruction.
      const TVkObjectEvents::DirectReply reply = object_events_->DirectMessageEvent(handle, message, TOP(1));
      switch (reply.outcome) {
        case TVkObjectEvents::DirectReply::kTookNothing:
          NEXT;
        case TVkObjectEvents::DirectReply::kTookArgument:
          top -= 4;
          NEXT;
        case TVkObjectEvents::DirectReply::kReplacedArgument:
          SET_TOP(1, reply.word);
          NEXT;
        case TVkObjectEvents::DirectReply::kDeclined:
          break;
      }
    }
    SAVE_STATE();
    const uint64_t activations = activations_;
    object_events_->SendMessageEvent(handle, message);
    if (halted_) return;
    LOAD_AFTER_EVENT(activations);
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
    const uint64_t activations = activations_;
    object_events_->SendMessageEvent(handle, message);
    if (halted_) return;
    LOAD_AFTER_EVENT(activations);
    PUSH(handle);
    NEXT;
  }
  CASE(LoadC) { PUSH_LOADC(); }
  CASE_FUSED(LoadCLoad) { FUSED_LOADC(FUSE_LOAD); }
// A frame word plus or minus a constant: loadc o, load, the constant (one
// or minusone, or loadc c), then add or sub; length counts the bytes after
// the first opcode. The constant stays behind above the new top, as the
// separate pushes leave it.
#define FRAME_ARITHMETIC(constant_expression, length, operation) \
  if (ROOM(8)) {                                                   \
    const int32_t offset_ = static_cast<int8_t>(*pc);              \
    WriteWord(top, offset_);                                       \
    const int32_t left_ = PEEK(int64_t{fp} + offset_);             \
    const int32_t constant_ = (constant_expression);               \
    WriteWord(top + 4, constant_);                                 \
    WriteWord(top, WRAP(U(left_) operation U(constant_)));         \
    top += 4;                                                      \
    pc += (length);                                                \
    NEXT;                                                          \
  }                                                                \
  FUSED_LOADC(FUSE_LOAD)
  // one (32) gives 1, minusone (33) gives -1, without a branch.
  static_assert(OP(MinusOne) == OP(One) + 1);
#define UNIT_CONSTANT (2 * OP(One) + 1 - 2 * int32_t{pc[2]})
#define LOADC_CONSTANT static_cast<int8_t>(pc[3])
  CASE_FUSED(LoadCLoadUnitAdd) { FRAME_ARITHMETIC(UNIT_CONSTANT, 4, +); }
  CASE_FUSED(LoadCLoadUnitSub) { FRAME_ARITHMETIC(UNIT_CONSTANT, 4, -); }
  CASE_FUSED(LoadCLoadConstantAdd) { FRAME_ARITHMETIC(LOADC_CONSTANT, 5, +); }
  CASE_FUSED(LoadCLoadConstantSub) { FRAME_ARITHMETIC(LOADC_CONSTANT, 5, -); }
#undef UNIT_CONSTANT
#undef LOADC_CONSTANT
  CASE_FUSED(LoadCArithmetic) { FUSED_LOADC(FUSE_ARITHMETIC); }
  CASE_FUSED(LoadCCompareBranch) { FUSED_LOADC(FUSE_COMPARE_BRANCH); }
  CASE_FUSED(LoadCSwapStore) { FUSED_LOADC(FUSE_SWAP_STORE); }
// The test of an if or a loop on a frame word: loadc o, load, loadc c, the
// comparison, loadcon t, brfalse or brtrue. The comparison's answer and the
// target stay behind above the top, as the separate pushes leave them.
#define FRAME_COMPARE_BRANCH(relation)                                       \
  if (ROOM(8)) {                                                             \
    const int32_t offset_ = static_cast<int8_t>(pc[0]);                      \
    WriteWord(top, offset_);                                                 \
    const int32_t s = PEEK(int64_t{fp} + offset_);                           \
    const int32_t answer_ = s relation int32_t{static_cast<int8_t>(pc[3])} ? 1 : 0; \
    const int32_t branch_target_ = ReadWord(pc + 6);                         \
    WriteWord(top, answer_);                                                 \
    WriteWord(top + 4, branch_target_);                                      \
    const bool branch_if_zero_ = pc[10] == OP(BrFalse);                      \
    pc += 11;                                                                \
    if ((answer_ == 0) == branch_if_zero_) {                                 \
      SPEND_BUDGET();                                                        \
      JUMP_TO(branch_target_);                                               \
    }                                                                        \
    NEXT;                                                                    \
  }                                                                          \
  FUSED_LOADC(FUSE_LOAD)
  CASE_FUSED(LoadCLoadLtBranch) { FRAME_COMPARE_BRANCH(<); }
  CASE_FUSED(LoadCLoadLeBranch) { FRAME_COMPARE_BRANCH(<=); }
  CASE_FUSED(LoadCLoadEqBranch) { FRAME_COMPARE_BRANCH(==); }
  CASE_FUSED(LoadCLoadNeBranch) { FRAME_COMPARE_BRANCH(!=); }
  CASE_FUSED(LoadCLoadGeBranch) { FRAME_COMPARE_BRANCH(>=); }
  CASE_FUSED(LoadCLoadGtBranch) { FRAME_COMPARE_BRANCH(>); }
  CASE_FUSED(AddStoreReturnVal) {
    BINARY(WRAP(U(s) + U(t)));
    ++pc;  // to the operand of loadc, where the next form expects it
    goto store_return_value;
  }
  CASE_FUSED(LoadCStoreReturnVal) {
    // The store as the fused "loadc o swap store", then returnval.
  store_return_value:
    if (ROOM(4) && HAS(4)) {
      const int32_t offset = static_cast<int8_t>(*pc);
      const int32_t stored = TOP(1);
      SET_TOP(1, offset);
      WriteWord(top, stored);
      top -= 4;
      POKE(int64_t{fp} + offset, stored);
      pc += 4;
      goto return_value;
    }
    FUSED_LOADC(FUSE_SWAP_STORE);
  }
  CASE_FUSED(LoadConCreateFromConstant) {
    // pc is at the constant; one, zero, createobj and method2 follow it.
    if (ROOM(12) && object_events_ != nullptr) {
      const int32_t constant = ReadWord(pc);
      WriteWord(top, constant);
      WriteWord(top + 4, 1);
      // Leaves the loop where createobj would, with the constant and the
      // message pushed (out of line, so that the loop keeps its registers
      // for the other instructions).
      const int32_t handle =
          CreateFromConstant(constant, static_cast<int32_t>(pc + 7 - code), fp, LENGTH() + 8, budget);
      if (handle != 0) {
        // What the five instructions leave: the handle, and above it the
        // message and the handle that method2 popped.
        WriteWord(top, handle);
        WriteWord(top + 4, 1);
        WriteWord(top + 8, handle);
        top += 4;
        pc += 8;
        NEXT;
      }
    }
    PUSH_LOADCON();
  }
  CASE_FUSED(Recheck) {
    // Decided now and kept until the next write nearby, then dispatched again.
    --pc;
    code[map_offset + static_cast<size_t>(pc - code)] = DispatchByte(pc);
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
#undef FRAME_ARITHMETIC
#undef FRAME_COMPARE_BRANCH
#undef CODE_WRITTEN
#undef FETCH
#undef PUSH_LOADCON
#undef PUSH_LOADC
#undef FUSED_LOADCON
#undef FUSED_LOADC
#undef CASE_FUSED
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
