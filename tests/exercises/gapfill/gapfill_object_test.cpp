// The gap-fill exercise on a real stage: its messages, the fields it places
// where the layout says, checking, marking and revealing typed answers,
// Enter in a gap, and the life of its two font objects.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTest>

#include "exercises/gapfill/font_measure.h"
#include "exercises/gapfill/gapfill.h"
#include "exercises/gapfill/gapfill_object.h"
#include "exercises/gapfill/gapfill_page.h"
#include "exercises/gapfill/multi_gap.h"
#include "exercises/gapfill/write_gap.h"
#include "support/objects_fixture.h"
#include "objects/font_object.h"
#include "data_objects/string_list_object.h"

namespace vork::testing {
namespace {

const std::vector<std::string> kExercise{
    R"(Yesterday she <gap type="write" items="went|has gone" comment="past tense"> to the)",
    R"(market and bought <gap type="write" items="Gr)" "\xFC\xDF" R"(e|-"> for her <gap type="multi" items="mat*|hat|bat">.)",
};

class GapfillTest : public ObjectsTest {
 protected:
  GapfillTest() {
    manager->RegisterClass(15, [](TVkObjectManager&) { return std::make_unique<TVkGapfillObject>(); });
    gapfill = Create(ClassIndex::Gapfill);
    Send(gapfill, GapfillMessage::SetBounds, {20, 30, 400, 150});
  }

  TVkGapfillObject& Object() { return dynamic_cast<TVkGapfillObject&>(*manager->Find(gapfill)); }
  TVkGapfill& Exercise() { return *Object().Control(); }
  TVkWriteGap& Write(int index) { return dynamic_cast<TVkWriteGap&>(Exercise().Gap(index)); }
  TVkMultiGap& Multi(int index) { return dynamic_cast<TVkMultiGap&>(Exercise().Gap(index)); }

  void Load(const std::vector<std::string>& lines) {
    const int32_t list = Create(ClassIndex::StringList);
    dynamic_cast<TVkStringListObject&>(*manager->Find(list)).SetTexts(lines);
    Send(gapfill, GapfillMessage::LoadLines, {list});
    Send(list, CommonMessage::Destroy);
  }
  void Focus(QWidget* field) {
    field->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return field->hasFocus(); }, 2000));
  }
  void TypeInto(int index, const QString& text) {
    Focus(Write(index).Field());
    TypeText(Write(index).Field(), text);
  }
  static std::pair<int32_t, int32_t> Colors(const TVkFieldGap& gap) { return {gap.TextColor(), gap.BackColor()}; }

  int32_t gapfill = 0;
};

TEST_F(GapfillTest, MessagesReadAndSetTheExercisesState) {
  EXPECT_EQ(Exercise().parentWidget(), view->Background());
  EXPECT_EQ(Exercise().geometry(), QRect(20, 30, 400, 150));
  EXPECT_EQ(SendForWord(gapfill, GapfillMessage::BackgroundColor), 0xFFFFFF);
  Send(gapfill, GapfillMessage::SetBackgroundColor, {0x00E0F0FF});
  EXPECT_EQ(SendForWord(gapfill, GapfillMessage::BackgroundColor), 0x00E0F0FF);
  EXPECT_EQ(SendForWord(gapfill, GapfillMessage::SpellMode), 0);
  Send(gapfill, GapfillMessage::SetSpellMode, {5});
  EXPECT_EQ(SendForWord(gapfill, GapfillMessage::SpellMode), 1);
  EXPECT_EQ(SendForWord(gapfill, GapfillMessage::OnComment), 0);
  Send(gapfill, GapfillMessage::SetOnComment, {Entry("count")});
  EXPECT_EQ(SendForWord(gapfill, GapfillMessage::OnComment), Entry("count"));
  EXPECT_EQ(SendForString(gapfill, GapfillMessage::EmptyString), "");
  const int32_t consumed = NewString("gone");
  Send(gapfill, GapfillMessage::Discard, {consumed});
  EXPECT_FALSE(manager->IsLive(consumed));
  Send(gapfill, GapfillMessage::SetEnabled, {0});
  Send(gapfill, GapfillMessage::SetVisible, {0});
  EXPECT_FALSE(Exercise().isEnabled());
  EXPECT_FALSE(Exercise().isVisible());
  Send(gapfill, GapfillMessage::SetEnabled, {1});
  Send(gapfill, GapfillMessage::SetVisible, {1});
  EXPECT_TRUE(Exercise().isEnabled() && Exercise().isVisible());
  EXPECT_EQ(stack.Length(), 0);
  EXPECT_EQ(Boxes(), "");
}

TEST_F(GapfillTest, FontObjectsEditTheTextFontAndTheBoldGapFont) {
  const int32_t font = SendForWord(gapfill, GapfillMessage::Font);
  const int32_t gap_font = SendForWord(gapfill, GapfillMessage::GapFont);
  EXPECT_EQ(SendForWord(gapfill, GapfillMessage::Font), font) << "kept by the exercise: the same each time";
  EXPECT_EQ(SendForString(font, FontMessage::Name), "Arial");
  EXPECT_EQ(SendForWord(font, FontMessage::Size), 10);
  EXPECT_EQ(SendForWord(font, FontMessage::Style), 0);
  EXPECT_EQ(SendForString(gap_font, FontMessage::Name), "Arial");
  EXPECT_EQ(SendForWord(gap_font, FontMessage::Style), TVkFont::kBold);
  // Fonts apply to the pages built after the change.
  Send(gap_font, FontMessage::SetSize, {14});
  Send(font, FontMessage::SetColor, {0x00008000});
  Load(kExercise);
  EXPECT_EQ(Write(0).Field()->font().pointSize(), 14);
  EXPECT_TRUE(Write(0).Field()->font().bold());
  EXPECT_EQ(Colors(Write(0)), (std::pair<int32_t, int32_t>{0x00008000, 0xFFFFFF}));
}

// The pixel-stable part of the page: the fields lie exactly where the layout
// of the same text in the same fonts puts them, and each gap's underline is
// drawn in the row just below its field.
TEST_F(GapfillTest, FieldsLieWhereTheLayoutPutsThem) {
  Send(gapfill, GapfillMessage::SetBackgroundColor, {0x00F0F0F0});
  Load(kExercise);
  const QScrollBar* bar = Exercise().ScrollBox()->verticalScrollBar();
  const GapfillLayout layout = LayoutGapfillPage(
      kExercise, TVkFontMeasure(Exercise().Font().ToQFont()), TVkFontMeasure(Exercise().GapFont().ToQFont()),
      {400, 150, bar->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, bar), false});
  ASSERT_EQ(SendForWord(gapfill, GapfillMessage::GapCount), 3);
  ASSERT_EQ(layout.gaps.size(), 3u);
  EXPECT_GT(layout.gaps[2].top, layout.gaps[0].top) << "the text wraps in 400 pixels";
  const QImage page = Exercise().Page()->grab().toImage();
  for (int index = 0; index < 3; ++index) {
    const PlacedGap& placed = layout.gaps[static_cast<size_t>(index)];
    const auto& gap = dynamic_cast<TVkFieldGap&>(Exercise().Gap(index));
    EXPECT_EQ(gap.Widget()->parentWidget(), Exercise().Page());
    EXPECT_EQ(gap.Widget()->pos(), QPoint(placed.left, placed.top)) << "gap " << index;
    EXPECT_EQ(gap.GetWidth(), placed.width) << "gap " << index;
    if (placed.kind == GapTokenKind::kWriteGap) {
      EXPECT_EQ(gap.Widget()->height(), layout.row_height);
      const int underline = placed.top + layout.row_height;
      for (int x : {placed.left, placed.left + placed.width - 1})
        EXPECT_EQ(page.pixelColor(x, underline), QColor(Qt::black)) << "gap " << index << " at " << x;
      EXPECT_EQ(page.pixelColor(placed.left + placed.width, underline), QColor(0xF0, 0xF0, 0xF0));
    }
  }
  EXPECT_EQ(Exercise().Page()->size(), QSize(layout.width, layout.height));
  EXPECT_EQ(layout.height, 150) << "a short text keeps a page as tall as the control";
}

TEST_F(GapfillTest, CheckMarksWrongGapsAndRevealShowsTheAnswers) {
  Send(gapfill, GapfillMessage::SetErrorColors, {0x00FFFFFF, 0x000000C0});  // text colour, then background
  Load(kExercise);
  TypeInto(0, "wend");
  TypeInto(1, QString::fromUtf8(" grüße "));
  Focus(Multi(2).Field());
  QTest::keyClick(Multi(2).Field(), Qt::Key_Down);
  EXPECT_EQ(Multi(2).Field()->currentText(), "bat");

  EXPECT_EQ(SendForWord(gapfill, GapfillMessage::CheckAll, {1}), 1);
  EXPECT_EQ(Write(0).Text(), "wen(d)");
  EXPECT_EQ(Write(1).Text(), "Gr\xFC\xDF" "e") << "a right answer is shown as the answer is written";
  using ColorPair = std::pair<int32_t, int32_t>;
  EXPECT_EQ(Colors(Write(0)), (ColorPair{0x00FFFFFF, 0x000000C0}));
  EXPECT_EQ(Write(0).Field()->palette().color(QPalette::Base), QColor(0xC0, 0, 0));
  EXPECT_EQ(Colors(Write(1)), (ColorPair{0, 0xFFFFFF}));
  EXPECT_EQ(Colors(Multi(2)), (ColorPair{0x00FFFFFF, 0x000000C0}));

  // Checking again without marking judges "wend" again and colours nothing.
  EXPECT_EQ(SendForWord(gapfill, GapfillMessage::CheckAll, {0}), 1);
  EXPECT_EQ(Write(0).Text(), "wen(d)");
  // Typing takes the red away: black on the background it had.
  TypeInto(0, "x");
  EXPECT_EQ(Colors(Write(0)), (ColorPair{0, 0x000000C0}));
  // Choosing or dropping down the list does too.
  Multi(2).Field()->showPopup();
  Multi(2).Field()->hidePopup();
  EXPECT_EQ(Colors(Multi(2)), (ColorPair{0, 0x000000C0}));

  Send(gapfill, GapfillMessage::ShowAllAnswers);
  EXPECT_EQ(Write(0).Text(), "went");
  EXPECT_EQ(Write(1).Text(), "Gr\xFC\xDF" "e");
  EXPECT_EQ(Multi(2).Field()->currentText(), "mat");
  EXPECT_EQ(SendForWord(gapfill, GapfillMessage::CheckAll, {1}), 3);

  Send(gapfill, GapfillMessage::ResetColors);
  for (int index = 0; index < 3; ++index)
    EXPECT_EQ(Colors(dynamic_cast<TVkFieldGap&>(Exercise().Gap(index))), (ColorPair{0, 0xFFFFFF}));
  Send(gapfill, GapfillMessage::ClearAll);
  EXPECT_EQ(Write(0).Text(), "");
  EXPECT_EQ(Multi(2).Selected(), 0);
  // The second gap takes "-" for an empty answer.
  EXPECT_EQ(SendForWord(gapfill, GapfillMessage::CheckAll, {0}), 1);
  EXPECT_EQ(stack.Length(), 0);
}

TEST_F(GapfillTest, EnterMovesToTheNextGapUnlessARoutineIsSet) {
  Load(kExercise);
  Send(gapfill, GapfillMessage::FocusFirst);
  ASSERT_TRUE(QTest::qWaitFor([&] { return Write(0).Field()->hasFocus(); }, 2000));
  const auto focused_index = [&] {
    for (int index = 0; index < 3; ++index)
      if (&Exercise().Gap(index) == Exercise().FocusedGap()) return index;
    return -1;
  };
  for (int expected : {1, 2, 0}) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(focused_index(), expected);
  }
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ShiftModifier);
  EXPECT_EQ(focused_index(), 0) << "Shift+Enter is no Enter";

  Send(gapfill, GapfillMessage::SetOnGapEnter, {Entry("count")});
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
  EXPECT_EQ(Global("ticks"), 1);
  EXPECT_EQ(Global("last"), gapfill);
  EXPECT_EQ(focused_index(), 0) << "with a routine the focus stays";
  Send(gapfill, GapfillMessage::SetOnGapEnter, {0});
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(focused_index(), 1);
  EXPECT_EQ(Global("ticks"), 1);
}

TEST_F(GapfillTest, EnterRoutineMayDestroyTheExercise) {
  Load(kExercise);
  Send(gapfill, GapfillMessage::SetOnGapEnter, {Entry("destroy")});
  QPointer<QLineEdit> field = Write(0).Field();
  const int32_t font = Object().FontObject();
  QTest::keyClick(field.data(), Qt::Key_Return);
  EXPECT_FALSE(manager->IsLive(gapfill));
  EXPECT_FALSE(manager->IsLive(font));
  QTest::keyClick(field.data(), Qt::Key_Return);
  EXPECT_EQ(Global("ticks"), 1);
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(field.isNull());
  EXPECT_EQ(Boxes(), "");
}

TEST_F(GapfillTest, FocusedGapGivesCommentAndHint) {
  Send(gapfill, GapfillMessage::SetSpellMode, {1});
  Load(kExercise);
  EXPECT_EQ(SendForString(gapfill, GapfillMessage::FocusedComment), "") << "no gap has the focus";
  TypeInto(0, "has");
  EXPECT_EQ(SendForString(gapfill, GapfillMessage::FocusedComment), "past tense");
  EXPECT_EQ(SendForString(gapfill, GapfillMessage::FocusedHint), "has gone");
  TypeInto(1, "x");
  EXPECT_EQ(SendForString(gapfill, GapfillMessage::FocusedComment), "!spell");
  EXPECT_EQ(SendForString(gapfill, GapfillMessage::FocusedHint), "Gr\xFC\xDF" "e");
  Focus(Multi(2).Field());
  EXPECT_EQ(SendForString(gapfill, GapfillMessage::FocusedHint), "") << "a list gives no hint";
}

TEST_F(GapfillTest, LoadingAgainReplacesTheGapsAndAFailedLoadKeepsThePage) {
  Load(kExercise);
  QPointer<QLineEdit> old_field = Write(0).Field();
  Load({R"(<gap type="write" items="a" initialtext="start">)"});
  EXPECT_EQ(SendForWord(gapfill, GapfillMessage::GapCount), 1);
  EXPECT_EQ(Write(0).Text(), "start");
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(old_field.isNull());
  // A list line holding a line break is two lines of the text.
  Load({"one\rtwo"});
  EXPECT_EQ(SendForWord(gapfill, GapfillMessage::GapCount), 0);
  const GapfillLayout two_lines = LayoutGapfillPage({"one", "two"}, TVkFontMeasure(Exercise().Font().ToQFont()),
                                                    TVkFontMeasure(Exercise().GapFont().ToQFont()), {400, 150, 0, false});
  EXPECT_GT(two_lines.words[1].top, two_lines.words[0].top);

  Load(kExercise);
  std::vector<std::string> too_many(1, "");
  for (int i = 0; i <= kMaxGapfillGaps; ++i) too_many[0] += R"(<gap type="write">)";
  const int32_t list = Create(ClassIndex::StringList);
  dynamic_cast<TVkStringListObject&>(*manager->Find(list)).SetTexts(too_many);
  ExpectFailure(gapfill, GapfillMessage::LoadLines, {list}, "Gap-fill text has more than 10000 gaps");
  EXPECT_EQ(SendForWord(gapfill, GapfillMessage::GapCount), 3);
  ExpectFailure(gapfill, GapfillMessage::LoadLines, {gapfill}, "string list argument " + HandleText(gapfill) + " is not a live string list");
  EXPECT_EQ(SendForWord(gapfill, GapfillMessage::GapCount), 3);
}

TEST_F(GapfillTest, SceneChangeReleasesExerciseAndFontsExactlyOnce) {
  const int32_t font = SendForWord(gapfill, GapfillMessage::Font);
  const int32_t gap_font = SendForWord(gapfill, GapfillMessage::GapFont);
  // Their owner destroys them: a scene change must not destroy them first.
  EXPECT_FALSE(manager->Find(font)->AutoRelease());
  EXPECT_FALSE(manager->Find(gap_font)->AutoRelease());
  Load(kExercise);
  EXPECT_EQ(manager->Count(), 3);
  manager->ReleaseSceneObjects();
  EXPECT_FALSE(manager->IsLive(gapfill));
  EXPECT_FALSE(manager->IsLive(font));
  EXPECT_FALSE(manager->IsLive(gap_font));
  EXPECT_EQ(manager->Count(), 0);
  EXPECT_EQ(Boxes(), "") << "no second destroy of a font object";
}

}  // namespace
}  // namespace vork::testing
