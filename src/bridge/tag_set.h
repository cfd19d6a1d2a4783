#pragma once
// TVkSet: an ordered list of names written as one text with "|" between
// them; every script object keeps its tags in one.

#include <string>
#include <string_view>
#include <vector>

namespace vork {

class TVkSet {
 public:
  // Splits at every separator, keeping empty pieces ("a||b" has three
  // elements); an empty text gives an empty set.
  void SetText(std::string_view text);
  std::string GetText() const;

  // First position of an element equal to name (case-sensitive), or -1.
  int IndexOf(std::string_view name) const;
  bool Contains(std::string_view name) const { return IndexOf(name) >= 0; }
  // Keeps only the elements that other contains; an empty set on either
  // side empties this one.
  void Intersect(const TVkSet& other);
  // True when either set is empty or they share no element.
  bool IsDisjoint(const TVkSet& other) const;

  void Assign(const TVkSet& other) { *this = other; }
  void Clear() { elements_.clear(); }
  int Count() const { return static_cast<int>(elements_.size()); }
  const std::string& At(int position) const { return elements_.at(static_cast<size_t>(position)); }
  void Append(std::string_view name) { elements_.emplace_back(name); }
  char Separator() const { return separator_; }

 private:
  std::vector<std::string> elements_;
  char separator_ = '|';
};

}  // namespace vork
