#include "vm/processor.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <iterator>
#include <optional>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "vkasm/assembler.h"
#include "vm/image.h"

namespace vork {
namespace {

template <class Fault>
int FaultCode(const std::function<void()>& action) {
  try {
    action();
  } catch (const Fault& e) {
    return e.Code();
  }
  return -1;
}

// A processor on the player's stack with an assembled image loaded.
struct Machine {
  TVkStack stack;
  TVkProcessor processor{stack};
  AssembledImage image;

  explicit Machine(std::string_view source) { Load(source); }
  void Load(std::string_view source) {
    image = Assemble(source, "test");
    processor.LoadImage(image.area);
  }
  int32_t Symbol(std::string_view name) const { return image.symbols.find(name)->second; }
  int32_t Global(std::string_view name) { return ReadWord(processor.CodePointer(Symbol(name))); }
  void Run() { processor.Run(image.start_entry); }
  std::vector<int32_t> Words() const {
    std::vector<int32_t> words;
    for (int32_t at = 0; at < stack.Length(); at += 4) words.push_back(stack.Peek(at));
    return words;
  }
};

// Runs "body" inside a routine without arguments whose result local receives
// the word the body leaves on top; returns that result.
int32_t Evaluate(const std::string& body) {
  Machine machine("enter 0, 1\n" + body + "\nstore 4\nreturnval\n");
  machine.Run();
  EXPECT_EQ(machine.stack.Length(), 4) << body;
  return machine.stack.Peek(0);
}

TEST(ProcessorTest, WorkedExampleReturnsItsArgumentInPlace) {
  // R: one, zero, loadcon 4, loadcon -12, load, store, returnval
  Machine machine(".start r\nr: one\nzero\nloadcon 4\nloadcon -12\nload\nstore\nreturnval\n");
  machine.stack.Push(7);
  machine.Run();
  EXPECT_EQ(machine.Words(), std::vector<int32_t>{7});
  EXPECT_EQ(machine.processor.InstructionPointer(), 0);
  EXPECT_EQ(machine.processor.FramePointer(), 0);
}

TEST(ProcessorTest, ArithmeticLogicAndComparisonsTakeTheLowerWordAsLeftOperand) {
  struct Case {
    int32_t s;
    int32_t t;
    const char* op;
    int32_t expected;
  };
  const Case cases[] = {
      {5, 3, "sub", 2},
      {7, 2, "div", 3},
      {-7, 2, "div", -3},
      {-7, 2, "mod", -1},
      {7, -2, "mod", 1},
      {INT_MIN, -1, "div", INT_MIN},  // wraps instead of trapping
      {INT_MIN, -1, "mod", 0},
      {INT_MAX, 1, "add", INT_MIN},
      {INT_MIN, 1, "sub", INT_MAX},
      {0x10000, 0x10001, "mul", 0x10000},
      {1, 33, "shl", 2},
      {-1, 28, "shr", 15},
      {-8, 1, "shr", 0x7FFFFFFC},  // logical, not arithmetic
      {0b1100, 0b1010, "and", 0b1000},
      {0b1100, 0b1010, "or", 0b1110},
      {0b1100, 0b1010, "xor", 0b0110},
      {3, 5, "lt", 1},
      {5, 3, "lt", 0},
      {-1, 1, "lt", 1},
      {3, 3, "le", 1},
      {4, 3, "le", 0},
      {3, 3, "eq", 1},
      {3, 4, "eq", 0},
      {3, 4, "ne", 1},
      {3, 3, "ge", 1},
      {2, 3, "ge", 0},
      {1, -1, "gt", 1},
      {3, 3, "gt", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.s) + " " + c.op + " " + std::to_string(c.t));
    EXPECT_EQ(Evaluate("push " + std::to_string(c.s) + "\npush " + std::to_string(c.t) + "\n" + c.op),
              c.expected);
  }
}

TEST(ProcessorTest, UnaryStackAndConstantInstructions) {
  struct Case {
    const char* body;
    int32_t expected;
  };
  const Case cases[] = {
      {"zero\nnot", -1},  // bitwise, not logical
      {"push 5\nnot", -6},
      {"push 5\nnegate", -5},
      {"push -2147483648\nnegate", INT_MIN},
      {"minusone", -1},
      {".byte 41, 0xFF", -1},                     // loadc sign-extends
      {".byte 41, 0x7F", 127},
      {".byte 30, 0xF4, 0xFF, 0xFF, 0xFF", -12},  // loadcon is little-endian
      {"push 3\ndupe\nadd", 6},
      {"push 1\npush 2\nswap\nsub", 1},
      {"push 9\npush 1\npush 2\nswap\nwipe\nsub", 7},
      // b a -> a a b
      {"push 1\npush 2\ndswap\npush 100\nmul\nadd\npush 10\nmul\nadd", 2 * 10 + 2 + 100 * 1 * 10},
      {"push 3\nzerofill\nadd\nadd", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.body);
    EXPECT_EQ(Evaluate(c.body), c.expected);
  }
}

TEST(ProcessorTest, ConditionalBranchesTestForZero) {
  struct Case {
    const char* instruction;
    int32_t condition;
    bool taken;
  };
  const Case cases[] = {
      {"brfalse", 0, true}, {"brfalse", 2, false}, {"brtrue", -1, true}, {"brtrue", 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.instruction) + " " + std::to_string(c.condition));
    const std::string body = "push " + std::to_string(c.condition) + "\n" + c.instruction +
                             " yes\npush 20\njump out\nyes: push 10\nout:";
    EXPECT_EQ(Evaluate(body), c.taken ? 10 : 20);
  }
}

TEST(ProcessorTest, CallAndReturnConventions) {
  // The callee takes two arguments; "sum" returns nothing, "diff" returns
  // first - second, "constant" takes none and returns 42.
  const std::string routines =
      "sum: enter 2, 1\nload -16\nload -12\nadd\nstore 4\nreturn\n"
      "diff: enter 2, 1\nload -16\nload -12\nsub\nstore 4\nreturnval\n"
      "constant: enter 0, 1\npush 42\nstore 4\nreturnval\n";
  struct Case {
    const char* call;
    std::vector<int32_t> after;  // caller's operands after the call
  };
  const Case cases[] = {
      {"push 99\npush 7\npush 5\ncall sum", {99}},
      {"push 99\npush 7\npush 5\ncall diff", {99, 2}},
      {"push 99\ncall constant", {99, 42}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.call);
    // The caller stores its operands in globals so that they can be read
    // after it has returned.
    std::string source = ".start caller\ncaller: enter 0\n" + std::string(c.call) + "\n";
    for (size_t i = c.after.size(); i-- > 0;) source += "gstore g" + std::to_string(i) + "\n";
    source += "return\n" + routines + ".global g0, g1\n";
    Machine machine(source);
    machine.Run();
    EXPECT_EQ(machine.stack.Length(), 0);
    for (size_t i = 0; i < c.after.size(); ++i) EXPECT_EQ(machine.Global("g" + std::to_string(i)), c.after[i]);
  }
}

TEST(ProcessorTest, ReturnValueOfARoutineWithoutArgumentsTakesTheSavedPointersPlace) {
  Machine machine("enter 0, 1\npush 5\nstore 4\nreturnval\n");
  machine.stack.Push(1);
  machine.stack.Push(2);
  machine.Run();
  EXPECT_EQ(machine.Words(), (std::vector<int32_t>{1, 2, 5}));
}

TEST(ProcessorTest, GlobalsAreWordsAtAnyOffsetUpToTheLastFourBytes) {
  // Data area: one pad byte, then g (odd offset), then the last word.
  Machine machine(
      "enter 0\npush 0x12345678\ngstore g\npush -2\ngstore last\n"
      "gload g\ngstore copy\nreturn\n"
      ".string pad, \"\"\n.global g, copy, last\n");
  machine.Run();
  ASSERT_EQ(machine.Symbol("g") % 2, 1);
  ASSERT_EQ(machine.Symbol("last"), machine.processor.AreaLength() - 4);
  EXPECT_EQ(machine.Global("g"), 0x12345678);
  EXPECT_EQ(machine.Global("copy"), 0x12345678);
  EXPECT_EQ(machine.Global("last"), -2);
  // The processor works on its own copy: the assembled bytes are untouched.
  EXPECT_EQ(ReadWord(machine.image.area.data() + machine.Symbol("g")), 0);
}

TEST(ProcessorTest, FaultsCarryTheirCodes) {
  struct Case {
    const char* body;
    bool stack_fault;
    int code;
  };
  const std::string data = "\n.global a, b\n";  // the area ends with two words
  const Case cases[] = {
      {".byte 42", false, EVkProcessor::kBadOpcode},
      {".byte 255", false, EVkProcessor::kBadOpcode},
      {"push 1\nzero\ndiv", false, EVkProcessor::kDivisionByZero},
      {"push 1\nzero\nmod", false, EVkProcessor::kDivisionByZero},
      {"gload -1", false, EVkProcessor::kBadGlobalRead},
      {"loadcon b\none\nadd\ngload", false, EVkProcessor::kBadGlobalRead},
      {"push 1\ngstore -1", false, EVkProcessor::kBadGlobalWrite},
      {"loadcon b\none\nadd\npush 1\ngstore", false, EVkProcessor::kBadGlobalWrite},
      {"jump 100000", false, EVkProcessor::kOutsideImage},
      {"jump -1", false, EVkProcessor::kOutsideImage},
      {"call 100000", false, EVkProcessor::kOutsideImage},
      {"wipe\nwipe\nwipe\nwipe\nwipe", true, EVkStack::kUnderflow},
      {"add\nadd\nadd\nadd", true, EVkStack::kUnderflow},
      {"load 8", true, EVkStack::kBadPeek},
      {"load -100", true, EVkStack::kBadPeek},
      {"push 1\nstore 8", true, EVkStack::kBadPoke},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.body);
    Machine machine("enter 0\n" + std::string(c.body) + "\nreturn" + data);
    machine.stack.Push(77);
    const auto run = [&] { machine.Run(); };
    EXPECT_EQ(c.stack_fault ? FaultCode<EVkStack>(run) : FaultCode<EVkProcessor>(run), c.code);
    // The activation left nothing behind.
    EXPECT_EQ(machine.Words(), std::vector<int32_t>{77});
    EXPECT_EQ(machine.processor.Depth(), 0);
  }
  EXPECT_STREQ(EVkProcessor(11).what(), "Error code = 11");
}

TEST(ProcessorTest, ADamagedImageCannotLeadExecutionOutsideTheArea) {
  struct Case {
    const char* source;
  };
  const Case cases[] = {
      {"zero"},                        // runs off the end
      {"zero\n.byte 30, 1, 2"},        // loadcon cut short by the end of the area
      {"zero\n.byte 41"},              // loadc without its byte
      // a return address outside, written over the saved one
      {"enter 0\ncall inner\nreturn\ninner: enter 0\npush -5\nstore -8\nreturn"},
      {"enter 0\ncall inner\nreturn\ninner: enter 0\npush 100000\nstore -8\nreturn"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source);
    Machine machine(c.source);
    EXPECT_EQ(FaultCode<EVkProcessor>([&] { machine.Run(); }), EVkProcessor::kOutsideImage);
  }
  Machine empty("");
  EXPECT_EQ(FaultCode<EVkProcessor>([&] { empty.processor.Run(0); }), EVkProcessor::kOutsideImage);
  Machine machine("zero");
  EXPECT_EQ(FaultCode<EVkProcessor>([&] { machine.processor.Run(-3); }), EVkProcessor::kOutsideImage);
}

TEST(ProcessorTest, StringConstantsNeverReadOutsideTheArea) {
  Machine machine("zero\n.byte 97, 98, 99, 0, 65, 66");  // the last constant lacks its NUL
  const int32_t area = machine.processor.AreaLength();
  EXPECT_EQ(machine.processor.StringConstant(1), "abc");
  EXPECT_EQ(machine.processor.StringConstant(area - 2), "AB");
  EXPECT_EQ(machine.processor.StringConstant(area), "");
  EXPECT_EQ(machine.processor.StringConstant(-1), "");

  // Constants on either side of the scan's eight-byte steps, ended by a NUL
  // or by the area.
  for (const size_t length : {0, 1, 7, 8, 9, 15, 16, 17, 31, 32, 33, 100}) {
    std::vector<uint8_t> bytes(length, 'x');
    bytes.push_back(0);
    bytes.insert(bytes.end(), length, 'y');
    TVkStack stack;
    TVkProcessor processor(stack);
    processor.LoadImage(bytes);
    EXPECT_EQ(processor.StringConstant(0), std::string(length, 'x'));
    EXPECT_EQ(processor.StringConstant(static_cast<int32_t>(length + 1)), std::string(length, 'y'));
  }
}

TEST(ProcessorTest, LoadingASecondImageReplacesTheFirstCompletely) {
  Machine machine("enter 0\npush 5\ngstore g\nreturn\n.global g, h\n");
  machine.Run();
  machine.Load("enter 0, 1\ngload 0\nstore 4\nreturnval\n");
  const auto second_area = machine.image.area;
  EXPECT_EQ(machine.processor.AreaLength(), static_cast<int32_t>(second_area.size()));
  EXPECT_EQ(std::vector<uint8_t>(machine.processor.CodePointer(0),
                                 machine.processor.CodePointer(machine.processor.AreaLength())),
            second_area);
  // An address that was a global of the first image is outside the second.
  EXPECT_EQ(FaultCode<EVkProcessor>([&] { Evaluate("gload 20"); }), EVkProcessor::kBadGlobalRead);
}

TEST(ProcessorTest, ImageHeaderMagicIsNotChecked) {
  auto bytes = ImageFileBytes(Assemble(".start r\nzero\nr: enter 0, 1\npush 3\nstore 4\nreturnval\n"));
  bytes.replace(0, 4, "XXXX");
  std::istringstream in(bytes);
  const TVkImageHeader header = ReadImageHeader(in);
  EXPECT_EQ(header.start_entry, 1);
  const std::string rest(std::istreambuf_iterator<char>(in), {});
  TVkStack stack;
  TVkProcessor processor(stack);
  processor.LoadImage(std::span(reinterpret_cast<const uint8_t*>(rest.data()), rest.size()));
  processor.Run(header.start_entry);
  EXPECT_EQ(stack.Pop(), 3);

  std::istringstream truncated(bytes.substr(0, 19));
  EXPECT_THROW(ReadImageHeader(truncated), EVkError);
}

// Each level calls the next until the global count reaches 0; every frame
// holds just the saved pointers and the argument count.
constexpr const char* kRecursion =
    ".start down\n"
    "down: enter 0\n"
    "gload depth\nminusone\nadd\ndupe\ngstore depth\n"
    "brfalse bottom\ncall down\n"
    "bottom: return\n"
    ".global depth\n";

TEST(ProcessorTest, DeepBytecodeRecursionNeedsOnlyTheValueStack) {
  Machine machine(kRecursion);
  WriteWord(machine.processor.CodePointer(machine.Symbol("depth")), 80000);
  machine.Run();
  EXPECT_EQ(machine.stack.Length(), 0);
  EXPECT_EQ(machine.Global("depth"), 0);
}

TEST(ProcessorTest, RunawayRecursionEndsWithAFullStackAndUnwindsItsFrames) {
  Machine machine(kRecursion);
  WriteWord(machine.processor.CodePointer(machine.Symbol("depth")), -1);  // never reaches 0
  machine.stack.Push(5);
  EXPECT_EQ(FaultCode<EVkStack>([&] { machine.Run(); }), EVkStack::kFull);
  EXPECT_EQ(machine.Words(), std::vector<int32_t>{5});
  EXPECT_EQ(machine.processor.FramePointer(), 0);
  EXPECT_EQ(machine.processor.InstructionPointer(), 0);
}

// Records the events of a processor it is bound to; messages can run code of
// their own.
struct EventLog final : TVkObjectEvents {
  TVkProcessor& processor;
  std::vector<std::string> entries;
  std::function<void(TVkProcessor&, int32_t, int32_t)> on_message;
  // Whether the one-step string literal is taken (else declined).
  bool accept_literals = false;

  explicit EventLog(TVkProcessor& bound) : processor(bound) {
    processor.SetObjectEvents(this);
    processor.SetOnStop([this](TVkProcessor&) { entries.push_back("stop"); });
  }
  ~EventLog() {
    processor.SetObjectEvents(nullptr);
    processor.SetOnStop(nullptr);
  }
  EventLog(const EventLog&) = delete;
  EventLog& operator=(const EventLog&) = delete;

  int32_t CreateObjectEvent(int32_t class_index) override {
    entries.push_back("create " + std::to_string(class_index));
    return 1000 + class_index;
  }
  void SendMessageEvent(int32_t handle, int32_t message) override {
    entries.push_back("send " + std::to_string(handle) + " " + std::to_string(message));
    if (on_message) on_message(processor, handle, message);
  }
  int32_t CreateFromConstantEvent(int32_t constant) override {
    if (!accept_literals) return 0;
    entries.push_back("literal " + std::to_string(constant));
    return 1000;
  }
};

TEST(ProcessorTest, ObjectInstructionsCallOutThroughTheEvents) {
  Machine machine(
      ".start r\nr: enter 0\n"
      "createobj 7\ngstore a\n"
      "push 11\npush 3\npush 55\nmethod\n"
      "push 4\npush 66\nmethod2\ngstore b\ngstore c\n"
      "return\n.global a, b, c\n");
  EventLog log(machine.processor);
  log.on_message = [](TVkProcessor& p, int32_t, int32_t message) {
    // The handler pops its argument (if any) and pushes one result.
    if (message == 3) {
      EXPECT_EQ(p.Stack().Pop(), 11);
    }
    p.Stack().Push(message * 10);
  };
  machine.Run();
  EXPECT_EQ(log.entries, (std::vector<std::string>{"create 7", "send 55 3", "send 66 4"}));
  EXPECT_EQ(machine.Global("a"), 1007);
  EXPECT_EQ(machine.Global("b"), 66);  // method2 pushes the handle last,
  EXPECT_EQ(machine.Global("c"), 40);  // over the handler's result
}

TEST(ProcessorTest, ObjectEventsGoToTheLastBoundTargetAndUnboundOnesFault) {
  Machine machine(
      ".start r\nr: enter 0\n"
      "createobj 7\ngstore a\npush 3\npush 55\nmethod\npush 4\npush 66\nmethod2\ngstore b\n"
      "return\n.global a, b\n");
  EventLog first(machine.processor);
  EventLog second(machine.processor);
  machine.Run();
  EXPECT_TRUE(first.entries.empty());
  EXPECT_EQ(second.entries, (std::vector<std::string>{"create 7", "send 55 3", "send 66 4"}));
  EXPECT_EQ(machine.Global("a"), 1007);
  EXPECT_EQ(machine.Global("b"), 66);

  // Binding the first again takes both events back.
  second.entries.clear();
  machine.processor.SetObjectEvents(&first);
  machine.Run();
  EXPECT_EQ(first.entries, (std::vector<std::string>{"create 7", "send 55 3", "send 66 4"}));
  EXPECT_TRUE(second.entries.empty());

  struct Case {
    const char* source;
    const char* error;
  };
  const Case cases[] = {
      {"enter 0\ncreateobj 7\nreturn\n", "createobj: no object manager is bound to the processor"},
      {"enter 0\npush 3\npush 55\nmethod\nreturn\n", "method: no object manager is bound to the processor"},
      {"enter 0\npush 3\npush 55\nmethod2\nreturn\n", "method2: no object manager is bound to the processor"},
  };
  for (const Case& c : cases) {
    Machine unbound(c.source);
    try {
      unbound.Run();
      ADD_FAILURE() << c.source;
    } catch (const EVkError& error) {
      EXPECT_STREQ(error.what(), c.error);
    }
  }
}

TEST(ProcessorTest, StopEndsTheActivationWithoutCuttingItsFrame) {
  Machine machine("enter 0\npush 5\nstop\npush 6\nreturn\n");
  EventLog log(machine.processor);
  machine.Run();
  EXPECT_EQ(log.entries, std::vector<std::string>{"stop"});
  EXPECT_EQ(machine.Words(), (std::vector<int32_t>{0, 0, 0, 5}));
  EXPECT_EQ(machine.processor.Depth(), 0);
}

TEST(ProcessorTest, HaltInsideANestedStopLetsNoFurtherInstructionRun) {
  // The outer routine sends a message whose handler runs "inner" nested;
  // inner executes stop and the stop event halts the processor.
  Machine machine(
      ".start outer\nouter: enter 0\npush 1\npush 2\nmethod\n"
      "push 1\ngstore after\nreturn\n"
      "inner: enter 0\nstop\npush 1\ngstore after\nreturn\n"
      ".global after\n");
  const int32_t inner = machine.Symbol("inner");
  int depth_at_stop = 0;
  EventLog events(machine.processor);
  events.on_message = [&](TVkProcessor& p, int32_t, int32_t) { p.Run(inner); };
  machine.processor.SetOnStop([&](TVkProcessor& p) {
    depth_at_stop = p.Depth();
    p.Halt();
  });
  machine.Run();
  EXPECT_EQ(depth_at_stop, 2);
  EXPECT_EQ(machine.processor.Depth(), 0);
  EXPECT_TRUE(machine.processor.IsHalted());
  EXPECT_EQ(machine.Global("after"), 0);
  // A halted processor runs nothing until it gets a new image.
  machine.processor.Run(inner);
  EXPECT_EQ(machine.processor.Depth(), 0);
}

TEST(ProcessorTest, AFaultCaughtAtAnEventBoundaryLetsTheInterruptedRoutineResume) {
  // outer computes 40 + (message result 2) in a frame with a local; the
  // handler first runs a routine that faults deep inside a call chain.
  Machine machine(
      ".start outer\nouter: enter 0, 1\npush 40\npush 9\npush 1\nmethod\nadd\nstore 4\nreturnval\n"
      "faulty: enter 0\npush 1\ncall deeper\nreturn\n"
      "deeper: enter 1\npush 3\nzero\ndiv\nreturn\n");
  const int32_t faulty = machine.Symbol("faulty");
  int caught = 0;
  EventLog events(machine.processor);
  events.on_message = [&](TVkProcessor& p, int32_t, int32_t) {
    const int32_t ip = p.InstructionPointer();
    const int32_t fp = p.FramePointer();
    const int32_t length = p.Stack().Length();
    try {
      p.Run(faulty);
    } catch (const EVkProcessor& e) {
      caught = e.Code();
    }
    EXPECT_EQ(p.InstructionPointer(), ip);
    EXPECT_EQ(p.FramePointer(), fp);
    EXPECT_EQ(p.Stack().Length(), length);
    p.Stack().Push(2);
  };
  machine.Run();
  EXPECT_EQ(caught, EVkProcessor::kDivisionByZero);
  EXPECT_EQ(machine.Words(), std::vector<int32_t>{42});
}

TEST(ProcessorTest, AHandlerThatRunsNoBytecodeIsSeenThroughItsStackAndBudget) {
  // The handler moves the stack buffer (it grows it far and shrinks it back)
  // and leaves its result; the loop must continue on the moved buffer.
  Machine machine(".start r\nr: enter 0, 1\npush 40\npush 9\npush 1\nmethod\nadd\nstore 4\nreturnval\n");
  EventLog events(machine.processor);
  events.on_message = [](TVkProcessor& p, int32_t, int32_t) {
    const int32_t length = p.Stack().Length();
    for (int i = 0; i < 100000; ++i) p.Stack().Push(i);
    p.Stack().SetLength(length);
    p.Stack().Push(2);
  };
  machine.Run();
  EXPECT_EQ(machine.Words(), std::vector<int32_t>{42});

  // A budget set by a handler holds for the loop that sent the message: the
  // twenty rounds below would finish without it.
  const char* const sends[] = {"push 1\npush 1\nmethod\n", "push 1\npush 1\nmethod2\nwipe\n"};
  for (const char* send : sends) {
    Machine looping(std::string("enter 0\n") + send +
                    "push 20\ngstore n\nround: gload n\nminusone\nadd\ndupe\ngstore n\nbrtrue round\n"
                    "return\n.global n\n");
    EventLog budgeted(looping.processor);
    budgeted.on_message = [](TVkProcessor& p, int32_t, int32_t) { p.SetInstructionBudget(5); };
    EXPECT_EQ(FaultCode<EVkProcessor>([&] { looping.Run(); }), EVkProcessor::kBudgetExhausted) << send;
  }
}

TEST(ProcessorTest, AfterANestedStopTheInterruptedLoopContinuesWhereTheStopLeftIt) {
  Machine machine(
      ".start outer\nouter: enter 0\npush 1\npush 2\nmethod\nreturn\n"
      "inner: enter 0\nstop\npush 7\ngstore after\nreturn\n"
      ".global after\n");
  const int32_t inner = machine.Symbol("inner");
  EventLog events(machine.processor);
  events.on_message = [&](TVkProcessor& p, int32_t, int32_t) { p.Run(inner); };
  machine.Run();
  EXPECT_EQ(events.entries, (std::vector<std::string>{"send 2 1", "stop"}));
  EXPECT_EQ(machine.Global("after"), 7);
  EXPECT_EQ(machine.processor.Depth(), 0);
}

TEST(ProcessorTest, RunawayNativeReentranceIsRefusedBeforeTheNativeStackRunsOut) {
  Machine machine("enter 0\npush 1\npush 1\nmethod\nreturn\n");
  EventLog events(machine.processor);
  events.on_message = [](TVkProcessor& p, int32_t, int32_t) { p.Run(0); };
  EXPECT_EQ(FaultCode<EVkStack>([&] { machine.Run(); }), EVkStack::kFull);
  EXPECT_EQ(machine.stack.Length(), 0);
}

TEST(ProcessorTest, BudgetEndsEndlessLoopsAndCountingCountsEveryInstruction) {
  Machine loop("here: jump here");
  loop.processor.SetInstructionBudget(1000);
  EXPECT_EQ(FaultCode<EVkProcessor>([&] { loop.Run(); }), EVkProcessor::kBudgetExhausted);

  Machine counted("enter 0\npush 2\npush 3\nadd\nwipe\nreturn");
  counted.processor.SetCounting(true);
  counted.Run();
  EXPECT_EQ(counted.processor.InstructionCount(), 6u);
}

// Everything a run leaves that later code could see: how it ended, the
// stack length, the whole stack buffer (a longer SetLength uncovers words
// above the top) and the area.
struct RunTrace {
  std::string ending;
  int32_t length = 0;
  std::vector<int32_t> buffer;
  std::vector<uint8_t> area;
  bool operator==(const RunTrace&) const = default;
  friend std::ostream& operator<<(std::ostream& out, const RunTrace& trace) {
    out << trace.ending << ", length " << trace.length << ", buffer";
    for (int32_t word : trace.buffer) out << ' ' << word;
    out << ", area";
    for (uint8_t byte : trace.area) out << ' ' << int{byte};
    return out;
  }
};

// With events, the run has object events bound that log into them: an
// object is created as 1000 + its class, message 1 pops its argument, and
// accept_literals decides whether string literals may take one step.
RunTrace TraceRun(const std::string& source, bool one_instruction_at_a_time,
                  std::vector<std::string>* events = nullptr, bool accept_literals = false) {
  // Room for the routines' ordinary pushes, and a maximum that a few more
  // pushes reach, through one growth step.
  TVkStack stack(40, 44, 4);
  TVkProcessor processor(stack);
  const AssembledImage image = Assemble(source, "test");
  processor.LoadImage(image.area);
  std::optional<EventLog> log;
  if (events != nullptr) {
    log.emplace(processor);
    log->accept_literals = accept_literals;
    log->on_message = [](TVkProcessor& p, int32_t, int32_t message) {
      if (message == 1) p.Stack().Pop();
    };
  }
  processor.SetCounting(one_instruction_at_a_time);
  processor.SetInstructionBudget(40);
  RunTrace trace;
  try {
    processor.Run(image.start_entry);
    trace.ending = "returned";
  } catch (const EVkStack& e) {
    trace.ending = "stack fault " + std::to_string(e.Code());
  } catch (const EVkProcessor& e) {
    trace.ending = "processor fault " + std::to_string(e.Code());
  }
  trace.length = stack.Length();
  stack.SetLength(stack.Capacity());
  for (int32_t at = 0; at < stack.Length(); at += 4) trace.buffer.push_back(stack.Peek(at));
  const uint8_t* area = processor.CodePointer(0);
  trace.area.assign(area, area + processor.AreaLength());
  if (log) *events = log->entries;
  return trace;
}

TEST(ProcessorTest, ConstantsFollowedByTheirInstructionActAsTheTwoInstructionsWould) {
  // The ordinary loop takes "constant, instruction" pairs (loadc -12 load,
  // loadc 4 swap store, loadcon g gload, loadcon r call, ...) in one step; the
  // counting loop executes every instruction on its own. Both must leave the
  // same trace, at the stack's limits and on faults too.
  const std::string routines =
      "\nreturn\n"
      "sub: enter 0, 1\npush 9\nstore 4\nreturnval\n"
      "twice: enter 1, 1\nload -12\nload -12\nadd\nstore 4\nreturnval\n"
      ".global a = 5, b\n";
  const char* const bodies[] = {
      "push 3\nstore 4\nload 4\nload 8\nadd\nstore 8\nload 8",
      "load 12",
      "load -100",
      "push 1\nstore 100",
      "push 1\nstore -100",
      "wipe\nwipe\nwipe\nstore 4",  // the value to store is missing
      "gload a\ngstore b\ngload b",
      "gload 100000",
      "gload -1",
      "push 1\ngstore 100000",
      "call sub\ncall sub\nadd",
      "call 100000",
      "push 0\nbrfalse skip\npush 5\nskip: push 0\nbrtrue 100000\npush 1\nbrtrue last\npush 7\nlast: push 6",
      "push 1\nbrfalse 100000\npush 0\nbrfalse 100000",
      "jump over\npush 5\nover: push 6\njump 100000",
      // loops that the budget ends; b counts the rounds
      "top: push 3\ngload a\nminusone\nadd\ndupe\ngstore a\nbrtrue top",
      "top: call sub\nwipe\ngload b\none\nadd\ngstore b\njump top",
      "push 1\npush 2\npush 3\npush 4\nload 4\nload 4",  // the stack reaches its maximum
      "push 1\npush 2\npush 3\nstore 4\npush 4\npush 5\ngstore a\ncall sub",
      "push 5\npush 3\nadd\nminusone\nadd\none\nsub\npush -2\nsub\npush 0x7FFFFFFF\nadd\none\nadd",
      "push 5\npush 3\nlt\npush 5\npush 5\nle\npush 5\none\neq\none\none\nne\nminusone\nminusone\nge\none\none\ngt",
      "wipe\nwipe\nwipe\none\nadd",  // the left operand is missing
      "push 1\npush 2\npush 3\npush 4\npush 5\npush 6\none\nadd",
      // the test of an if or a loop: constant, comparison, target, branch
      "push 1\npush 2\neq\nbrfalse 100000",
      "wipe\nwipe\nwipe\npush 2\nlt\nbrtrue 0",
      "push 1\npush 2\npush 3\npush 4\npush 5\npush 6\npush 7\nlt\nbrtrue 0",
      "top: gload a\nminusone\nadd\ndupe\ngstore a\npush -50\ngt\nbrtrue top",
      // a frame word plus or minus a constant
      "push 5\nstore 4\nload 4\nminusone\nadd\nload 4\none\nsub\nload 4\npush -2\nadd\nload 4\npush 7\nsub",
      "load 100\none\nadd",
      "load -100\npush 3\nsub",
      "push 1\npush 2\npush 3\nload 4\none\nadd",  // fills the stack exactly
      "push 1\npush 2\npush 3\npush 4\nload 4\nminusone\nadd",  // grows it, then is full
      "push 1\npush 2\npush 3\npush 4\npush 5\nload 4\npush 2\nadd",
      // the prologue of a routine with one argument and a result
      "push 1\npush 2\npush 3\none\nzero",
      "push 1\npush 2\npush 3\npush 4\none\nzero",
      "push 1\npush 2\npush 3\npush 4\npush 5\none\nzero",
      // storing the result and returning, from intact and damaged frames
      "push 3\nstore 4\nreturnval",
      "push 100\nstore 0\npush 3\nstore 4\nreturnval",  // the result lands below the stack
      "push -3\nstore 0\npush 3\nstore 4\nreturnval",   // the new length lies above the old
      "push 1000\nstore -8\npush 3\nstore 4\nreturnval",
      "wipe\nwipe\nwipe\npush 3\nstore 4\nreturnval",
      // a call to a routine with one argument and a result, whose prologue
      // fits, needs the last growth step, or does not fit
      "push 5\ncall twice",
      "push 1\npush 5\ncall twice",
      "push 1\npush 2\npush 5\ncall twice",
      // returning a sum, from intact and damaged frames
      "push 1\npush 2\nadd\nstore 4\nreturnval",
      "push 100\nstore 0\npush 1\npush 2\nadd\nstore 4\nreturnval",
      "wipe\nwipe\nwipe\nwipe\nwipe\none\nadd\nstore 4\nreturnval",  // the left operand is missing
  };
  std::vector<std::string> all(std::begin(bodies), std::end(bodies));
  for (const char* comparison : {"lt", "le", "eq", "ne", "ge", "gt"}) {
    for (const char* left : {"1", "2", "3", "-3"}) {
      for (const char* branch : {"brfalse", "brtrue"}) {
        all.push_back("push " + std::string(left) + "\npush 2\n" + comparison + "\n" + branch +
                      " skip\npush 1\ngstore b\nskip: gload b");
        // the same test on a frame word
        all.push_back("push " + std::string(left) + "\nstore 4\nload 4\npush 2\n" + comparison + "\n" +
                      branch + " skip\npush 1\ngstore b\nskip: gload b");
      }
    }
  }
  for (const std::string& body : all) {
    SCOPED_TRACE(body);
    const std::string source = "enter 0, 2\n" + body + routines;
    EXPECT_EQ(TraceRun(source, false), TraceRun(source, true));
  }
}

TEST(ProcessorTest, ObjectSequencesTakenInOneStepActAsTheirInstructions) {
  // A string literal ("loadcon c, one, zero, createobj, method2") is one
  // event where the target accepts it; a message to the object in a global
  // ("loadcon g, gload, method") and destroying the object on top
  // ("minusone, swap, method") take one dispatch. Accepted, declined, or
  // executed one instruction at a time (the counting loop), each must leave
  // the same trace: at the stack's limits, on faults, and when gstore
  // changes the sequence too.
  struct Case {
    const char* body;
    bool one_step;  // a literal is taken in one step where accepted
  };
  const Case cases[] = {
      {"str \"ab\"\ngstore a", true},
      {"str \"ab\"\nstr \"cd\"\nadd", true},
      {"push 1\npush 2\nstr \"ab\"", true},                      // fills the stack exactly
      {"push 1\npush 2\npush 3\nstr \"ab\"", false},              // needs the last growth step
      {"push 1\npush 2\npush 3\npush 4\nstr \"ab\"", false},      // and then no longer fits
      {"loadcon 7\none\nzero\ncreateobj\nmethod", false},         // method, not method2
      {"loadcon 7\none\none\ncreateobj\nmethod2", false},         // class 1
      // gstore makes the literal's class 1, or a class 1 object a literal
      {"gload site\npush 1\nadd\ngstore site\nloadcon 7\none\nsite: zero\ncreateobj\nmethod2", false},
      {"gload site\npush 1\nsub\ngstore site\nloadcon 7\none\nsite: one\ncreateobj\nmethod2", true},
      // messages to a global's object, and destroying the object on top
      {"str \"ab\"\ngstore a\npush 5\nloadcon a\ngload\nmethod\ngload a\nminusone\nswap\nmethod", true},
      {"push 5\nloadcon 100000\ngload\nmethod", false},                         // outside the image
      {"push 1\npush 2\npush 3\npush 4\npush 5\nloadcon a\ngload\nmethod", false},  // grows the stack
      {"push 1\npush 2\npush 3\npush 4\npush 5\nminusone\nswap\nmethod", false},
      {"wipe\nwipe\nwipe\nwipe\nwipe\nminusone\nswap\nmethod", false},       // nothing to swap with
      {"push 7\nminusone\nswap\nmethod\npush 8\nminusone\nswap\nmethod2", false},
      // a message to a global's object that keeps its argument on top
      {"push 9\ndupe\nzero\nloadcon a\ngload\nmethod\ndupe\none\nloadcon a\ngload\nmethod\n"
       "dupe\nminusone\nloadcon a\ngload\nmethod\ndupe\nloadc -7\nloadcon a\ngload\nmethod",
       false},
      {"push 9\ndupe\nloadc 3\nloadcon 100000\ngload\nmethod", false},  // outside the image
      {"push 9\ndupe\nzero\nloadcon -1\ngload\nmethod", false},
      {"push 1\npush 2\npush 3\ndupe\nzero\nloadcon a\ngload\nmethod", false},  // grows the stack
      {"wipe\nwipe\nwipe\nwipe\nwipe\ndupe\nzero\nloadcon a\ngload\nmethod", false},  // nothing to dupe
      {"push 9\ndupe\nzero\nloadcon a\ngload\nmethod2", false},
      // gstore turns its method into method2, and back
      {"gload site\npush 1\nadd\ngstore site\npush 9\ndupe\nzero\nloadcon a\ngload\nsite: method", false},
      {"gload site\npush 1\nsub\ngstore site\npush 9\ndupe\nzero\nloadcon a\ngload\nsite: method2", false},
      // gstore turns its message's zero into swap, with no other fused form
      // within reach of the written word
      {"gload site\npush -369098752\nadd\ngstore site\npush 9\n"
       "zero\nwipe\nzero\nwipe\nzero\nwipe\nzero\nwipe\nzero\nwipe\nzero\nwipe\n"
       "site: zero\nzero\ndupe\nzero\nloadcon a\ngload\nmethod",
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.body);
    const std::string source = "enter 0, 2\n" + std::string(c.body) + "\nreturn\n.global a\n";
    std::vector<std::string> counted;
    std::vector<std::string> declined;
    std::vector<std::string> accepted;
    const RunTrace expected = TraceRun(source, true, &counted, true);
    EXPECT_EQ(TraceRun(source, false, &declined, false), expected);
    EXPECT_EQ(TraceRun(source, false, &accepted, true), expected);
    EXPECT_EQ(declined, counted);
    // An accepted literal is the creation and the message in one event.
    std::vector<std::string> expanded;
    for (const std::string& entry : accepted) {
      if (entry.starts_with("literal ")) {
        expanded.insert(expanded.end(), {"create 0", "send 1000 1"});
      } else {
        expanded.push_back(entry);
      }
    }
    EXPECT_EQ(expanded, counted);
    EXPECT_EQ(accepted != counted, c.one_step);
  }
}

TEST(ProcessorTest, CodeWrittenByGstoreIsExecutedAsWritten) {
  // probe returns the word its fused "loadc 4, load" reads; the caller then
  // turns that load into negate (34 - 15 = 19) and probes again.
  Machine machine(
      "enter 0\n"
      "call probe\ngstore first\n"
      "gload site\npush 15\nsub\ngstore site\n"
      "call probe\ngstore second\n"
      "return\n"
      "probe: enter 0, 1\npush 7\nstore 4\nloadc 4\n"
      "site: load\nstore 4\nreturnval\n"
      ".global first, second\n");
  machine.Run();
  EXPECT_EQ(machine.Global("first"), 7);
  EXPECT_EQ(machine.Global("second"), -4);
}

TEST(ProcessorTest, GstoreThatMakesOrBreaksAFusedSequenceIsSeenByTheNextRun) {
  // probe computes a result through the instruction at site; the caller
  // adds delta to the word at site (changing just its first byte) and
  // probes again. The written byte may lie as far after the start of a fused
  // sequence as its pattern reaches (the branch of "loadc, load, loadc,
  // comparison, loadcon, branch").
  struct Case {
    const char* probe;
    int delta;
    int32_t first;
    int32_t second;
  };
  const Case cases[] = {
      // negate becomes load: a plain pair becomes a fused one
      {"push 7\nstore 4\nloadc 4\nsite: negate", 15, -4, 7},
      // brfalse becomes brtrue, eight bytes after the loadc that starts it
      {"push 1\npush 2\nlt\nloadcon yes\nsite: brfalse\npush 10\njump out\nyes: push 20\nout:", 1, 10, 20},
      // the same on a frame word, eleven bytes after its first loadc
      {"push 1\nstore 4\nload 4\npush 2\nlt\nloadcon yes\nsite: brfalse\npush 10\njump out\nyes: push 20\nout:", 1,
       10, 20},
      // the comparison of a frame word changes: lt becomes le
      {"push 2\nstore 4\nload 4\npush 2\nsite: lt\nloadcon yes\nbrfalse\npush 10\njump out\nyes: push 20\nout:", 1,
       20, 10},
      // a frame word plus a constant becomes minus it
      {"push 7\nstore 4\nload 4\nminusone\nsite: add", 1, 6, 8},
      // zero becomes minusone: "one zero" is no longer a pair, "minusone add" is
      {"one\nsite: zero\nadd", 2, 1, 0},
      // returning a sum becomes returning a difference, and back
      {"push 3\npush 4\nsite: add", 1, 7, -1},
      {"push 3\npush 4\nsite: sub", -1, -1, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.probe);
    Machine machine(
        "enter 0\n"
        "call probe\ngstore first\n"
        "gload site\npush " + std::to_string(c.delta) + "\nadd\ngstore site\n"
        "call probe\ngstore second\n"
        "return\n"
        "probe: enter 0, 1\n" + std::string(c.probe) + "\nstore 4\nreturnval\n"
        ".global first, second\n");
    machine.Run();
    EXPECT_EQ(machine.Global("first"), c.first);
    EXPECT_EQ(machine.Global("second"), c.second);
  }
}

TEST(ProcessorTest, GstoreFarFromAnyFusedSequenceMapsEachWrittenByteOnItsOwn) {
  // Nothing within a fused pattern's reach of site starts one, so the write
  // takes the short way that maps the four bytes at once. Opcodes there must
  // run as written; a byte past the last opcode (43 is one of the numbers
  // the fused forms use internally) must fault, not run a fused form.
  struct Case {
    const char* bytes;  // the word written at site, as four .byte values
    int32_t result;     // -1: the run faults with a bad opcode
  };
  const Case cases[] = {
      {"31, 11, 31, 11", 5},  // zero wipe zero wipe: as assembled
      {"19, 31, 11, 22", 4},  // negate zero wipe not: ~(-5)
      {"19, 43, 11, 11", -1},
      {"11, 11, 255, 31", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    Machine machine(
        "enter 0\n"
        "gload written\ngstore site\n"
        "call probe\nreturn\n"
        "probe: enter 0\npush 5\n"
        "zero\nwipe\nzero\nwipe\nzero\nwipe\nzero\nwipe\nzero\nwipe\nzero\nwipe\n"
        "site: zero\nwipe\nzero\nwipe\n"
        "gstore result\nreturn\n"
        "written: .byte " + std::string(c.bytes) + "\n"
        ".global result\n");
    if (c.result < 0) {
      EXPECT_EQ(FaultCode<EVkProcessor>([&] { machine.Run(); }), EVkProcessor::kBadOpcode);
    } else {
      machine.Run();
      EXPECT_EQ(machine.Global("result"), c.result);
    }
  }
}

TEST(ProcessorTest, MissingObjectManagerIsReportedNotCrashed) {
  Machine machine("enter 0\ncreateobj 0\nreturn");
  EXPECT_THROW(machine.Run(), EVkError);
}

TEST(ProcessorDeathTest, NegativeZerofillEndsTheProgramWithAnInternalError) {
  EXPECT_EXIT(Evaluate("minusone\nzerofill\nzero"), ::testing::ExitedWithCode(3), "INTERNAL ERROR");
}

}  // namespace
}  // namespace vork
