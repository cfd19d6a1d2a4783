#include "bridge/tag_set.h"

#include <cstddef>

namespace vork {

void TVkSet::SetText(std::string_view text) {
  elements_.clear();
  if (text.empty()) return;
  size_t begin = 0;
  for (;;) {
    const size_t end = text.find(separator_, begin);
    elements_.emplace_back(text.substr(begin, end - begin));
    if (end == std::string_view::npos) break;
    begin = end + 1;
  }
}

std::string TVkSet::GetText() const {
  std::string text;
  for (size_t i = 0; i < elements_.size(); ++i) {
    if (i > 0) text += separator_;
    text += elements_[i];
  }
  return text;
}

int TVkSet::IndexOf(std::string_view name) const {
  for (size_t i = 0; i < elements_.size(); ++i) {
    if (elements_[i] == name) return static_cast<int>(i);
  }
  return -1;
}

void TVkSet::Intersect(const TVkSet& other) {
  if (elements_.empty() || other.elements_.empty()) {
    elements_.clear();
    return;
  }
  for (size_t i = elements_.size(); i-- > 0;) {
    if (!other.Contains(elements_[i])) elements_.erase(elements_.begin() + static_cast<ptrdiff_t>(i));
  }
}

bool TVkSet::IsDisjoint(const TVkSet& other) const {
  if (elements_.empty() || other.elements_.empty()) return true;
  for (const auto& element : elements_) {
    if (other.Contains(element)) return false;
  }
  return true;
}

}  // namespace vork
