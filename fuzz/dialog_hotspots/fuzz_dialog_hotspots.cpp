// Course text reaches the picture dialog's hot-spot list and the floating
// windows' link commands unchecked. Input layout: the first 16 bytes are
// four words (a click point and a dialog size) for the placement and the
// hit test, the rest up to the first NUL is a hot-spot list and after it a
// link command.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "dialogs/dialog_hotspots.h"
#include "dialogs/dialog_placement.h"
#include "dialogs/link_command.h"

namespace {

void Expect(bool condition) {
  if (!condition) std::abort();
}

int32_t WordAt(const std::uint8_t* data, int index) {
  int32_t word;
  std::memcpy(&word, data + 4 * index, 4);
  return word;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace vork;
  if (size < 16) return 0;
  const int32_t x = WordAt(data, 0);
  const int32_t y = WordAt(data, 1);
  const int32_t width = WordAt(data, 2);
  const int32_t height = WordAt(data, 3);
  std::string_view text(reinterpret_cast<const char*>(data + 16), size - 16);
  const size_t nul = text.find('\0');
  const std::string_view hotspot_text = text.substr(0, nul);
  const std::string_view command_text = nul == std::string_view::npos ? std::string_view() : text.substr(nul + 1);

  const auto hotspots = ParseHotspots(hotspot_text);
  if (const TVkHotspot* spot = HotspotAt(hotspots, x, y)) Expect(spot->Contains(x, y));
  // What is left for a click to hit lies at least partly on the dialog.
  const auto reachable = ReachableHotspots(hotspots, width, height);
  Expect(reachable.size() <= hotspots.size());
  for (const TVkHotspot& spot : reachable) {
    Expect(std::max(spot.left, 0) < std::min(spot.right, width));
    Expect(std::max(spot.top, 0) < std::min(spot.bottom, height));
  }
  const std::string names = HotspotNames(hotspots);
  Expect(names.size() <= hotspot_text.size());

  const TVkDialogPosition at = PlaceDialog({x, y, width, height}, width, height, x, y, 1024, 768);
  Expect(at.left >= 0 && at.top >= 0);
  if (width <= 1024) Expect(at.left <= 1024 - int64_t{width});
  if (height <= 768) Expect(at.top <= 768 - int64_t{height});

  const TVkLinkCommand command = ParseLinkCommand(command_text);
  Expect(command.name.size() + command.fragment.size() <= command_text.size());
  for (const auto& [key, value] : command.parameters) Expect(key.size() + value.size() <= command_text.size());
  return 0;
}
