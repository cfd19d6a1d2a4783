#pragma once
// A test hook for the failure paths of file input and output: once armed,
// the n-th file read or write from then on fails as a damaged disk would
// (EIO). Off unless a test arms it, and then for its own thread only.

#include <cstdint>

namespace vork {

// Makes the n-th file operation of this thread from now (1 is the next)
// fail, once; 0 disarms. Answers how many operations the failure armed
// before was still away (0: it has happened, or none was armed).
int64_t FailFileOperation(int64_t n);

// Counts one file operation of the calling thread; true, with errno set to
// EIO, when it is the one that must fail.
bool FileOperationFails();

}  // namespace vork
