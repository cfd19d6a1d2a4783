#include "users/reg_items.h"

#include <algorithm>

namespace vork {

namespace {

// std::char_traits<char> compares as unsigned char, which is the byte order
// the stored files are sorted in.
bool NameBefore(const TVkRegItem& item, std::string_view name) {
  return std::string_view(item.name) < name;
}

}  // namespace

void TVkRegItems::Insert(TVkRegItem item) {
  auto at = std::lower_bound(items_.begin(), items_.end(), std::string_view(item.name), NameBefore);
  if (at != items_.end() && at->name == item.name) {
    *at = std::move(item);
  } else {
    items_.insert(at, std::move(item));
  }
}

void TVkRegItems::Assign(std::vector<TVkRegItem> items) {
  std::stable_sort(items.begin(), items.end(),
                   [](const TVkRegItem& a, const TVkRegItem& b) { return a.name < b.name; });
  // Of each run of equal names keep the last, which came latest.
  items_.clear();
  for (auto& item : items) {
    if (!items_.empty() && items_.back().name == item.name) items_.back() = std::move(item);
    else items_.push_back(std::move(item));
  }
}

const TVkRegItem* TVkRegItems::Find(std::string_view name) const {
  auto at = std::lower_bound(items_.begin(), items_.end(), name, NameBefore);
  return at != items_.end() && at->name == name ? &*at : nullptr;
}

size_t TVkRegItems::RemoveIf(const std::function<bool(const TVkRegItem&)>& predicate) {
  return std::erase_if(items_, predicate);
}

}  // namespace vork
