// Faults and invalid-handle notices that say where in the course source they
// happened: the line, the routine and the routines that called it, and what
// became of a handle that a scene change released. The place goes to
// standard error always and into the box only when asked to, so that the
// transcripts of ordinary runs stay as they were.

#include "bridge/source_locator.h"

#include <gtest/gtest.h>

#include "bridge/event_boundary.h"
#include "bridge_fixture.h"
#include "vkasm/assembler.h"
#include "vm/word_io.h"

namespace vork {
namespace {

// A scene "ask" showing (phase 1) calls "answered", which either divides by
// zero or sends a message to the sprite kept in the global "card".
constexpr std::string_view kCourse =
    ".start start\n"
    "start:    enter 0\n"
    "s_call:   push 1\n"
    "          call ask\n"
    "          return\n"
    "ask:      enter 1\n"
    "a_call:   call answered\n"
    "          return\n"
    "answered: enter 0\n"
    "          gload mode\n"
    "          brtrue notice\n"
    "divide:   push 7\n"
    "          push 0\n"
    "          div\n"
    "          return\n"
    "notice:   send 5, card\n"
    "          return\n"
    ".global mode\n"
    ".global card\n";

struct Located : BridgeFixture {
  AssembledImage image = Assemble(kCourse, "test");
  SourceLocator locator{SourceMap::Parse(MapText())};
  SourceLocator::Installed installed{&locator};

  Located() {
    RecordClasses({3});
    processor.LoadImage(image.area);
    processor.SetOnFault([this](TVkProcessor& running) { locator.NoteFault(running); });
  }
  ~Located() override { SourceLocator::SetInBoxes(false); }

  int32_t At(std::string_view label) const { return image.symbols.find(label)->second; }
  std::string MapText() const {
    return "vkmap 1\nfile 0 flash.vkc\n"
           "routine " + std::to_string(At("start")) + " main start\n" +
           "routine " + std::to_string(At("ask")) + " scene ask\n" +
           "routine " + std::to_string(At("answered")) + " routine answered\n" +
           "line " + std::to_string(At("start")) + " 0 2\n" +
           "line " + std::to_string(At("ask")) + " 0 5\n" +
           "line " + std::to_string(At("answered")) + " 0 9\n" +
           "line " + std::to_string(At("divide")) + " 0 10\n" +
           "line " + std::to_string(At("notice")) + " 0 12\n";
  }
  void SetGlobal(std::string_view name, int32_t value) {
    WriteWord(processor.CodePointer(At(name)), value);
  }
  // Runs the course as an event would; what standard error got.
  std::string RunEvent() {
    ::testing::internal::CaptureStderr();
    RunAtEventBoundary(processor, [&] { processor.Run(image.start_entry); });
    return ::testing::internal::GetCapturedStderr();
  }
};

constexpr const char* kPlace = "flash.vkc:10 in answered, called from ask (scene, SHOWN), called from start";

TEST(SourceLocatorTest, AFaultNamesTheLineOfTheInnermostRoutineAndItsCallers) {
  for (const bool in_boxes : {false, true}) {
    Located run;
    SourceLocator::SetInBoxes(in_boxes);
    const std::string errors = run.RunEvent();
    EXPECT_EQ(errors, std::string("Error code = 11\n  at ") + kPlace + "\n");
    EXPECT_EQ(run.Boxes(), in_boxes ? std::string("error: Error code = 11\\n") + kPlace + "\n"
                                    : "error: Error code = 11\n");
    // The interrupted registers were put back all the same.
    EXPECT_EQ(run.processor.FramePointer(), 0);
    EXPECT_EQ(run.stack.Length(), 0);
  }
}

TEST(SourceLocatorTest, ANoticeAboutAHandleTheSceneChangeReleasedSaysSo) {
  for (const bool in_boxes : {false, true}) {
    Located run;
    SourceLocator::SetInBoxes(in_boxes);
    const int32_t card = run.manager->CreateObject(3);
    run.manager->ReleaseSceneObjects(run.At("ask"));
    run.SetGlobal("mode", 1);
    run.SetGlobal("card", card);
    const std::string errors = run.RunEvent();
    const std::string notice = "sendmsg: invalid handle: " + HandleText(card);
    const std::string where =
        "flash.vkc:12 in answered, called from ask (scene, SHOWN), called from start "
        "(a Sprite, released by the scene change to ask)";
    EXPECT_EQ(errors, notice + "\n  at " + where + "\n");
    EXPECT_EQ(run.Boxes(), "plain: " + notice + (in_boxes ? "\\n" + where : "") + "\n" +
                               "plain: Check that object was created before use.\n");
  }
}

TEST(SourceLocatorTest, WithoutAKnownPlaceTheBoxesStayAsTheyWere) {
  Located run;
  SourceLocator::SetInBoxes(true);
  // A handle that was never released, sent from outside any routine the map
  // lists: nothing to add.
  ::testing::internal::CaptureStderr();
  run.manager->SendMsg(0x00500001, 5);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
  EXPECT_EQ(run.Boxes(),
            "plain: sendmsg: invalid handle: $00500001\nplain: Check that object was created before use.\n");
}

TEST(SourceLocatorTest, ACallChainIsCutShortAndAnUnknownPhaseIsANumber) {
  // Frames laid out by hand: "loop" (a scene in phase 7) called itself
  // twenty times.
  const SourceMap map = SourceMap::Parse("vkmap 1\nfile 0 a.vkc\nroutine 100 scene loop\nline 100 0 4\n");
  SourceLocator locator(map);
  TVkStack stack;
  int32_t fp = 0;
  for (int depth = 0; depth < 20; ++depth) {
    stack.Push(7);                       // the phase
    stack.Push(depth == 0 ? 0 : 110);    // saved instruction pointer
    stack.Push(fp);                      // saved frame pointer
    fp = stack.Length();
    stack.Push(1);                       // argument count
  }
  const std::string where = locator.Where(stack, 110, fp);
  EXPECT_EQ(where.rfind("a.vkc:4 in loop (scene, phase 7), called from loop (scene, phase 7)", 0), 0u) << where;
  size_t frames = 0;
  for (size_t at = where.find("loop"); at != std::string::npos; at = where.find("loop", at + 1)) ++frames;
  EXPECT_EQ(frames, 9u);  // the routine and eight callers
  EXPECT_EQ(locator.Where(stack, 50, fp), "");  // before the first routine
}

}  // namespace
}  // namespace vork
