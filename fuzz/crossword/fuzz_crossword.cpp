// Any bytes as a crossword text: loaded, or refused with an error that
// leaves the previous crossword whole; never a crash. A loaded grid is then
// walked as the view walks it: every word extent and a search from every
// cell stay inside the grid.

#include <cstdint>
#include <string_view>

#include "exercises/crossword/crossword_data.h"
#include "platform/errors.h"

namespace {

void Trap(bool fault) {
  if (fault) __builtin_trap();
}

void Walk(const vork::TCrGrid& grid) {
  const vork::CrKindSet letters = vork::CrKinds({vork::kCrFixed, vork::kCrToFill});
  for (int y = 0; y < grid.Height(); ++y) {
    for (int x = 0; x < grid.Width(); ++x) {
      for (bool across : {true, false}) {
        const vork::CrRect word = grid.WordExtent(x, y, across);
        Trap(!word.Empty() && !(grid.Bounds().Contains(word.left, word.top) &&
                                grid.Bounds().Contains(word.right - 1, word.bottom - 1)));
      }
      const vork::CrFound next = grid.FindCell(grid.Bounds(), x, y, false, true, letters, 0);
      Trap(next.found && !grid.Inside(next.x, next.y));
    }
  }
  grid.IsSolved();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  vork::TCrCrosswordData crossword = vork::TCrCrosswordData::Sample();
  try {
    crossword.LoadFromText(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const vork::EVkError&) {
    Trap(crossword.Grid().Width() != 5 || crossword.Grid().Height() != 5);
    return 0;
  }
  Trap(crossword.Grid().Width() <= 0 || crossword.Grid().Height() <= 0);
  // A walk over a huge grid says nothing new and only slows the fuzzer.
  if (static_cast<size_t>(crossword.Grid().Width()) * crossword.Grid().Height() <= 4096) Walk(crossword.Grid());
  crossword.Cue(std::string_view(reinterpret_cast<const char*>(data), size < 8 ? size : 8));
  return 0;
}
