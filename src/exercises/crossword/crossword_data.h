#pragma once
// TCrCrosswordData: a crossword's grid and cues, read from the course's
// sectioned text:
//
//   // comment lines start in the first column
//   [grid]
//   ..hOuse      one line per row: "." black, "0"-"9" black with the digit,
//   ...          upper case and caseless characters given, lower case to fill in
//   [emphasize]
//   2,0,5,1      x,y,w,h: cells framed as one area
//   [cues]
//   HOUSE=Where you live
//
// A failed load leaves the data as it was. Errors keep their fixed texts and
// add the line of the crossword text they are about.

#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "exercises/crossword/crossword_grid.h"

namespace vork {

class TKsStream;

class TCrCrosswordData {
 public:
  // The grid of the built-in sample (5 x 5 given letters A to Y).
  static TCrCrosswordData Sample();

  void LoadFromStream(TKsStream& stream);
  void LoadFromText(std::string_view text);

  TCrGrid& Grid() { return grid_; }
  const TCrGrid& Grid() const { return grid_; }
  // The rest of the first cue line starting with the upper-case word and
  // "="; "" when there is none.
  std::string Cue(std::string_view word) const;

 private:
  TCrGrid grid_;
  std::optional<std::vector<std::string>> cues_;
};

}  // namespace vork
