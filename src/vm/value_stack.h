#pragma once
// TVkStack: the one value stack of the machine. Operands, call frames,
// arguments and locals of the processor live on it, and every message
// handler pops its arguments from it and pushes its result onto it.
//
// Positions are byte offsets from the bottom. The buffer grows by a fixed
// delta (not by doubling) up to a hard maximum, which bounds what runaway
// bytecode can take. A failing call leaves length and contents unchanged.

#include <cstdint>
#include <memory>
#include <optional>

#include "vm/machine_errors.h"
#include "vm/word_io.h"

namespace vork {

class TVkStack {
 public:
  // The player's stack: 8,192 words at first, at most 262,144.
  static constexpr int32_t kInitialCapacity = 32768;
  static constexpr int32_t kMaximum = 1048576;
  static constexpr int32_t kGrowthDelta = 32768;

  // Negative sizes, or a maximum below the initial capacity, fail a fatal check.
  TVkStack(int32_t initial_capacity = kInitialCapacity, int32_t maximum = kMaximum,
           int32_t growth_delta = kGrowthDelta);
  TVkStack(const TVkStack&) = delete;
  TVkStack& operator=(const TVkStack&) = delete;

  void Push(int32_t word) {
    if (length_ > capacity_ - 4) GrowFor(int64_t{length_} + 4);
    WriteWord(buffer_.get() + length_, word);
    length_ += 4;
  }

  int32_t Pop() {
    if (length_ < 4) throw EVkStack(EVkStack::kUnderflow);
    length_ -= 4;
    return ReadWord(buffer_.get() + length_);
  }

  int32_t Peek(int32_t offset) const {
    if (!Holds(offset)) throw EVkStack(EVkStack::kBadPeek);
    return ReadWord(buffer_.get() + offset);
  }

  void Poke(int32_t offset, int32_t word) {
    if (!Holds(offset)) throw EVkStack(EVkStack::kBadPoke);
    WriteWord(buffer_.get() + offset, word);
  }

  // Words uncovered by a longer length keep what the buffer held.
  void SetLength(int32_t length);
  // n zeros; a negative n fails a fatal check.
  void PushZeros(int32_t n);

  int32_t Length() const { return length_; }
  int32_t Capacity() const { return capacity_; }
  int32_t Maximum() const { return maximum_; }

  // A word anywhere in the buffer, also above the length: a fault inside the
  // processor's loop leaves the frames it was running there (the loop keeps
  // its stack top to itself). Nothing outside the buffer.
  std::optional<int32_t> WordInBuffer(int32_t offset) const {
    if (offset < 0 || int64_t{offset} + 4 > capacity_) return std::nullopt;
    return ReadWord(buffer_.get() + offset);
  }

 private:
  friend class TVkProcessor;  // keeps the stack top in locals on its hot path

  bool Holds(int32_t offset) const {
    return offset >= 0 && int64_t{offset} + 4 <= length_;
  }
  // Makes room for needed bytes: EVkStack code 0 beyond the maximum.
  void GrowFor(int64_t needed);
  void SetCapacity(int32_t capacity);

  std::unique_ptr<uint8_t[]> buffer_;
  int32_t capacity_ = 0;
  int32_t growth_delta_;
  int32_t maximum_;
  int32_t length_ = 0;
};

}  // namespace vork
