#pragma once
// The stored form of a settings store:
//   "VKR1", count N (int32 LE), then N items, each as three length-prefixed
//   strings name, type, value (int32 LE length L, then L bytes).
// Items are written in sorted order; a length <= 0 reads as the empty string.

#include <string>
#include <string_view>

#include "users/reg_items.h"

namespace vork {

std::string EncodeRegFile(const TVkRegItems& items);

// Throws EVkError "Unsupported or corrupt user data file" for a wrong magic,
// and an EVkError naming file_name and the offset when the bytes end inside
// the count or an item (a length larger than the rest of the file included).
// Bytes after the last item are ignored.
TVkRegItems DecodeRegFile(std::string_view bytes, std::string_view file_name);

}  // namespace vork
