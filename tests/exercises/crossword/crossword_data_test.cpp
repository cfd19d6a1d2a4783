// The crossword text and the grid it makes: cells of every kind, the
// sections and comments around them, emphasis, cues, the errors of a
// malformed text (each naming its line), and the searches the cursor uses.

#include "exercises/crossword/crossword_data.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archives/memory_stream.h"
#include "platform/errors.h"

namespace vork {
namespace {

// One text per row and aspect: the kind digit, the shown and the solution
// letters ('_' for a blank, '.' for a black cell without a digit), and '*'
// for emphasized cells.
struct GridPicture {
  std::vector<std::string> kinds, shown, solution, emphasis;
  bool operator==(const GridPicture&) const = default;
};

void PrintTo(const GridPicture& picture, std::ostream* out) {
  for (const auto* rows : {&picture.kinds, &picture.shown, &picture.solution, &picture.emphasis}) {
    *out << "\n ";
    for (const std::string& row : *rows) *out << " [" << row << "]";
  }
}

char Visible(const CrCell& cell, char c) {
  if (cell.kind == kCrBlack && c == ' ') return '.';
  return c == ' ' ? '_' : c;
}

GridPicture Picture(const TCrGrid& grid) {
  GridPicture picture;
  for (int y = 0; y < grid.Height(); ++y) {
    std::string kinds, shown, solution, emphasis;
    for (int x = 0; x < grid.Width(); ++x) {
      const CrCell cell = CrCell::FromWord(grid.Cell(x, y));
      kinds += static_cast<char>('0' + cell.kind);
      shown += Visible(cell, cell.shown);
      solution += Visible(cell, cell.solution);
      emphasis += cell.emphasized ? '*' : '.';
    }
    picture.kinds.push_back(kinds);
    picture.shown.push_back(shown);
    picture.solution.push_back(solution);
    picture.emphasis.push_back(emphasis);
  }
  return picture;
}

TCrCrosswordData Loaded(const std::string& text) {
  TCrCrosswordData data;
  data.LoadFromText(text);
  return data;
}

struct ReaderCase {
  const char* name;
  std::string text;
  GridPicture expected;
};

TEST(CrosswordReader, CellsFromTheGridSection) {
  const ReaderCase cases[] = {
      {"across and down words with given letters and black cells",
       "[grid]\nhOuse\no.1.a\nb.a-t\n",
       {{"21222", "20002", "20212"},
        {"_O___", "_.1._", "_._-_"},
        {"HOUSE", "O.1.A", "B.A-T"},
        {".....", ".....", "....."}}},
      {"blank and comment lines dropped, section name in any case, CR LF",
       "// a crossword\r\n\r\n[GRID]\r\n   \r\nab\r\n// between rows\r\nC.\r\n",
       {{"22", "10"}, {"__", "C."}, {"AB", "C."}, {"..", ".."}}},
      {"a section ends at a line that opens or closes a header",
       "[grid]\nab\nxy]\ncd\n[grid]\nzz\n",
       {{"22"}, {"__"}, {"AB"}, {".."}}},
      {"blanks inside a row are given cells; Windows-1252 letters fill in",
       "[grid]\na b\n\xE4\xDF\xC9\n",
       {{"212", "211"}, {"___", "_\xDF\xC9"}, {"A_B", "\xC4\xDF\xC9"}, {"...", "..."}}},
      {"emphasis marks its rectangle; empty rectangles are skipped",
       "[emphasize]\n1,0,2,2\n0,0,0,5\n0,2,-1,1\n[grid]\nabc\ndef\nghi\n",
       {{"222", "222", "222"}, {"___", "___", "___"}, {"ABC", "DEF", "GHI"}, {".**", ".**", "..."}}},
  };
  for (const ReaderCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Picture(Loaded(c.text).Grid()), c.expected);
  }
}

TEST(CrosswordReader, MalformedTextsNameTheirLine) {
  const struct {
    std::string text;
    std::string error;
  } cases[] = {
      {"[cues]\nA=b\n", "Assertion failure (crossword without [grid] rows)"},
      {"[grid]\n\n// none\n[cues]\n", "Assertion failure (crossword without [grid] rows)"},
      {"[grid]\nabc\n\nab\n", "Assertion failure (crossword line 4)"},
      {"[grid]\nab\n[emphasize]\n0,0,1\n", "Assertion failure (crossword line 4)"},
      {"[grid]\nab\n[emphasize]\n0,0,1,1,\n", "Assertion failure (crossword line 4)"},
      {"[grid]\nab\n[emphasize]\n0;0;1;1\n", "Assertion failure (crossword line 4)"},
      {"[grid]\nab\n[emphasize]\n0,0,x,1\n", "'x' is not a valid integer value (crossword line 4)"},
      {"[grid]\na.\n[emphasize]\n0,0,2,1\n",
       "Emphasizing \"black area\" is not allowed. (crossword line 4)"},
      {"[grid]\nab\n[emphasize]\n1,0,2,1\n",
       "Emphasized area 1,0,2,1 reaches outside the 2 x 1 grid (crossword line 4)"},
      {"[grid]\nab\n[emphasize]\n-1,0,1,1\n",
       "Emphasized area -1,0,1,1 reaches outside the 2 x 1 grid (crossword line 4)"},
      {"[grid]\nab\n[emphasize]\n0,0,2147483647,2147483647\n",
       "Emphasized area 0,0,2147483647,2147483647 reaches outside the 2 x 1 grid (crossword line 4)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    TCrCrosswordData data = Loaded("[grid]\nxyz\n[cues]\nXYZ=kept\n");
    try {
      data.LoadFromText(c.text);
      ADD_FAILURE() << "loaded";
    } catch (const EVkError& error) {
      EXPECT_EQ(error.what(), c.error);
    }
    // A failed load keeps everything of the previous one.
    EXPECT_EQ(Picture(data.Grid()).solution, std::vector<std::string>{"XYZ"});
    EXPECT_EQ(data.Cue("XYZ"), "kept");
  }
}

TEST(CrosswordReader, CuesAreFoundByTheUpperCaseWord) {
  const TCrCrosswordData data =
      Loaded("[grid]\na\n[cues]\nhouse=lower-case key\nHOUSEBOAT=longer word\nHOUSE=home\nHOUSE=second\n"
             "\xC4PFEL=fruit\nEMPTY=\n");
  EXPECT_EQ(data.Cue("HOUSE"), "home");
  EXPECT_EQ(data.Cue("house"), "home");
  EXPECT_EQ(data.Cue("\xE4pfel"), "fruit");
  EXPECT_EQ(data.Cue("HOUSEB"), "");
  EXPECT_EQ(data.Cue("EMPTY"), "");
  EXPECT_EQ(data.Cue(""), "");
  EXPECT_EQ(TCrCrosswordData().Cue("HOUSE"), "");
}

TEST(CrosswordReader, ReadsFromAStream) {
  TKsMemoryStream stream("[grid]\nxY\n");
  TCrCrosswordData data;
  data.LoadFromStream(stream);
  EXPECT_EQ(Picture(data.Grid()).kinds, std::vector<std::string>{"21"});
}

TEST(CrosswordGrid, SampleIsTheGivenAlphabet) {
  const GridPicture sample = Picture(TCrCrosswordData::Sample().Grid());
  EXPECT_EQ(sample.shown, (std::vector<std::string>{"ABCDE", "FGHIJ", "KLMNO", "PQRST", "UVWXY"}));
  EXPECT_EQ(sample.kinds, (std::vector<std::string>{"11111", "11111", "11111", "11111", "11111"}));
}

TEST(CrosswordGrid, ResizingClearsEveryCell) {
  TCrGrid grid = Loaded("[grid]\nab\ncd\n").Grid();
  grid.SetWidth(3);
  EXPECT_EQ(grid.Cell(2, 1), 0);
  EXPECT_EQ(grid.Cell(0, 0), 0);
  std::int32_t word = 7;
  EXPECT_FALSE(grid.TryCell(3, 0, word));
  EXPECT_FALSE(grid.TryCell(0, -1, word));
  EXPECT_EQ(word, 7);
  EXPECT_THROW(grid.Cell(0, 2), EVkAssertion);
  EXPECT_THROW(grid.SetCell(-1, 0, 0), EVkAssertion);
}

TEST(CrosswordGrid, SolvedWhenEveryShownLetterIsTheSolution) {
  TCrGrid grid = Loaded("[grid]\naB.\n3cd\n").Grid();
  EXPECT_FALSE(grid.IsSolved());
  for (auto [x, y, letter] : {std::tuple{0, 0, 'A'}, {1, 1, 'C'}, {2, 1, 'D'}}) {
    CrCell cell = CrCell::FromWord(grid.Cell(x, y));
    cell.shown = letter;
    grid.SetCell(x, y, cell.Word());
  }
  EXPECT_TRUE(grid.IsSolved());
  CrCell wrong = CrCell::FromWord(grid.Cell(2, 1));
  wrong.shown = 'd';
  grid.SetCell(2, 1, wrong.Word());
  EXPECT_FALSE(grid.IsSolved());
  EXPECT_TRUE(TCrGrid().IsSolved());
}

// 0 1 2 3 4
// a b . c d    row 0
// e . f g h    row 1
// i j k . l    row 2
const char kSearchGrid[] = "[grid]\nab.cd\ne.fgh\nijk.l\n";

TEST(CrosswordGrid, WordExtentIsTheRunOfOpenCells) {
  const TCrGrid grid = Loaded(kSearchGrid).Grid();
  const struct {
    int x, y;
    bool across;
    CrRect extent;
  } cases[] = {
      {1, 0, true, {0, 0, 2, 1}},   {3, 0, true, {3, 0, 5, 1}},  {3, 1, true, {2, 1, 5, 2}},
      {0, 2, true, {0, 2, 3, 3}},   {4, 1, false, {4, 0, 5, 3}}, {0, 1, false, {0, 0, 1, 3}},
      {3, 1, false, {3, 0, 4, 2}},  {1, 2, false, {1, 2, 2, 3}},
      // A black start cell gives an empty rectangle.
      {2, 0, true, {2, 0, 2, 1}},   {2, 0, false, {2, 0, 3, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y << (c.across ? " across" : " down"));
    EXPECT_EQ(grid.WordExtent(c.x, c.y, c.across), c.extent);
  }
}

TEST(CrosswordGrid, FindCellSearchesInRowOrderWithoutWrapping) {
  TCrGrid grid = Loaded(kSearchGrid).Grid();
  CrCell given = CrCell::FromWord(grid.Cell(4, 1));
  given.shown = 'H';
  grid.SetCell(4, 1, given.Word());
  const CrKindSet letters = CrKinds({kCrFixed, kCrToFill});
  const CrRect all = grid.Bounds();
  const struct {
    const char* name;
    CrRect area;
    int x, y;
    bool include, forward;
    CrKindSet kinds;
    char letter;
    CrFound found;
  } cases[] = {
      {"next skips black cells", all, 1, 0, false, true, letters, 0, {true, 3, 0}},
      {"next goes on to the next row", all, 4, 0, false, true, letters, 0, {true, 0, 1}},
      {"start included", all, 1, 0, true, true, letters, 0, {true, 1, 0}},
      {"previous skips black cells", all, 2, 1, false, false, letters, 0, {true, 0, 1}},
      {"no wrap past the last cell", all, 4, 2, false, true, letters, 0, {}},
      {"no wrap past the first cell", all, 0, 0, false, false, letters, 0, {}},
      {"down within a column", {3, 0, 4, 3}, 3, 0, false, true, letters, 0, {true, 3, 1}},
      {"column end", {3, 0, 4, 3}, 3, 1, false, true, letters, 0, {}},
      {"black cells only", all, 0, 0, true, true, CrKinds({kCrBlack}), 0, {true, 2, 0}},
      {"kinds above 7 never match", all, 0, 0, true, true, CrKinds({8, 9}), 0, {}},
      {"shown letter", all, 0, 0, true, true, letters, 'H', {true, 4, 1}},
      {"start outside the area", {3, 0, 4, 3}, 1, 0, true, true, letters, 0, {}},
      {"empty area", {0, 0, 0, 3}, 0, 0, true, true, letters, 0, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const CrFound found = grid.FindCell(c.area, c.x, c.y, c.include, c.forward, c.kinds, c.letter);
    EXPECT_EQ(found.found, c.found.found);
    EXPECT_EQ(found.x, c.found.x);
    EXPECT_EQ(found.y, c.found.y);
  }
}

}  // namespace
}  // namespace vork
