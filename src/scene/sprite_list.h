#pragma once
// The z-ordered list of a background's sprites. Index 0 is the bottom and is
// drawn first; the last index is the top. The list does not own the sprites.

#include <vector>

namespace vork {

class TSprite;

class TSpriteList {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  // Raises EVkError for an index outside 0 .. Count() - 1.
  TSprite* Item(int index) const;
  void Add(TSprite* sprite);
  // index may be Count() (the top); anything else outside raises EVkError.
  void Insert(int index, TSprite* sprite);
  int IndexOf(const TSprite* sprite) const;
  void Remove(const TSprite* sprite);

  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }

 private:
  std::vector<TSprite*> items_;
};

}  // namespace vork
