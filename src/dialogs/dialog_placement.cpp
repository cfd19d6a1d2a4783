#include "dialogs/dialog_placement.h"

#include <algorithm>
#include <limits>

namespace vork {

namespace {

// One axis, in 64 bits so that course values near the word limits cannot
// wrap. A negative size can push the far limit past the word range, so the
// result is kept within it.
int32_t PlaceOnAxis(int32_t area_start, int32_t area_end, int32_t size, int32_t offset, int32_t screen) {
  // Division truncating toward zero, as C++ divides.
  int64_t start = area_start + (static_cast<int64_t>(area_end) - area_start - size) / 2 + offset;
  start = std::min<int64_t>(start, static_cast<int64_t>(screen) - size);
  return static_cast<int32_t>(std::clamp<int64_t>(start, 0, std::numeric_limits<int32_t>::max()));
}

}  // namespace

TVkDialogPosition PlaceDialog(TVkDialogRect area, int32_t width, int32_t height, int32_t offset_x,
                              int32_t offset_y, int32_t screen_width, int32_t screen_height) {
  if (area.Empty()) area = {0, 0, screen_width, screen_height};
  return {PlaceOnAxis(area.left, area.right, width, offset_x, screen_width),
          PlaceOnAxis(area.top, area.bottom, height, offset_y, screen_height)};
}

}  // namespace vork
