#include "users/reg_items.h"

#include <algorithm>
#include <utility>

namespace vork {

TVkRegItems::TVkRegItems(TVkRegItems&& other) noexcept
    : items_(std::move(other.items_)), order_(std::move(other.order_)) {
  other.order_.clear();
}

TVkRegItems& TVkRegItems::operator=(TVkRegItems other) noexcept {
  items_.swap(other.items_);
  order_.swap(other.order_);
  return *this;
}

void TVkRegItems::Insert(TVkRegItem item) {
  auto at = items_.find(std::string_view(item.name));
  if (at == items_.end()) {
    items_.insert(std::move(item));
    order_.clear();
    return;
  }
  // The same node takes the new type and value, so the order stays valid.
  auto node = items_.extract(at);
  node.value() = std::move(item);
  items_.insert(std::move(node));
}

void TVkRegItems::Assign(std::vector<TVkRegItem> items) {
  Clear();
  items_.reserve(items.size());
  for (TVkRegItem& item : items) Insert(std::move(item));
}

const TVkRegItem* TVkRegItems::Find(std::string_view name) const {
  auto at = items_.find(name);
  return at != items_.end() ? &*at : nullptr;
}

size_t TVkRegItems::RemoveIf(const std::function<bool(const TVkRegItem&)>& predicate) {
  const size_t removed = std::erase_if(items_, predicate);
  if (removed > 0) order_.clear();
  return removed;
}

void TVkRegItems::Clear() {
  items_.clear();
  order_.clear();
}

const TVkRegItems::Order& TVkRegItems::Ordered() const {
  if (order_.size() != items_.size()) {
    order_.clear();
    order_.reserve(items_.size());
    for (const TVkRegItem& item : items_) order_.push_back(&item);
    // std::string compares through std::char_traits<char>, which orders as
    // unsigned char: the byte order of the stored file.
    std::sort(order_.begin(), order_.end(),
              [](const TVkRegItem* a, const TVkRegItem* b) { return a->name < b->name; });
  }
  return order_;
}

}  // namespace vork
