#pragma once
// Where a picture dialog goes on the screen: centred in its area, moved by
// its offsets, and kept on the screen (the left and top edges win when it
// is larger than the screen).

#include <cstdint>

#include "dialogs/dialog_record.h"

namespace vork {

struct TVkDialogPosition {
  int32_t left = 0;
  int32_t top = 0;
  bool operator==(const TVkDialogPosition&) const = default;
};

// area empty means the whole screen (0, 0, screen_width, screen_height).
TVkDialogPosition PlaceDialog(TVkDialogRect area, int32_t width, int32_t height, int32_t offset_x,
                              int32_t offset_y, int32_t screen_width, int32_t screen_height);

}  // namespace vork
