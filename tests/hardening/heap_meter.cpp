#include "heap_meter.h"

#include <dlfcn.h>

#include <cstdlib>
#include <cstring>
#include <new>

namespace vork::testing {

namespace {

// Each block carries its size in front, aligned as malloc aligns.
constexpr std::size_t kPrefix = alignof(std::max_align_t);

thread_local std::int64_t live = 0;
thread_local std::int64_t peak = 0;
thread_local std::int64_t count = 0;
thread_local std::int64_t fail_at = 0;  // the count that fails; 0 never
thread_local bool failed = false;

// Qt's own code is not written to survive a failed allocation (a widget
// half made is left in its parent's list), so the failures are injected only
// into allocations that Qt does not ask for itself.
bool AskedForByQt(const void* caller) {
  Dl_info info{};
  return ::dladdr(caller, &info) != 0 && info.dli_fname && std::strstr(info.dli_fname, "libQt");
}

void* Allocate(std::size_t size, const void* caller) {
  ++count;
  if (fail_at != 0 && AskedForByQt(caller)) ++fail_at;
  if (fail_at != 0 && count == fail_at) {
    fail_at = 0;
    failed = true;
    throw std::bad_alloc();
  }
  auto* block = static_cast<unsigned char*>(std::malloc(size + kPrefix));
  if (!block) throw std::bad_alloc();
  *reinterpret_cast<std::size_t*>(block) = size;
  live += static_cast<std::int64_t>(size);
  if (live > peak) peak = live;
  return block + kPrefix;
}

void Free(void* pointer) noexcept {
  if (!pointer) return;
  auto* block = static_cast<unsigned char*>(pointer) - kPrefix;
  live -= static_cast<std::int64_t>(*reinterpret_cast<std::size_t*>(block));
  std::free(block);
}

}  // namespace

PeakHeap::PeakHeap() : start_(live), outer_peak_(peak) { peak = live; }

PeakHeap::~PeakHeap() {
  if (outer_peak_ > peak) peak = outer_peak_;
}

std::int64_t PeakHeap::Bytes() const { return peak - start_; }

void FailAllocation(std::int64_t n) {
  fail_at = n == 0 ? 0 : count + n;
  failed = false;
}

bool AllocationFailed() { return failed; }

std::int64_t AllocationCount() { return count; }

}  // namespace vork::testing

void* operator new(std::size_t size) { return vork::testing::Allocate(size, __builtin_return_address(0)); }
void* operator new[](std::size_t size) { return vork::testing::Allocate(size, __builtin_return_address(0)); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return vork::testing::Allocate(size, __builtin_return_address(0));
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* pointer) noexcept { vork::testing::Free(pointer); }
void operator delete[](void* pointer) noexcept { vork::testing::Free(pointer); }
void operator delete(void* pointer, std::size_t) noexcept { vork::testing::Free(pointer); }
void operator delete[](void* pointer, std::size_t) noexcept { vork::testing::Free(pointer); }
void operator delete(void* pointer, const std::nothrow_t&) noexcept { vork::testing::Free(pointer); }
void operator delete[](void* pointer, const std::nothrow_t&) noexcept { vork::testing::Free(pointer); }
