#include "vm/value_stack.h"

#include <algorithm>
#include <cstring>

#include "vm/fatal_check.h"

namespace vork {

TVkStack::TVkStack(int32_t initial_capacity, int32_t maximum, int32_t growth_delta)
    : growth_delta_(growth_delta), maximum_(maximum) {
  FatalCheck(initial_capacity >= 0);
  FatalCheck(maximum >= initial_capacity);
  FatalCheck(growth_delta >= 0);
  SetCapacity(initial_capacity);
}

void TVkStack::GrowFor(int64_t needed) {
  if (needed <= capacity_) return;
  if (needed > maximum_) throw EVkStack(EVkStack::kFull);
  SetCapacity(static_cast<int32_t>(std::min<int64_t>(needed + growth_delta_, maximum_)));
}

void TVkStack::SetCapacity(int32_t capacity) {
  FatalCheck(capacity >= capacity_ && capacity <= maximum_);
  if (capacity == capacity_ && buffer_) return;
  // Zero-filled, so that words a longer SetLength uncovers are defined.
  auto grown = std::make_unique<uint8_t[]>(static_cast<size_t>(capacity));
  if (buffer_) std::memcpy(grown.get(), buffer_.get(), static_cast<size_t>(capacity_));
  buffer_ = std::move(grown);
  capacity_ = capacity;
}

void TVkStack::SetLength(int32_t length) {
  if (length < 0) throw EVkStack(EVkStack::kUnderflow);
  GrowFor(length);
  length_ = length;
}

void TVkStack::PushZeros(int32_t n) {
  FatalCheck(n >= 0);
  const int64_t needed = int64_t{length_} + int64_t{n} * 4;
  GrowFor(needed);
  std::memset(buffer_.get() + length_, 0, static_cast<size_t>(n) * 4);
  length_ = static_cast<int32_t>(needed);
}

}  // namespace vork
