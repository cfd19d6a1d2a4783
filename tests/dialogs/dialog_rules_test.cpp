// The picture dialog's rules without a window: where it goes on the screen,
// which hot spot a click hits, and how a transcript run answers it.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <limits>
#include <sstream>

#include "dialogs/dialog_hotspots.h"
#include "dialogs/dialog_placement.h"
#include "dialogs/dialog_transcript.h"
#include "platform/message_boxes.h"

namespace vork {
namespace {

using ::testing::ElementsAre;

constexpr int32_t kMaxWord = std::numeric_limits<int32_t>::max();
constexpr int32_t kMinWord = std::numeric_limits<int32_t>::min();

TEST(DialogPlacement, CentresInTheAreaMovesByTheOffsetsAndStaysOnTheScreen) {
  struct Case {
    const char* what;
    TVkDialogRect area;
    int32_t width, height, offset_x, offset_y;
    TVkDialogPosition expected;
  };
  const Case cases[] = {
      {"empty area is the whole screen", {}, 200, 100, 0, 0, {300, 250}},
      {"centred in the stage", {100, 50, 740, 530}, 200, 100, 0, 0, {320, 240}},
      {"offsets added after centring", {100, 50, 740, 530}, 200, 100, -20, 15, {300, 255}},
      {"odd leftover truncates", {0, 0, 101, 101}, 50, 50, 0, 0, {25, 25}},
      // (10 - 13) / 2 is -1 when truncating toward zero, not -2.
      {"negative leftover truncates toward zero", {10, 10, 20, 20}, 13, 13, 0, 0, {9, 9}},
      {"pushed back from the right and bottom edges", {600, 500, 800, 600}, 200, 100, 150, 90, {600, 500}},
      {"pushed back from the left and top edges", {0, 0, 100, 100}, 200, 200, -300, -300, {0, 0}},
      {"larger than the screen sits at the origin", {}, 900, 700, 0, 0, {0, 0}},
      {"a rectangle with no height counts as empty", {100, 100, 300, 100}, 200, 100, 0, 0, {300, 250}},
      {"extreme values neither wrap nor overflow", {0, 0, 800, 600}, 10, 10, kMaxWord, kMaxWord, {790, 590}},
      {"a negative size never wraps the position", {}, kMinWord, kMinWord, kMaxWord, kMaxWord, {kMaxWord, kMaxWord}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PlaceDialog(c.area, c.width, c.height, c.offset_x, c.offset_y, 800, 600), c.expected) << c.what;
}

TEST(DialogHotspots, GroupsOfFiveSeparatedByCommasOrSlashes) {
  EXPECT_THAT(ParseHotspots("ok,10,20,30,40/cancel/100/20/30/40"),
              ElementsAre(TVkHotspot{"ok", 10, 20, 40, 60}, TVkHotspot{"cancel", 100, 20, 130, 60}));
  // A trailing incomplete group is ignored.
  EXPECT_THAT(ParseHotspots("ok,0,0,10,10,next,1,2"), ElementsAre(TVkHotspot{"ok", 0, 0, 10, 10}));
  // Blanks around numbers and a hexadecimal coordinate are integers too.
  EXPECT_THAT(ParseHotspots("a, 1 ,$10,2,2"), ElementsAre(TVkHotspot{"a", 1, 16, 3, 18}));
}

TEST(DialogHotspots, ListsThatCouldNeverBeHitCountAsNoList) {
  for (const char* text : {"", "ok", "ok,1,2,3", "ok,1,x,3,4", "ok,0,0,10,10,bad,1,2,3,four", ",,,,"}) {
    EXPECT_TRUE(ParseHotspots(text).empty()) << '"' << text << '"';
  }
  // Sizes so large that the far edge would wrap stay at the word's limit.
  EXPECT_THAT(ParseHotspots("far,10,10,2147483647,2147483647"),
              ElementsAre(TVkHotspot{"far", 10, 10, kMaxWord, kMaxWord}));
}

TEST(DialogHotspots, TheFirstListedHotSpotContainingThePointWins) {
  const auto spots = ParseHotspots("big,0,0,100,100,small,10,10,10,10,right,100,0,50,50");
  struct Case {
    int32_t x, y;
    const char* expected;  // null: no hot spot
  };
  const Case cases[] = {{15, 15, "big"}, {0, 0, "big"},    {99, 99, "big"},   {100, 0, "right"},
                        {149, 49, "right"}, {150, 0, nullptr}, {100, 50, nullptr}, {-1, 5, nullptr}};
  for (const Case& c : cases) {
    const TVkHotspot* spot = HotspotAt(spots, c.x, c.y);
    if (c.expected == nullptr) {
      EXPECT_EQ(spot, nullptr) << c.x << "," << c.y;
    } else {
      ASSERT_NE(spot, nullptr) << c.x << "," << c.y;
      EXPECT_EQ(spot->name, c.expected) << c.x << "," << c.y;
    }
  }
  EXPECT_EQ(HotspotNames(spots), "big|small|right");
}

TEST(DialogHotspots, OnlyHotSpotsOnTheDialogCanBeHit) {
  struct Case {
    const char* what;
    const char* hotspots;
    int32_t width, height;
    const char* reachable;  // names joined by "|"
  };
  const Case cases[] = {
      {"inside", "a,10,10,20,20", 240, 160, "a"},
      {"partly on it, over the far corner", "a,230,150,50,50", 240, 160, "a"},
      {"partly on it, from the left", "a,-10,0,11,10", 240, 160, "a"},
      {"covering it all", "a,-5,-5,500,500", 240, 160, "a"},
      {"just right of it", "a,240,0,10,10", 240, 160, ""},
      {"just below it", "a,0,160,10,10", 240, 160, ""},
      {"ending at its left edge", "a,-10,0,10,10", 240, 160, ""},
      {"ending at its top edge", "a,0,-5,10,5", 240, 160, ""},
      {"no width", "a,5,5,0,10", 240, 160, ""},
      {"a negative size", "a,50,50,-10,-10", 240, 160, ""},
      {"the ones on it keep their order", "off,300,0,5,5/b,5,5,5,5/off2,0,200,5,5/a,0,0,9,9", 240, 160, "b|a"},
      {"a dialog without area has none", "a,0,0,10,10", 0, 0, ""},
      {"nor one without height", "a,0,0,10,10", 240, 0, ""},
      {"nor one of negative size", "a,-50,-50,100,100", -2, -2, ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(HotspotNames(ReachableHotspots(ParseHotspots(c.hotspots), c.width, c.height)), c.reachable) << c.what;
}

TEST(DialogTranscript, AnswersAsTheLearnerWouldHaveClicked) {
  struct Case {
    const char* what;
    const char* hotspots;
    int32_t timeout;
    const char* answers;
    const char* result;
    const char* answers_left;
    bool has_area = true;
  };
  const Case cases[] = {
      {"answer names a hot spot", "yes,0,0,9,9,no,10,0,9,9", 0, "no,x", "no", "x"},
      {"no answer left: first hot spot", "yes,0,0,9,9,no,10,0,9,9", 0, "", "yes", ""},
      {"no answer left: the timeout closes", "yes,0,0,9,9", 500, "", "", ""},
      {"unknown answer: like a missed click", "yes,0,0,9,9,no,10,0,9,9", 0, "maybe,x", "yes", "x"},
      {"no hot spots: any answer closes", "", 0, "ok,x", "", "x"},
      {"clicks ignored: no answer taken", "yes,0,0,9,9", -3000, "yes,x", "", "yes,x"},
      {"malformed list: no hot spots", "yes,0,zero,9,9", 0, "yes", "", ""},
      {"no area: closes at once, no answer taken", "yes,0,0,9,9", 0, "yes,x", "", "yes,x", false},
      {"no area and no hot spots: the same", "", 0, "ok", "", "ok", false},
  };
  for (const Case& c : cases) {
    std::ostringstream out;
    TranscriptAnswers answers(c.answers);
    TranscriptBoxes transcript(out, answers);
    TVkDialog dialog;
    dialog.BitmapName = "ask.img";
    dialog.Hotspots = c.hotspots;
    dialog.Timeout = c.timeout;
    EXPECT_EQ(AnswerPictureDialog(transcript, dialog, ParseHotspots(dialog.Hotspots), c.has_area), c.result)
        << c.what;
    std::string left;
    while (!answers.Empty()) left += (left.empty() ? "" : ",") + answers.Take();
    EXPECT_EQ(left, c.answers_left) << c.what;
  }
}

TEST(DialogTranscript, WritesThePictureAndTheHotSpotNames) {
  std::ostringstream out;
  TranscriptAnswers answers;
  TranscriptBoxes transcript(out, answers);
  TVkDialog dialog;
  dialog.BitmapName = "pics\\ask.img";
  dialog.Hotspots = "Ja,0,0,9,9/Nein,10,0,9,9";
  AnswerPictureDialog(transcript, dialog, ParseHotspots(dialog.Hotspots), true);
  EXPECT_EQ(out.str(), "dialog: pics\\ask.img Ja|Nein\n");
}

}  // namespace
}  // namespace vork
