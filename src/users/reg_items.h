#pragma once
// The items of a settings store: typed name/value pairs, unique by name and
// read back sorted by name.

#include <cstddef>
#include <functional>
#include <iterator>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace vork {

struct TVkRegItem {
  std::string name;
  std::string type;   // "B" for booleans, "S" for strings
  std::string value;

  bool operator==(const TVkRegItem&) const = default;
};

// Iteration is in plain byte order of the names (unsigned, case-sensitive):
// the order is part of the stored file, so it must not depend on the locale.
// The items are hashed by name and put in order only when iterated, after a
// change of names: a course writes thousands of settings in one routine and
// the store is saved once afterwards, so a write must cost the same however
// many items the store holds.
class TVkRegItems {
  using Order = std::vector<const TVkRegItem*>;

 public:
  class Iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = TVkRegItem;
    using difference_type = std::ptrdiff_t;
    using pointer = const TVkRegItem*;
    using reference = const TVkRegItem&;

    Iterator() = default;
    explicit Iterator(Order::const_iterator at) : at_(at) {}
    reference operator*() const { return **at_; }
    pointer operator->() const { return *at_; }
    Iterator& operator++() {
      ++at_;
      return *this;
    }
    Iterator operator++(int) {
      Iterator before = *this;
      ++at_;
      return before;
    }
    bool operator==(const Iterator&) const = default;

   private:
    Order::const_iterator at_;
  };

  TVkRegItems() = default;
  TVkRegItems(const TVkRegItems& other) : items_(other.items_) {}
  TVkRegItems(TVkRegItems&& other) noexcept;
  TVkRegItems& operator=(TVkRegItems other) noexcept;

  // Replaces an item of the same name, whatever its type.
  void Insert(TVkRegItem item);
  // Replaces the content by these items as if each were inserted in turn
  // (a later item of a name wins).
  void Assign(std::vector<TVkRegItem> items);
  // The item with exactly this name, or nullptr.
  const TVkRegItem* Find(std::string_view name) const;
  // Removes every item the predicate accepts; returns how many went.
  size_t RemoveIf(const std::function<bool(const TVkRegItem&)>& predicate);
  void Clear();

  size_t Count() const { return items_.size(); }
  bool Empty() const { return items_.empty(); }
  // Valid until the next change.
  Iterator begin() const { return Iterator(Ordered().begin()); }
  Iterator end() const { return Iterator(Ordered().end()); }

 private:
  struct NameHash {
    using is_transparent = void;
    size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
    size_t operator()(const TVkRegItem& item) const { return (*this)(std::string_view(item.name)); }
  };
  struct SameName {
    using is_transparent = void;
    static std::string_view Name(const TVkRegItem& item) { return item.name; }
    static std::string_view Name(std::string_view name) { return name; }
    bool operator()(const auto& a, const auto& b) const { return Name(a) == Name(b); }
  };

  const Order& Ordered() const;

  std::unordered_set<TVkRegItem, NameHash, SameName> items_;
  // The items sorted by name; empty while out of date. Elements of the set
  // keep their addresses until they are erased.
  mutable Order order_;
};

}  // namespace vork
