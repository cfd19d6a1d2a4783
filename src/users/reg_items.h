#pragma once
// The items of a settings store: typed name/value pairs kept sorted by name.

#include <cstddef>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace vork {

struct TVkRegItem {
  std::string name;
  std::string type;   // "B" for booleans, "S" for strings
  std::string value;

  bool operator==(const TVkRegItem&) const = default;
};

// Sorted by name in plain byte order (unsigned, case-sensitive); names are
// unique. The order is part of the stored file, so it must not depend on the
// locale. A tree, not a sorted array: a course that writes thousands of new
// names in one go must not shift the array for every one of them.
class TVkRegItems {
 public:
  // Replaces an item of the same name, whatever its type.
  void Insert(TVkRegItem item);
  // Replaces the content by these items as if each were inserted in turn
  // (a later item of a name wins).
  void Assign(std::vector<TVkRegItem> items);
  // The item with exactly this name, or nullptr.
  const TVkRegItem* Find(std::string_view name) const;
  // Removes every item the predicate accepts; returns how many went.
  size_t RemoveIf(const std::function<bool(const TVkRegItem&)>& predicate);
  void Clear() { items_.clear(); }

  size_t Count() const { return items_.size(); }
  bool Empty() const { return items_.empty(); }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  // std::string compares through std::char_traits<char>, which orders as
  // unsigned char: the byte order of the stored file.
  struct ByName {
    using is_transparent = void;
    static std::string_view Name(const TVkRegItem& item) { return item.name; }
    static std::string_view Name(std::string_view name) { return name; }
    bool operator()(const auto& a, const auto& b) const { return Name(a) < Name(b); }
  };
  std::set<TVkRegItem, ByName> items_;
};

}  // namespace vork
