// Laying out a gap-fill page: where words and gaps go, when they move to the
// next row, how tall rows and the page are, and the limits of a page.
//
// The fonts here are monospaced: every byte is 6 pixels wide in the text
// font and 8 in the bold gap font, and a row is 10 pixels tall.

#include <gtest/gtest.h>

#include "exercises/gapfill/gapfill_layout.h"
#include "platform/errors.h"

namespace vork {
namespace {

class FixedMeasure : public TVkTextMeasure {
 public:
  explicit FixedMeasure(int32_t byte_width) : byte_width_(byte_width) {}
  int32_t TextWidth(std::string_view text) const override { return static_cast<int32_t>(text.size()) * byte_width_; }
  int32_t TextHeight(std::string_view) const override { return 10; }

 private:
  int32_t byte_width_;
};

constexpr int32_t kScrollBar = 17;

struct WordAt {
  int32_t left, top;
  std::string text;
  bool operator==(const WordAt&) const = default;
};

class GapfillLayoutTest : public ::testing::Test {
 protected:
  GapfillLayout Layout(const std::vector<std::string>& lines, int32_t client_width = 300,
                       int32_t client_height = 200, bool spell_mode = false) {
    return LayoutGapfillPage(lines, text_font, gap_font, {client_width, client_height, kScrollBar, spell_mode});
  }
  static std::vector<WordAt> Words(const GapfillLayout& layout) {
    std::vector<WordAt> words;
    for (const PlacedWord& word : layout.words) words.push_back({word.left, word.top, word.text});
    return words;
  }

  FixedMeasure text_font{6};
  FixedMeasure gap_font{8};
};

TEST_F(GapfillLayoutTest, WordsAndGapsFollowEachOtherOnARow) {
  const GapfillLayout page = Layout({R"(The <gap type="write" items="went|has gone*" initialtext="go" comment="past tense"> on the <gap type="multi" items="mat*|hat|bat">)"});
  EXPECT_EQ(page.width, 300 - kScrollBar);
  EXPECT_EQ(page.height, 200);
  EXPECT_EQ(page.row_height, 10);
  EXPECT_EQ(Words(page), (std::vector<WordAt>{{8, 8, "The"}, {122, 8, "on"}, {140, 8, "the"}}));
  ASSERT_EQ(page.gaps.size(), 2u);
  const PlacedGap& write = page.gaps[0];
  EXPECT_EQ(write.kind, GapTokenKind::kWriteGap);
  EXPECT_EQ(write.items, (std::vector<GapItem>{{"went", false}, {"has gone", true}}));
  EXPECT_EQ(write.initial_text, "go");
  EXPECT_EQ(write.comment, "past tense");
  // "has goneXX" in the gap font, plus 4; a blank's width follows the gap.
  EXPECT_EQ(write.width, 10 * 8 + 4);
  EXPECT_EQ((std::pair{write.left, write.top}), (std::pair{32, 8}));
  const PlacedGap& multi = page.gaps[1];
  EXPECT_EQ(multi.kind, GapTokenKind::kMultiGap);
  EXPECT_EQ(multi.items.size(), 4u);
  EXPECT_EQ(multi.width, 5 * 8 + kScrollBar + 4);
  EXPECT_EQ((std::pair{multi.left, multi.top}), (std::pair{164, 8}));
}

TEST_F(GapfillLayoutTest, AWordMovesOnlyWhenTheRowHoldsSomethingAlready) {
  // "aaaa " ends at 38; "bbbb" would end at 62: it moves when that reaches
  // the right limit (page width - 8), and a word too wide for any row stays.
  const struct {
    int32_t page_width;
    std::vector<WordAt> words;
  } cases[] = {
      {71, {{8, 8, "aaaa"}, {38, 8, "bbbb"}}},
      {70, {{8, 8, "aaaa"}, {8, 18, "bbbb"}}},
      {20, {{8, 8, "aaaa"}, {8, 18, "bbbb"}}},
      {-50, {{8, 8, "aaaa"}, {8, 18, "bbbb"}}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Words(Layout({"aaaa bbbb"}, c.page_width + kScrollBar)), c.words) << c.page_width;
  }
}

TEST_F(GapfillLayoutTest, AGapThatDoesNotFitMovesEvenFromTheStartOfItsRow) {
  // The gap takes 8 * 3 + 4 = 28 pixels and a 6-pixel blank after it.
  const std::string gap = R"(<gap type="write" items="a">)";
  const auto tops = [&](int32_t page_width) {
    std::vector<std::pair<int32_t, int32_t>> places;
    for (const PlacedGap& placed : Layout({gap + " " + gap}, page_width + kScrollBar).gaps)
      places.emplace_back(placed.left, placed.top);
    return places;
  };
  using Places = std::vector<std::pair<int32_t, int32_t>>;
  EXPECT_EQ(tops(84), (Places{{8, 8}, {42, 8}}));   // 42 + 34 = 76 = the limit: fits
  EXPECT_EQ(tops(83), (Places{{8, 8}, {8, 20}}));   // the row it leaves is a gap row
  EXPECT_EQ(tops(49), (Places{{8, 20}, {8, 32}}));  // too wide for any row
}

TEST_F(GapfillLayoutTest, RowsWithGapsAreTwoPixelsTaller) {
  const auto top_of_last_word = [&](const std::vector<std::string>& lines) { return Layout(lines).words.back().top; };
  EXPECT_EQ(top_of_last_word({"a", "b"}), 18);
  EXPECT_EQ(top_of_last_word({"a", "", "b"}), 28);
  EXPECT_EQ(top_of_last_word({R"(a <gap type="write" items="x">)", "b"}), 20);
  // A tag of another type shows nothing but still makes its row taller.
  const GapfillLayout other = Layout({R"(<gap type="note" items="x"> a)", "b"});
  EXPECT_EQ(Words(other), (std::vector<WordAt>{{8, 8, "a"}, {8, 20, "b"}}));
  EXPECT_TRUE(other.gaps.empty());
  // A word that moves to a new row starts it as a row without a gap.
  const GapfillLayout moved = Layout({R"(<gap type="write" items="xxxxxxxxxxxxxxxxxxxxxxxx"> word)", "end"}, 250 + kScrollBar);
  EXPECT_EQ(Words(moved), (std::vector<WordAt>{{8, 20, "word"}, {8, 30, "end"}}));
}

TEST_F(GapfillLayoutTest, APageIsAsTallAsTheControlOrEndsBelowItsLastRow) {
  EXPECT_EQ(Layout({"short"}).height, 200);
  EXPECT_EQ(Layout({}).height, 200);
  // 30 rows of 10 and one row with a gap: the page ends 8 below the last.
  std::vector<std::string> lines(30, "a");
  lines[3] = R"(<gap type="write" items="x">)";
  EXPECT_EQ(Layout(lines).height, 8 + 29 * 10 + 12 + 8);
  // Few lines that wrap into more rows than the control holds.
  const std::string words = "aaaa bbbb cccc dddd eeee ffff gggg hhhh iiii jjjj kkkk llll";
  EXPECT_EQ(Layout({words}, 40 + kScrollBar, 100).height, 8 + 12 * 10 + 8);
}

TEST_F(GapfillLayoutTest, SpellModeCommentsTheGapsWithoutAComment) {
  const std::vector<std::string> lines{R"(<gap type="write" items="x"> <gap type="multi" items="y" comment="pick">)"};
  EXPECT_EQ(Layout(lines, 300, 200, true).gaps[0].comment, "!spell");
  EXPECT_EQ(Layout(lines, 300, 200, true).gaps[1].comment, "pick");
  EXPECT_EQ(Layout(lines, 300, 200, false).gaps[0].comment, "");
}

TEST_F(GapfillLayoutTest, OversizedTextsFailInsteadOfTakingTheMemory) {
  const auto failure = [&](const std::vector<std::string>& lines) -> std::string {
    try {
      Layout(lines);
    } catch (const EVkError& error) {
      return error.what();
    }
    return "no failure";
  };
  EXPECT_EQ(failure(std::vector<std::string>(100'000, "a")),
            "Gap-fill text too long: its page would be taller than 1000000 pixels");
  // One long line of words that each take a row.
  std::string column;
  for (int i = 0; i < 110'000; ++i) column += "wwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwwww ";
  EXPECT_EQ(failure({column}), "Gap-fill text too long: its page would be taller than 1000000 pixels");
  std::string gaps;
  for (int i = 0; i <= kMaxGapfillGaps; ++i) gaps += R"(<gap type="write">)";
  EXPECT_EQ(failure({gaps}), "Gap-fill text has more than 10000 gaps");
  gaps.resize(gaps.size() - std::string(R"(<gap type="write">)").size());
  EXPECT_EQ(Layout({gaps}).gaps.size(), static_cast<size_t>(kMaxGapfillGaps));
}

}  // namespace
}  // namespace vork
