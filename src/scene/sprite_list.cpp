#include "scene/sprite_list.h"

#include <algorithm>
#include <string>

#include "platform/errors.h"

namespace vork {

namespace {

[[noreturn]] void IndexOutOfBounds(int index) {
  throw EVkError("List index out of bounds (" + std::to_string(index) + ")");
}

}  // namespace

TSprite* TSpriteList::Item(int index) const {
  if (index < 0 || index >= Count()) IndexOutOfBounds(index);
  return items_[static_cast<size_t>(index)];
}

void TSpriteList::Add(TSprite* sprite) { items_.push_back(sprite); }

void TSpriteList::Insert(int index, TSprite* sprite) {
  if (index < 0 || index > Count()) IndexOutOfBounds(index);
  items_.insert(items_.begin() + index, sprite);
}

int TSpriteList::IndexOf(const TSprite* sprite) const {
  const auto found = std::find(items_.begin(), items_.end(), sprite);
  return found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
}

void TSpriteList::Remove(const TSprite* sprite) {
  const auto found = std::find(items_.begin(), items_.end(), sprite);
  if (found != items_.end()) items_.erase(found);
}

}  // namespace vork
