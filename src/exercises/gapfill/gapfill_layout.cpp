#include "exercises/gapfill/gapfill_layout.h"

#include <algorithm>
#include <limits>

#include "platform/errors.h"

namespace vork {

namespace {

int32_t WidestItem(const std::vector<GapItem>& items, const TVkTextMeasure& gap_font) {
  int64_t widest = 0;
  for (const GapItem& item : items) widest = std::max<int64_t>(widest, gap_font.TextWidth(item.text + "XX"));
  return static_cast<int32_t>(widest);
}

// Widths and positions are summed in 64 bits: a course may measure words of
// any length, and only the page height is limited.
int32_t Clamped(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, 0, std::numeric_limits<int32_t>::max()));
}

class PageBuilder {
 public:
  PageBuilder(const TVkTextMeasure& text_font, const TVkTextMeasure& gap_font, const GapfillPageSettings& settings)
      : text_font_(text_font), gap_font_(gap_font), settings_(settings) {
    layout_.row_height = text_font.TextHeight("Q");
    width_ = int64_t{settings.client_width} - settings.scroll_bar;
    right_ = width_ - kGapfillMargin;
    blank_width_ = text_font.TextWidth(" ");
  }

  GapfillLayout Build(const std::vector<std::string>& lines) {
    const int64_t row = layout_.row_height;
    height_ = std::max<int64_t>(settings_.client_height, static_cast<int64_t>(lines.size()) * row + 16);
    CheckHeight(height_);
    y_ = kGapfillMargin;
    for (const std::string& line : lines) {
      x_ = kGapfillMargin;
      extra_ = 0;
      for (const GapMarkupToken& token : ReadGapMarkupLine(line)) Place(token);
      y_ += row + extra_;
      CheckHeight(y_);
    }
    if (settings_.client_height < height_) height_ = y_ + kGapfillMargin;
    layout_.width = Clamped(width_);
    layout_.height = Clamped(height_);
    return std::move(layout_);
  }

 private:
  void Place(const GapMarkupToken& token) {
    switch (token.kind) {
      case GapTokenKind::kWriteGap:
      case GapTokenKind::kMultiGap: PlaceGap(token); break;
      case GapTokenKind::kOtherGap: extra_ = 2; break;
      case GapTokenKind::kText: PlaceWord(token.text); break;
    }
  }

  // A gap that does not fit moves to the next row even when it is the first
  // thing on its row; the row it leaves counts as a row with a gap.
  void PlaceGap(const GapMarkupToken& token) {
    if (layout_.gaps.size() >= static_cast<size_t>(kMaxGapfillGaps)) {
      throw EVkError("Gap-fill text has more than " + std::to_string(kMaxGapfillGaps) + " gaps");
    }
    extra_ = 2;
    PlacedGap gap;
    gap.kind = token.kind;
    if (token.kind == GapTokenKind::kWriteGap) {
      gap.items = ReadGapAnswers(GapTagAttribute(token.text, "items"));
      gap.initial_text = GapTagAttribute(token.text, "initialtext");
      gap.width = WriteGapWidth(gap.items, gap_font_);
    } else {
      gap.items = ReadGapChoices(GapTagAttribute(token.text, "items"));
      gap.width = MultiGapWidth(gap.items, gap_font_, settings_.scroll_bar);
    }
    gap.comment = GapComment(token.text, settings_.spell_mode);
    const int64_t advance = int64_t{gap.width} + blank_width_;
    if (x_ + advance > right_) NewRow();
    gap.left = Clamped(x_);
    gap.top = Clamped(y_);
    Grow(y_ + layout_.row_height + 2);
    layout_.gaps.push_back(std::move(gap));
    x_ += advance;
  }

  // A word moves to the next row only when something is on its row already.
  void PlaceWord(const std::string& word) {
    if (x_ != kGapfillMargin && x_ + text_font_.TextWidth(word) >= right_) {
      NewRow();
      extra_ = 0;
    }
    Grow(y_ + layout_.row_height + extra_ + 8);
    layout_.words.push_back({Clamped(x_), Clamped(y_), word});
    x_ += text_font_.TextWidth(word + " ");
  }

  void NewRow() {
    y_ += layout_.row_height + extra_;
    x_ = kGapfillMargin;
    CheckHeight(y_);
  }

  // The page grows by at least a fifth at a time, as a bitmap would that is
  // drawn into while the text is laid out.
  void Grow(int64_t needed) {
    if (height_ >= needed) return;
    height_ = std::max(needed, height_ * 6 / 5);
    CheckHeight(height_);
  }

  static void CheckHeight(int64_t height) {
    if (height > kMaxGapfillPageHeight) {
      throw EVkError("Gap-fill text too long: its page would be taller than " +
                     std::to_string(kMaxGapfillPageHeight) + " pixels");
    }
  }

  const TVkTextMeasure& text_font_;
  const TVkTextMeasure& gap_font_;
  const GapfillPageSettings& settings_;
  GapfillLayout layout_;
  int64_t width_ = 0;
  int64_t right_ = 0;
  int64_t height_ = 0;
  int64_t blank_width_ = 0;
  int64_t x_ = 0;
  int64_t y_ = 0;
  int64_t extra_ = 0;
};

}  // namespace

int32_t WriteGapWidth(const std::vector<GapItem>& answers, const TVkTextMeasure& gap_font) {
  return Clamped(int64_t{WidestItem(answers, gap_font)} + 4);
}

int32_t MultiGapWidth(const std::vector<GapItem>& choices, const TVkTextMeasure& gap_font, int32_t scroll_bar) {
  return Clamped(int64_t{WidestItem(choices, gap_font)} + scroll_bar + 4);
}

GapfillLayout LayoutGapfillPage(const std::vector<std::string>& lines, const TVkTextMeasure& text_font,
                                const TVkTextMeasure& gap_font, const GapfillPageSettings& settings) {
  return PageBuilder(text_font, gap_font, settings).Build(lines);
}

}  // namespace vork
