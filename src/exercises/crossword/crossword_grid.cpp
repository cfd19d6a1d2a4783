#include "exercises/crossword/crossword_grid.h"

#include "platform/errors.h"

namespace vork {

CrCell CrCell::FromWord(std::int32_t word) {
  const auto bits = static_cast<std::uint32_t>(word);
  CrCell cell;
  cell.kind = static_cast<std::uint8_t>(bits & 0xFF);
  cell.shown = static_cast<char>((bits >> 8) & 0xFF);
  cell.solution = static_cast<char>((bits >> 16) & 0xFF);
  cell.emphasized = ((bits >> 24) & 0xFF) == 1;
  return cell;
}

std::int32_t CrCell::Word() const {
  const std::uint32_t bits = kind | std::uint32_t{static_cast<unsigned char>(shown)} << 8 |
                             std::uint32_t{static_cast<unsigned char>(solution)} << 16 |
                             std::uint32_t{emphasized ? 1u : 0u} << 24;
  return static_cast<std::int32_t>(bits);
}

void TCrGrid::SetWidth(int width) {
  Check(width >= 0);
  width_ = width;
  Reallocate();
}

void TCrGrid::SetHeight(int height) {
  Check(height >= 0);
  height_ = height;
  Reallocate();
}

void TCrGrid::Reallocate() {
  cells_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0);
}

std::int32_t TCrGrid::Cell(int x, int y) const {
  Check(Inside(x, y));
  return cells_[static_cast<std::size_t>(x) + static_cast<std::size_t>(y) * width_];
}

void TCrGrid::SetCell(int x, int y, std::int32_t word) {
  Check(Inside(x, y));
  cells_[static_cast<std::size_t>(x) + static_cast<std::size_t>(y) * width_] = word;
}

bool TCrGrid::TryCell(int x, int y, std::int32_t& word) const {
  if (!Inside(x, y)) return false;
  word = Cell(x, y);
  return true;
}

bool TCrGrid::IsSolved() const {
  for (std::int32_t word : cells_) {
    const CrCell cell = CrCell::FromWord(word);
    if (cell.kind != kCrBlack && cell.shown != cell.solution) return false;
  }
  return true;
}

CrRect TCrGrid::WordExtent(int x, int y, bool across) const {
  CrRect extent{x, y, x, y + 1};
  if (!across) extent = {x, y, x + 1, y};
  const auto open = [this](int cx, int cy) {
    std::int32_t word = 0;
    return TryCell(cx, cy, word) && CrCell::FromWord(word).kind != kCrBlack;
  };
  const int dx = across ? 1 : 0;
  const int dy = across ? 0 : 1;
  for (int cx = x, cy = y; open(cx, cy); cx -= dx, cy -= dy) {
    if (across) {
      extent.left = cx;
    } else {
      extent.top = cy;
    }
  }
  for (int cx = x, cy = y; open(cx, cy); cx += dx, cy += dy) {
    if (across) {
      extent.right = cx + 1;
    } else {
      extent.bottom = cy + 1;
    }
  }
  return extent;
}

CrFound TCrGrid::FindCell(const CrRect& area, int x, int y, bool include_start, bool forward,
                          CrKindSet kinds, char letter) const {
  if (area.Empty() || !area.Contains(x, y)) return {};
  const int columns = area.right - area.left;
  const long long count = static_cast<long long>(columns) * (area.bottom - area.top);
  const long long step = forward ? 1 : -1;
  long long index = static_cast<long long>(y - area.top) * columns + (x - area.left);
  if (!include_start) index += step;
  for (; index >= 0 && index < count; index += step) {
    const int cx = area.left + static_cast<int>(index % columns);
    const int cy = area.top + static_cast<int>(index / columns);
    std::int32_t word = 0;
    if (!TryCell(cx, cy, word)) continue;
    const CrCell cell = CrCell::FromWord(word);
    if (cell.kind > 7 || (kinds & (1 << cell.kind)) == 0) continue;
    if (letter != 0 && cell.shown != letter) continue;
    return {true, cx, cy};
  }
  return {};
}

}  // namespace vork
