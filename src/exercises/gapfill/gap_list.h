#pragma once
// TVkGapList: the gaps of one page in document order, owned.

#include <cstddef>
#include <memory>
#include <vector>

#include "exercises/gapfill/gap.h"

namespace vork {

class TVkGapList {
 public:
  TVkGapList() = default;
  TVkGapList(const TVkGapList&) = delete;
  TVkGapList& operator=(const TVkGapList&) = delete;
  ~TVkGapList() { Clear(); }

  void Add(std::unique_ptr<TIVkGap> gap) { gaps_.push_back(std::move(gap)); }
  int Count() const { return static_cast<int>(gaps_.size()); }
  TIVkGap& Item(int index) const { return *gaps_.at(static_cast<size_t>(index)); }
  // Frees the gaps from the last to the first.
  void Clear() {
    while (!gaps_.empty()) gaps_.pop_back();
  }

  auto begin() const { return gaps_.begin(); }
  auto end() const { return gaps_.end(); }

 private:
  std::vector<std::unique_ptr<TIVkGap>> gaps_;
};

}  // namespace vork
