#pragma once
// The four byte-scrambling methods of resource archives. Each works on bytes
// whose first byte lies at absolute file position `position`:
//   0  bytes stored as they are;
//   1  every byte XOR one key byte;
//   2  byte XOR (P mod 239) XOR K[P mod 251], K a table of 251 key bytes;
//   3  substitution through a 256-byte permutation (its inverse to read).
// The key byte, the table and the permutation are fixed in scrambling.cpp;
// every archive ever written depends on them.

#include <cstddef>
#include <cstdint>

namespace vork {

constexpr int kHighestScramblingMethod = 3;

// Methods above kHighestScramblingMethod are the caller's error to catch.
void Scramble(int method, unsigned char* bytes, size_t count, int64_t position);
void Descramble(int method, unsigned char* bytes, size_t count, int64_t position);

}  // namespace vork
