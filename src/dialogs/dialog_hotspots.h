#pragma once
// The hot spots of a picture dialog, parsed once when the dialog opens from
// course text: "name,left,top,width,height" groups, "," and "/" both
// separating tokens, e.g. "ok,10,10,80,30/cancel,100,10,80,30".

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vork {

struct TVkHotspot {
  std::string name;
  // Half-open: left <= x < right, top <= y < bottom.
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  bool Contains(int32_t x, int32_t y) const { return left <= x && x < right && top <= y && y < bottom; }
  bool operator==(const TVkHotspot&) const = default;
};

// A trailing incomplete group is ignored. A list that yields no complete
// group, or has a coordinate that is not an integer, counts as no list at
// all: such a dialog would otherwise wait for a click that can never hit.
std::vector<TVkHotspot> ParseHotspots(std::string_view text);

// The hot spots that a click on a width x height dialog can hit, those that
// overlap (0, 0, width, height), in their order. A dialog whose hot spots all
// lie outside it is left with no list, so that any click closes it instead
// of nothing ever doing so.
std::vector<TVkHotspot> ReachableHotspots(std::vector<TVkHotspot> hotspots, int32_t width, int32_t height);

// The first hot spot containing (x, y), the one listed first winning where
// they overlap; null when none does.
const TVkHotspot* HotspotAt(const std::vector<TVkHotspot>& hotspots, int32_t x, int32_t y);

// The names joined by "|".
std::string HotspotNames(const std::vector<TVkHotspot>& hotspots);

}  // namespace vork
