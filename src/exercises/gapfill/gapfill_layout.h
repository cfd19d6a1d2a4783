#pragma once
// The page of a gap-fill exercise, laid out word by word: where each word is
// drawn, where each gap's field goes and how wide it is, and how tall the
// page is. Rows are as tall as the text font's "Q"; a row holding a gap is 2
// pixels taller (its underline runs just below the field). The page keeps 8
// pixels of margin on the left, the right and the top.
//
// Course text is untrusted: a text whose page would be absurdly tall, or
// that has more gaps than a page can sensibly hold fields for, fails with
// EVkError instead of taking the player's memory.

#include <cstdint>
#include <string>
#include <vector>

#include "exercises/gapfill/gap_answers.h"
#include "exercises/gapfill/gap_markup.h"
#include "exercises/gapfill/text_measure.h"

namespace vork {

struct GapfillPageSettings {
  int32_t client_width = 0;
  int32_t client_height = 0;
  // The width of a vertical scroll bar: the page leaves room for one, and a
  // drop-down list for its arrow button.
  int32_t scroll_bar = 0;
  // Gaps without a comment get the comment "!spell".
  bool spell_mode = false;
};

struct PlacedWord {
  int32_t left = 0;
  int32_t top = 0;
  std::string text;
};

struct PlacedGap {
  GapTokenKind kind = GapTokenKind::kWriteGap;
  // The answers of a write gap, the choices of a drop-down list (the empty
  // choice first).
  std::vector<GapItem> items;
  std::string initial_text;
  std::string comment;
  int32_t left = 0;
  int32_t top = 0;
  int32_t width = 0;
};

struct GapfillLayout {
  int32_t width = 0;
  int32_t height = 0;
  // The text font's "Q" height; a gap's underline lies this far below its top.
  int32_t row_height = 0;
  std::vector<PlacedWord> words;
  std::vector<PlacedGap> gaps;
};

constexpr int32_t kGapfillMargin = 8;
constexpr int64_t kMaxGapfillPageHeight = 1'000'000;
constexpr int kMaxGapfillGaps = 10'000;

// The field widths: the widest item followed by "XX" in the gap font, plus 4
// (and the drop-down arrow for a list).
int32_t WriteGapWidth(const std::vector<GapItem>& answers, const TVkTextMeasure& gap_font);
int32_t MultiGapWidth(const std::vector<GapItem>& choices, const TVkTextMeasure& gap_font, int32_t scroll_bar);

GapfillLayout LayoutGapfillPage(const std::vector<std::string>& lines, const TVkTextMeasure& text_font,
                                const TVkTextMeasure& gap_font, const GapfillPageSettings& settings);

}  // namespace vork
