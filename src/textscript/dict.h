#pragma once
// TVkDict: a name -> value map over a THashList of 1001 buckets with the
// default hash and byte-wise order. The dictionary owns its values: removing
// a name or destroying the dictionary destroys the value. A dictionary that
// must not own what it maps holds pointers (TVkDict<T*>).

#include <cstdint>
#include <string_view>
#include <utility>

#include "textscript/hash_list.h"

namespace vork {

template <typename T>
class TVkDict {
 public:
  static constexpr int32_t kBucketCount = 1001;

  TVkDict() : list_(kBucketCount) {}

  // False, with nothing added, when the name is already present.
  bool Add(std::string_view name, T value) {
    if (list_.Find(name)) return false;
    list_.Add(name, std::move(value));
    return true;
  }
  // False when the name is absent.
  bool Remove(std::string_view name) {
    if (!list_.Find(name)) return false;
    list_.Remove(name);
    return true;
  }
  // The value under name, or null.
  T* Find(std::string_view name) { return list_.Find(name); }
  const T* Find(std::string_view name) const { return list_.Find(name); }

  int32_t Count() const { return list_.Count(); }
  void Clear() { list_.Clear(); }

 private:
  THashList<T> list_;
};

}  // namespace vork
