#pragma once
// TVkObjList: the objects a text script can address, by the id the script
// writes before the "." of a command (intro.play): each id names the script
// class of its commands and the word handed to their routines.

#include <cstdint>
#include <optional>
#include <string_view>

#include "textscript/dict.h"

namespace vork {

struct TVkObjItem {
  int32_t class_index = 0;
  int32_t object_word = 0;
};

class TVkObjList {
 public:
  // False when the id is already registered.
  bool Add(std::string_view id, int32_t class_index, int32_t object_word) {
    return items_.Add(id, TVkObjItem{class_index, object_word});
  }
  // False when the id is not registered.
  bool Remove(std::string_view id) { return items_.Remove(id); }
  std::optional<TVkObjItem> Find(std::string_view id) const {
    const TVkObjItem* item = items_.Find(id);
    return item ? std::optional<TVkObjItem>(*item) : std::nullopt;
  }
  int32_t Count() const { return items_.Count(); }

 private:
  TVkDict<TVkObjItem> items_;
};

}  // namespace vork
