#include "archives/scrambling.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

namespace vork {

namespace {

// The keys come from a fixed pseudo-random sequence so that they are written
// down once, as a seed, rather than as 500 literal bytes. Changing the seed or
// the generator makes every existing archive unreadable.
struct KeyGenerator {
  uint32_t state = 0x6B5A1D2Fu;
  constexpr uint32_t Next() {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
  }
};

constexpr unsigned char kMethod1Key = 0xA7;
constexpr size_t kTableLength = 251;  // the period of K
constexpr size_t kCounterPeriod = 239;  // the period of the position counter
// Method 2 repeats every 251 * 239 bytes; one pass over that period, built
// once, lets a read XOR straight from it instead of keeping two counters.
constexpr size_t kKeyStreamLength = kTableLength * kCounterPeriod;

struct Keys {
  std::array<unsigned char, kTableLength> table{};
  std::array<unsigned char, 256> permutation{};
  std::array<unsigned char, 256> inverse{};
  constexpr Keys() {
    KeyGenerator generator;
    for (auto& key : table) key = static_cast<unsigned char>(generator.Next() >> 24);
    for (size_t i = 0; i < 256; ++i) permutation[i] = static_cast<unsigned char>(i);
    for (size_t i = 255; i > 0; --i) {
      size_t j = generator.Next() % (i + 1);
      auto swap = permutation[i];
      permutation[i] = permutation[j];
      permutation[j] = swap;
    }
    for (size_t i = 0; i < 256; ++i) inverse[permutation[i]] = static_cast<unsigned char>(i);
  }
};

constexpr Keys kKeys;

const unsigned char* KeyStream() {
  static const auto stream = [] {
    auto bytes = std::make_unique<std::array<unsigned char, kKeyStreamLength>>();
    for (size_t i = 0; i < kKeyStreamLength; ++i)
      (*bytes)[i] = static_cast<unsigned char>((i % kCounterPeriod) ^ kKeys.table[i % kTableLength]);
    return bytes;
  }();
  return stream->data();
}

void XorKeyStream(unsigned char* bytes, size_t count, int64_t position) {
  // Sixteen-byte blocks, four at a time: this loop is the whole cost of
  // reading a scrambled resource.
  using Block = unsigned char __attribute__((vector_size(16)));
  const unsigned char* stream = KeyStream();
  size_t offset = static_cast<size_t>(static_cast<uint64_t>(position) % kKeyStreamLength);
  while (count > 0) {
    size_t run = std::min(count, kKeyStreamLength - offset);
    size_t i = 0;
    for (; i + 4 * sizeof(Block) <= run; i += 4 * sizeof(Block)) {
      Block data[4], key[4];
      std::memcpy(data, bytes + i, sizeof data);
      std::memcpy(key, stream + offset + i, sizeof key);
      for (int k = 0; k < 4; ++k) data[k] ^= key[k];
      std::memcpy(bytes + i, data, sizeof data);
    }
    for (; i < run; ++i) bytes[i] ^= stream[offset + i];
    bytes += run;
    count -= run;
    offset = 0;
  }
}

void Substitute(const std::array<unsigned char, 256>& map, unsigned char* bytes, size_t count) {
  for (size_t i = 0; i < count; ++i) bytes[i] = map[bytes[i]];
}

void XorByte(unsigned char* bytes, size_t count) {
  for (size_t i = 0; i < count; ++i) bytes[i] ^= kMethod1Key;
}

}  // namespace

void Scramble(int method, unsigned char* bytes, size_t count, int64_t position) {
  switch (method) {
    case 1: XorByte(bytes, count); break;
    case 2: XorKeyStream(bytes, count, position); break;
    case 3: Substitute(kKeys.permutation, bytes, count); break;
    default: break;
  }
}

void Descramble(int method, unsigned char* bytes, size_t count, int64_t position) {
  if (method == 3)
    Substitute(kKeys.inverse, bytes, count);
  else
    Scramble(method, bytes, count, position);
}

}  // namespace vork
