#pragma once
// The six window settings of the sibling program Zentor that the player
// writes before handing a media file over, and restores at its end.

#include <cstdint>

namespace vork {

class TVkRegistry;

struct TVkZentorSettings {
  int32_t always_on_top = 0;
  int32_t window_size = 0;
  int32_t video_x = 0;
  int32_t video_y = 0;
  int32_t small_x = 0;
  int32_t small_y = 0;

  // All six values, in the order Zentor keeps them; a value that is missing,
  // not a number or 2147483647 (Zentor's "missing") fails the whole read.
  bool Read(const TVkRegistry& registry);
  // Writes all six and saves the registry; false when it could not be saved.
  bool Write(TVkRegistry& registry) const;
};

}  // namespace vork
