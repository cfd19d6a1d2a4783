#pragma once
// TCrGrid: the cells of a crossword, row by row, and the searches the view
// moves its cursor with. Each cell is one 32-bit word:
//   bits 0-7    kind (black, fixed, to fill in)
//   bits 8-15   the letter shown
//   bits 16-23  the solution letter
//   bits 24-31  emphasis (1 inside an emphasized area)

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace vork {

enum CrCellKind : std::uint8_t { kCrBlack = 0, kCrFixed = 1, kCrToFill = 2 };

// A set of kinds for FindCell: bit k stands for kind k (kinds above 7 are
// never in a set).
using CrKindSet = std::uint8_t;
constexpr CrKindSet CrKinds(std::initializer_list<int> kinds) {
  CrKindSet set = 0;
  for (int kind : kinds) set = static_cast<CrKindSet>(set | (kind >= 0 && kind <= 7 ? 1 << kind : 0));
  return set;
}

struct CrCell {
  std::uint8_t kind = kCrBlack;
  char shown = ' ';
  char solution = ' ';
  bool emphasized = false;

  static CrCell FromWord(std::int32_t word);
  std::int32_t Word() const;
};

// Cell coordinates; right and bottom are one past the last column and row.
struct CrRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  bool Empty() const { return right <= left || bottom <= top; }
  bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  bool operator==(const CrRect&) const = default;
};

struct CrFound {
  bool found = false;
  int x = -1;
  int y = -1;
};

class TCrGrid {
 public:
  // Both reallocate and zero every cell (all black with a NUL letter).
  void SetWidth(int width);
  void SetHeight(int height);
  int Width() const { return width_; }
  int Height() const { return height_; }
  CrRect Bounds() const { return {0, 0, width_, height_}; }
  bool Inside(int x, int y) const { return Bounds().Contains(x, y); }

  // Outside the grid these fail the consistency check.
  std::int32_t Cell(int x, int y) const;
  void SetCell(int x, int y, std::int32_t word);
  // False outside the grid.
  bool TryCell(int x, int y, std::int32_t& word) const;

  // Every shown letter equals its solution (black cells always agree).
  bool IsSolved() const;
  // The run of non-black cells through (x, y) along the row (across) or the
  // column; empty when (x, y) is black or outside.
  CrRect WordExtent(int x, int y, bool across) const;
  // The first cell of `area` in row order (reverse row order when not
  // forward) from (x, y), or from its neighbour in that order when the start
  // is not included, whose kind is in `kinds` and, when letter is not 0,
  // whose shown letter is letter. Never wraps past either end of the area.
  CrFound FindCell(const CrRect& area, int x, int y, bool include_start, bool forward, CrKindSet kinds,
                   char letter) const;

 private:
  void Reallocate();

  int width_ = 0;
  int height_ = 0;
  std::vector<std::int32_t> cells_;
};

}  // namespace vork
