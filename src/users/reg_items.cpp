#include "users/reg_items.h"

namespace vork {

void TVkRegItems::Insert(TVkRegItem item) {
  auto at = items_.lower_bound(std::string_view(item.name));
  if (at != items_.end() && at->name == item.name) at = items_.erase(at);
  items_.insert(at, std::move(item));
}

void TVkRegItems::Assign(std::vector<TVkRegItem> items) {
  items_.clear();
  for (TVkRegItem& item : items) Insert(std::move(item));
}

const TVkRegItem* TVkRegItems::Find(std::string_view name) const {
  auto at = items_.find(name);
  return at != items_.end() ? &*at : nullptr;
}

size_t TVkRegItems::RemoveIf(const std::function<bool(const TVkRegItem&)>& predicate) {
  return std::erase_if(items_, predicate);
}

}  // namespace vork
