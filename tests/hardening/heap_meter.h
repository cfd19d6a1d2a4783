#pragma once
// The hardening tests replace the program's operator new and delete: every
// allocation on the calling thread is counted, so a test can read the peak
// heap a reader reached, and can make the n-th allocation from now fail as
// if memory had run out. Other threads (Qt's, SDL's) are counted apart and
// never fail.

#include <cstddef>
#include <cstdint>

namespace vork::testing {

// The highest live heap of this thread since construction, above what was
// live then.
class PeakHeap {
 public:
  PeakHeap();
  ~PeakHeap();
  PeakHeap(const PeakHeap&) = delete;
  PeakHeap& operator=(const PeakHeap&) = delete;
  std::int64_t Bytes() const;

 private:
  std::int64_t start_;
  std::int64_t outer_peak_;
};

// Makes the n-th allocation of this thread from now (1 is the next) throw
// std::bad_alloc, once; allocations that Qt's libraries ask for themselves
// are not counted. 0 disarms it.
void FailAllocation(std::int64_t n);
// Whether the armed failure has happened.
bool AllocationFailed();
// Allocations made by this thread so far.
std::int64_t AllocationCount();

}  // namespace vork::testing
