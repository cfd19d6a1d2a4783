#pragma once
// TVkProcessor: the interpreter of the 42-opcode bytecode on the value stack.
//
// It knows nothing about script objects: createobj and method/method2 call
// out through the object events (TVkObjectEvents, bound by the object
// manager), stop through the stop event (bound by the director). Run may be entered again from inside those events (a
// message handler that runs an event routine); a bytecode call, however,
// stays inside the running loop and takes no native stack, so recursion is
// bounded by the value stack alone.
//
// Frame of an activation, relative to the frame pointer fp (byte offsets on
// the value stack): arguments at fp-12, fp-16, ... (the last pushed at
// fp-12), the saved instruction pointer at fp-8, the saved frame pointer at
// fp-4, the argument count at fp+0, the result local at fp+4, further locals
// and the operands above.
//
// Faults are EVkStack and EVkProcessor (codes in machine_errors.h). A native
// Run that a fault leaves restores the instruction pointer, frame pointer and
// stack length it found on entry before the exception travels on, so that an
// activation interrupted by the faulting one resumes correctly once the
// fault has been caught at an event boundary.

#include <bit>
#include <cstdint>
#include <cstring>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "vm/value_stack.h"

namespace vork {

// The far end of createobj and method/method2 as one interface, for the
// object manager: a plain virtual call where a std::function would add a
// second indirect call to every message.
class TVkObjectEvents {
 public:
  virtual int32_t CreateObjectEvent(int32_t class_index) = 0;
  virtual void SendMessageEvent(int32_t handle, int32_t message) = 0;
  // "loadcon c, one, zero, createobj, method2", the way a string literal is
  // made, in one step: a new object of class 0 that has taken message 1 with
  // the argument c, whose handle the processor then pushes. 0 declines (the
  // target would have to run bytecode or show something): the processor then
  // runs the five instructions one by one through the two events above.
  virtual int32_t CreateFromConstantEvent(int32_t constant) {
    (void)constant;
    return 0;
  }

  // What became of a message offered to DirectMessageEvent.
  struct DirectReply {
    enum Outcome : int32_t {
      kDeclined,         // not taken: the processor sends it the ordinary way
      kTookNothing,      // handled without an argument
      kTookArgument,     // handled; the argument word is popped
      kReplacedArgument  // handled; the argument word is popped and word pushed
    };
    Outcome outcome = kDeclined;
    int32_t word = 0;
  };
  // A message whose handler needs at most one argument, runs no bytecode and
  // touches neither the stack nor the processor, taken without leaving the
  // loop (string messages to built-in strings): argument is the word under
  // the handle and the message, which the handler would pop. It may throw
  // as the handler would.
  virtual DirectReply DirectMessageEvent(int32_t handle, int32_t message, int32_t argument) {
    (void)handle;
    (void)message;
    (void)argument;
    return {};
  }

 protected:
  ~TVkObjectEvents() = default;
};

class TVkProcessor {
 public:
  // The event carries the processor so that one handler can serve several.
  using StopEvent = std::function<void(TVkProcessor&)>;

  // Native nesting of Run (event routines run from message handlers) is
  // capped well below what the native stack holds; deeper nesting is runaway
  // re-entrance and raises EVkStack code 0 like a full value stack.
  static constexpr int kMaxNativeDepth = 256;

  // Also performs the opcode-name self-check once per program.
  explicit TVkProcessor(TVkStack& stack);
  TVkProcessor(const TVkProcessor&) = delete;
  TVkProcessor& operator=(const TVkProcessor&) = delete;

  // Copies area as the code-and-data area, replacing any earlier image. Not
  // allowed while an activation runs.
  void LoadImage(std::span<const uint8_t> area);

  // Runs the routine at entry as a new activation and returns when it ends.
  void Run(int32_t entry);

  // Image base + offset, unchecked (the compiled code's own offsets).
  uint8_t* CodePointer(int32_t offset) { return image_.data() + offset; }
  // The NUL-terminated string constant at offset. A damaged image cannot make
  // it read outside the area: an offset outside gives "", a constant without
  // NUL ends at the end of the area.
  std::string StringConstant(int32_t offset) const { return std::string(ConstantText(offset)); }
  // The same constant without a copy; valid until the next LoadImage.
  std::string_view ConstantText(int32_t offset) const {
    if (offset < 0 || offset >= area_length_) return {};
    const uint8_t* const begin = image_.data() + offset;
    const auto available = static_cast<size_t>(area_length_ - offset);
    const size_t length = TextLength(begin, available);
    return std::string_view(reinterpret_cast<const char*>(begin), length < available ? length : available);
  }
  int32_t AreaLength() const { return area_length_; }

  // Binds both object events to target (not owned; it must outlive its
  // binding), replacing an earlier target; null unbinds them.
  void SetObjectEvents(TVkObjectEvents* target) { object_events_ = target; }
  // Replaces an earlier stop handler.
  void SetOnStop(StopEvent handler) { on_stop_ = std::move(handler); }
  // Called from inside the catch handler of every Run that a fault leaves,
  // innermost first, while InstructionPointer(), FramePointer() and the
  // stack are still those of the faulting instruction (for saying where).
  void SetOnFault(StopEvent handler) { on_fault_ = std::move(handler); }

  // Releases the processor from the course (typically called by the stop
  // event): every active Run returns as soon as control comes back to it,
  // without executing another instruction, and Run does nothing until the
  // next LoadImage. The owner frees the machine once IsInUse() is false.
  void Halt() { halted_ = true; }
  bool IsHalted() const { return halted_; }
  // Native Run activations in progress.
  int Depth() const { return depth_; }
  bool IsRunning() const { return depth_ > 0; }

  // Native code that holds on to the machine between routines (an event
  // that runs several routines and pumps events between them, as a scene
  // change does) keeps it in use: the owner must not free the machine until
  // IsInUse() is false, even while no routine runs.
  class InUse {
   public:
    explicit InUse(TVkProcessor& processor) : processor_(processor) { ++processor_.users_; }
    ~InUse() { --processor_.users_; }
    InUse(const InUse&) = delete;
    InUse& operator=(const InUse&) = delete;

   private:
    TVkProcessor& processor_;
  };
  bool IsInUse() const { return depth_ > 0 || users_ > 0; }

  // Jumps taken and calls made before EVkProcessor code 13 ends the run;
  // for harnesses that run untrusted images (the fuzzer). Unlimited by default.
  void SetInstructionBudget(int64_t jumps_and_calls) {
    budget_ = jumps_and_calls;
    ++activations_;  // the running loop takes the new budget after its event
  }
  // Counting every executed instruction runs a separately compiled loop, so
  // that the ordinary loop pays nothing for it.
  void SetCounting(bool counting) { counting_ = counting; }
  uint64_t InstructionCount() const { return instruction_count_; }

  int32_t InstructionPointer() const { return ip_; }
  int32_t FramePointer() const { return fp_; }
  TVkStack& Stack() { return stack_; }

 private:
  template <bool kCounting>
  void Execute();
  // The length of the NUL-terminated text at begin, or at least available
  // when none of its first available bytes is NUL. Eight bytes at a time (a
  // literal is made in every round of a string loop): the padding after the
  // area holds no NUL and covers the last read.
  static size_t TextLength(const uint8_t* begin, size_t available) {
    static_assert(std::endian::native == std::endian::little);
    constexpr uint64_t kLow = 0x0101010101010101;
    constexpr uint64_t kHigh = 0x8080808080808080;
    for (size_t length = 0;; length += 8) {
      uint64_t word;
      std::memcpy(&word, begin + length, 8);
      // The lowest flagged byte is the first zero (little-endian).
      if (const uint64_t zero = (word - kLow) & ~word & kHigh; zero != 0)
        return length + static_cast<size_t>(std::countr_zero(zero)) / 8;
      if (length + 8 >= available) return available;
    }
  }
  // The one-step string literal's event, with the state saved as createobj saves it.
  [[gnu::noinline]] int32_t CreateFromConstant(int32_t constant, int32_t ip, int32_t fp, int32_t length,
                                               int64_t budget);

  std::vector<uint8_t> image_;  // the area, then kImagePadding bytes of 0xFF
  int32_t area_length_ = 0;
  int32_t fp_ = 0;
  TVkObjectEvents* object_events_ = nullptr;
  StopEvent on_stop_;
  StopEvent on_fault_;
  int32_t ip_ = 0;
  TVkStack& stack_;
  int depth_ = 0;
  int users_ = 0;  // InUse guards alive
  bool halted_ = false;
  bool counting_ = false;
  int64_t budget_ = INT64_MAX;
  uint64_t instruction_count_ = 0;
  // Bumped by every Run (and a new budget): the loop compares it across an
  // event to know whether anything but the stack can have changed.
  uint64_t activations_ = 0;
};

}  // namespace vork
