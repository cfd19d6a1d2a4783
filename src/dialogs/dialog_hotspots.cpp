#include "dialogs/dialog_hotspots.h"

#include <algorithm>
#include <limits>

#include "text/text_edits.h"
#include "platform/errors.h"

namespace vork {

namespace {

std::vector<std::string_view> Tokens(std::string_view text) {
  std::vector<std::string_view> tokens;
  while (true) {
    const size_t end = text.find_first_of(",/");
    tokens.push_back(text.substr(0, end));
    if (end == std::string_view::npos) return tokens;
    text.remove_prefix(end + 1);
  }
}

// left + size in 64 bits, kept within the word range: a huge width still
// means "to the far edge", never a wrapped negative edge.
int32_t FarEdge(int32_t start, int32_t size) {
  const int64_t edge = static_cast<int64_t>(start) + size;
  if (edge > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (edge < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(edge);
}

}  // namespace

std::vector<TVkHotspot> ParseHotspots(std::string_view text) {
  std::vector<TVkHotspot> hotspots;
  if (text.empty()) return hotspots;
  const std::vector<std::string_view> tokens = Tokens(text);
  try {
    for (size_t i = 0; i + 5 <= tokens.size(); i += 5) {
      TVkHotspot spot;
      spot.name = tokens[i];
      spot.left = ParseInteger(tokens[i + 1]);
      spot.top = ParseInteger(tokens[i + 2]);
      spot.right = FarEdge(spot.left, ParseInteger(tokens[i + 3]));
      spot.bottom = FarEdge(spot.top, ParseInteger(tokens[i + 4]));
      hotspots.push_back(std::move(spot));
    }
  } catch (const EVkError&) {
    hotspots.clear();
  }
  return hotspots;
}

std::vector<TVkHotspot> ReachableHotspots(std::vector<TVkHotspot> hotspots, int32_t width, int32_t height) {
  // Overlap of half-open ranges; a dialog of negative size overlaps nothing.
  std::erase_if(hotspots, [&](const TVkHotspot& spot) {
    return std::max(spot.left, 0) >= std::min(spot.right, width) ||
           std::max(spot.top, 0) >= std::min(spot.bottom, height);
  });
  return hotspots;
}

const TVkHotspot* HotspotAt(const std::vector<TVkHotspot>& hotspots, int32_t x, int32_t y) {
  for (const TVkHotspot& spot : hotspots)
    if (spot.Contains(x, y)) return &spot;
  return nullptr;
}

std::string HotspotNames(const std::vector<TVkHotspot>& hotspots) {
  std::string names;
  for (const TVkHotspot& spot : hotspots) {
    if (&spot != &hotspots.front()) names += '|';
    names += spot.name;
  }
  return names;
}

}  // namespace vork
