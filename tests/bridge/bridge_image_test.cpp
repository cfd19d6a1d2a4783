// Assembled images running through the real object manager.

#include <gtest/gtest.h>

#include "bridge_fixture.h"
#include "vkasm/assembler.h"
#include "vm/word_io.h"

namespace vork {
namespace {

struct ImageRun : BridgeFixture {
  AssembledImage image;

  void Run(std::string_view source, bool one_instruction_at_a_time = false) {
    image = Assemble(source, "test");
    processor.LoadImage(image.area);
    processor.SetCounting(one_instruction_at_a_time);
    processor.Run(image.start_entry);
  }
  int32_t Global(std::string_view name) {
    return ReadWord(processor.CodePointer(image.symbols.find(name)->second));
  }
};

TEST(BridgeImageTest, CompiledCodeConventionsWorkThroughTheManager) {
  ImageRun run;
  run.RecordClasses({0, 1});
  run.Run(
      ".start start\n"
      "start: enter 0\n"
      "    createobj 1\n"
      "    gstore sys\n"
      "    str \"Color\"\n"          // 1001: name, then value
      "    str \"red\"\n"
      "    sendsys 1001\n"
      "    str \"COLOR\"\n"
      "    sendsys 1000\n"
      "    gstore answer\n"
      "    str \"\"\n"              // a string destroyed, then used
      "    dupe\n"
      "    gstore dead\n"
      "    send -1\n"
      "    gload dead\n"
      "    send 3\n"
      "    gload dead\n"
      "    send -1\n"
      "    return\n"
      ".global sys, answer, dead\n");
  EXPECT_EQ(run.stack.Length(), 0);
  EXPECT_EQ(run.StringAt(run.Global("answer")).Text(), "red");
  const std::string dead = HandleText(run.Global("dead"));
  EXPECT_EQ(run.Boxes(), "plain: sendmsg: invalid handle: " + dead + "\n" +
                             "plain: Check that object was created before use.\n" +
                             "plain: sendmsg/gmi_destroy: invalid handle: " + dead + "\n");
  // Left: the system object and the answer; every literal was consumed.
  EXPECT_EQ(run.manager->Count(), 2);
  run.log.clear();
  run.manager.reset();
  EXPECT_EQ(run.log, (std::vector<std::string>{"c0#5 -3", "c0#5 freed", "c1#1 -3", "c1#1 freed"}));
}

TEST(BridgeImageTest, StringLiteralsBecomeStringObjectsOwnedByTheBytecode) {
  ImageRun run;
  run.Run(
      ".start start\n"
      "start: enter 0\n"
      "    str greeting\n"
      "    gstore a\n"
      "    str \", world\"\n"
      "    dupe\n"
      "    send2 2, a\n"       // a := a + ", world"; method2 leaves a's handle
      "    gstore b\n"
      "    send -1\n"          // the literal
      "    return\n"
      ".string greeting, \"Hello\"\n"
      ".global a, b\n");
  EXPECT_EQ(run.Global("a"), run.Global("b"));
  EXPECT_EQ(run.StringAt(run.Global("a")).Text(), "Hello, world");
  EXPECT_EQ(run.manager->Count(), 1);
}

TEST(BridgeImageTest, LiteralsAndStringMessagesTakenInTheLoopGiveWhatTheOrdinaryPathGives) {
  // The ordinary loop makes a literal in one step and takes string messages
  // without leaving the loop; the counting loop runs every instruction on its
  // own and sends every message the ordinary way. Both must give the same
  // handles, texts and answers, reuse freed strings alike, and show the same
  // notices.
  const char* const source =
      ".start start\n"
      "start: enter 0\n"
      "    str \"k\"\n"
      "    gstore kept\n"
      "loop:\n"
      "    str \"ab\"\n"
      "    dupe\n"
      "    gstore last\n"
      "    dupe\n"
      "    send2 2, kept\n"         // kept := kept + "ab"; method2 leaves kept
      "    wipe\n"
      "    send -1\n"
      "    gload last\n"
      "    send -1\n"              // destroyed twice: a notice
      "    str \"\"\n"
      "    gstore empty\n"
      "    gload empty\n"
      "    send 3, last\n"         // to a destroyed string: a notice, nothing popped
      "    wipe\n"
      "    push 7\n"
      "    gload empty\n"
      "    send 0, empty\n"        // assigned to itself; takes its argument
      "    gstore seven\n"
      "    gload kept\n"
      "    send 3, empty\n"        // "" against kept: -1
      "    push 3\n"
      "    mul\n"
      "    gload empty\n"
      "    send 3, kept\n"         // kept against "": 1
      "    add\n"
      "    gstore order\n"
      "    gload i\n"
      "    one\n"
      "    add\n"
      "    dupe\n"
      "    gstore i\n"
      "    push 3\n"
      "    lt\n"
      "    brtrue loop\n"
      "    return\n"
      ".global kept, last, empty, order, seven, i\n";
  struct Outcome {
    std::vector<int32_t> handles;
    int32_t stack_length = 0;
    std::vector<std::string> texts;
    int count = 0;
    std::string boxes;
    bool operator==(const Outcome&) const = default;
  };
  const auto outcome = [&](bool one_instruction_at_a_time) {
    ImageRun run;
    run.Run(source, one_instruction_at_a_time);
    Outcome result;
    result.handles = {run.Global("last"), run.Global("empty"), run.Global("order"), run.Global("seven")};
    result.stack_length = run.stack.Length();
    result.count = run.manager->Count();
    for (int position = 0; position < result.count; ++position) {
      const auto* string = dynamic_cast<const TVkStringObject*>(&run.manager->ObjectAt(position));
      result.texts.push_back(string != nullptr ? string->Text() : "(not a string)");
    }
    result.boxes = run.Boxes();
    return result;
  };
  const Outcome fused = outcome(false);
  EXPECT_EQ(fused, outcome(true));
  // kept, then the empty literal that each round keeps.
  EXPECT_EQ(fused.texts, (std::vector<std::string>{"kababab", "", "", ""}));
  EXPECT_EQ(fused.handles[2], -2);
  EXPECT_EQ(fused.handles[3], 7);
  EXPECT_NE(fused.boxes.find("sendmsg/gmi_destroy: invalid handle: " + HandleText(fused.handles[0])),
            std::string::npos);
  EXPECT_NE(fused.boxes.find("sendmsg: invalid handle: " + HandleText(fused.handles[0])), std::string::npos);
}

TEST(BridgeImageTest, FaultInsideAMessageHandlerLeavesTheMachineConsistent) {
  // Message 2 with an argument that is no string: the handler raises, and
  // the fault travels out of Run with the entry state restored, having shown
  // the fault event where it happened, in the loop or out of it alike.
  const auto fault_at = [](bool one_instruction_at_a_time) {
    ImageRun run;
    int32_t at = -1;
    run.processor.SetOnFault([&](TVkProcessor& processor) { at = processor.InstructionPointer(); });
    EXPECT_THROW(run.Run(".start s\ns: enter 0\npush 12345\nstr \"x\"\nsend 2\nreturn\n",
                         one_instruction_at_a_time),
                 EVkError);
    EXPECT_EQ(run.stack.Length(), 0);
    EXPECT_EQ(run.processor.Depth(), 0);
    return at;
  };
  EXPECT_GT(fault_at(false), 0);
  EXPECT_EQ(fault_at(false), fault_at(true));
}

}  // namespace
}  // namespace vork
