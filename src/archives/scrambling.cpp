#include "archives/scrambling.h"

#include <array>
#include <cstring>

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

// Method 2 XORs each byte with two keys: its position's counter (P mod 239)
// and K[P mod 251]. Each is laid out once more past its period, by one
// round of blocks, so that the keys of a round starting anywhere in the
// period are plain unaligned loads. Both tables stay in the nearest cache, so descrambling
// reads and writes little more than the bytes themselves.
using KeyBlock = unsigned char __attribute__((vector_size(64)));
constexpr size_t kKeysPerRound = 4 * sizeof(KeyBlock);

template <size_t kPeriod>
struct RepeatedKeys {
  alignas(64) unsigned char bytes[kPeriod + kKeysPerRound];
};

constexpr RepeatedKeys<kCounterPeriod> MakeCounterKeys() {
  RepeatedKeys<kCounterPeriod> keys{};
  for (size_t i = 0; i < sizeof keys.bytes; ++i) keys.bytes[i] = static_cast<unsigned char>(i % kCounterPeriod);
  return keys;
}

constexpr RepeatedKeys<kTableLength> MakeTableKeys() {
  RepeatedKeys<kTableLength> keys{};
  for (size_t i = 0; i < sizeof keys.bytes; ++i) keys.bytes[i] = kKeys.table[i % kTableLength];
  return keys;
}

constexpr RepeatedKeys<kCounterPeriod> kCounterKeys = MakeCounterKeys();
constexpr RepeatedKeys<kTableLength> kTableKeys = MakeTableKeys();

// This loop is the whole cost of reading a scrambled resource, so it is also
// compiled for the wider vector units and the loader picks the widest the
// processor has; every path produces the same bytes.
__attribute__((target_clones("avx512f", "avx2", "default")))
void XorKeys(unsigned char* bytes, size_t count, int64_t position) {
  const auto at = static_cast<uint64_t>(position);
  size_t counter = at % kCounterPeriod;
  size_t table = at % kTableLength;
  size_t i = 0;
  for (; i + kKeysPerRound <= count; i += kKeysPerRound) {
    for (size_t k = 0; k < kKeysPerRound; k += sizeof(KeyBlock)) {
      KeyBlock data, counter_keys, table_keys;
      std::memcpy(&data, bytes + i + k, sizeof data);
      std::memcpy(&counter_keys, kCounterKeys.bytes + counter + k, sizeof counter_keys);
      std::memcpy(&table_keys, kTableKeys.bytes + table + k, sizeof table_keys);
      data ^= counter_keys ^ table_keys;
      std::memcpy(bytes + i + k, &data, sizeof data);
    }
    counter = (counter + kKeysPerRound) % kCounterPeriod;
    table = (table + kKeysPerRound) % kTableLength;
  }
  for (; i < count; ++i) {
    bytes[i] ^= static_cast<unsigned char>(kCounterKeys.bytes[counter] ^ kTableKeys.bytes[table]);
    counter = counter + 1 == kCounterPeriod ? 0 : counter + 1;
    table = table + 1 == kTableLength ? 0 : table + 1;
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
    case 2: XorKeys(bytes, count, position); break;
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
