#include "platform/fault_injection.h"

#include <cerrno>

namespace vork {

namespace {

thread_local int64_t countdown = 0;

}  // namespace

int64_t FailFileOperation(int64_t n) {
  const int64_t left = countdown;
  countdown = n;
  return left;
}

bool FileOperationFails() {
  if (countdown == 0 || --countdown != 0) return false;
  errno = EIO;
  return true;
}

}  // namespace vork
