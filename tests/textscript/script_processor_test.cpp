#include "textscript/script_processor.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "platform/deferred_saves.h"
#include "platform/errors.h"
#include "platform/message_boxes.h"
#include "support/test_host.h"
#include "textscript/include_expansion.h"
#include "textscript/script_macros.h"

namespace vork {
namespace {

using Lines = std::vector<std::string>;

Lines SplitText(std::string_view text) {
  Lines lines;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find('\n', start);
    lines.emplace_back(text.substr(start, end - start));
    if (end == std::string_view::npos) return lines;
    start = end + 1;
  }
}

std::string Join(const Lines& parts, std::string_view separator) {
  std::string text;
  for (size_t i = 0; i < parts.size(); ++i) text += (i ? std::string(separator) : std::string()) + parts[i];
  return text;
}

// Routines of the registered command tables.
enum Routine : int32_t {
  kSay = 10,
  kLog = 11,
  kFail = 12,
  kPlay = 20,
  kStop = 21,
};

// A processor with two command tables (class 0 without objects, class 1
// "sound") whose routines are recorded as "id.command(arg,arg)"; boxes are
// captured as transcript lines.
class ScriptFixture : public ::testing::Test {
 protected:
  ScriptFixture() {
    ApplicationVars().Clear();
    processor.SetWarnAboutOldReferences(false);
    processor.RegisterClass(0, "script", {{"say text ?speed=slow/fast", kSay}, {"log first...", kLog}, {"fail", kFail}});
    processor.RegisterClass(1, "sound", {{"play", kPlay}, {"stop ?fade", kStop}});
    processor.SetOnCommand([this](int32_t routine, int32_t object_word) {
      const std::string& id = processor.CurrentId();
      calls.push_back((id.empty() ? "" : id + ".") + processor.CurrentCommand() + "(" +
                      Join(Args(), ",") + ")");
      routines.push_back(std::to_string(routine) + "/" + std::to_string(object_word));
      // The bytecode's way to stop a script with its own message.
      if (routine == kFail) processor.ScriptError("boom");
      if (inside) inside();
    });
  }
  ~ScriptFixture() override {
    ApplicationVars().Clear();
  }

  Lines Args() {
    Lines args;
    for (int32_t n = 1; n <= processor.ArgCount(); ++n) args.push_back(processor.Arg(n));
    return args;
  }

  // Loads and runs text; false when an error stopped it.
  bool RunScript(std::string_view text, std::string file = "main") { return RunLines(SplitText(text), std::move(file)); }
  bool RunLines(Lines lines, std::string file = "main") {
    try {
      processor.Load(std::move(lines), std::move(file));
      processor.Run();
      return true;
    } catch (const EVkSilentAbort&) {
      return false;
    }
  }
  // Runs the processor again from where it stopped.
  bool Continue(const std::function<void()>& action) {
    try {
      action();
      return true;
    } catch (const EVkSilentAbort&) {
      return false;
    }
  }

  // The boxes shown so far, one transcript line each, and forgets them.
  std::string TakeBoxes() {
    std::string text = box_lines_.str();
    box_lines_.str("");
    while (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
  }

  std::ostringstream box_lines_;
  TranscriptAnswers answers_;
  TranscriptBoxes boxes_{box_lines_, answers_};
  testing::TestHost host_{&boxes_};
  TVkReg user_store;
  TVkScriptProcessor processor{[this]() -> TVkReg& { return user_store; }};
  Lines calls;
  Lines routines;
  std::function<void()> inside;
};

struct ScriptCase {
  const char* script;
  const char* calls;  // recorded commands, joined by " "
  const char* box;    // the error box as a transcript line, "" for none
};

// Names the case by its script in test listings and failures.
void PrintTo(const ScriptCase& c, std::ostream* out) { *out << ::testing::PrintToString(std::string(c.script)); }

class ScriptCases : public ScriptFixture, public ::testing::WithParamInterface<ScriptCase> {};

TEST_P(ScriptCases, RunTheCommandsOrReportTheFailingLine) {
  const ScriptCase& c = GetParam();
  processor.RegisterObject("intro", 1, 7);
  processor.RegisterObject("ghost", 5, 1);
  processor.SceneVars().WriteString("word", "hello");
  processor.SceneVars().WriteString("trap", "%@sceneVar[word]");
  processor.SceneVars().WriteString("cmd", "say");
  user_store.WriteString("name", "Ann");
  ApplicationVars().WriteString("course", "Spanish");

  const bool finished = RunScript(c.script);
  EXPECT_EQ(Join(calls, " "), c.calls);
  EXPECT_EQ(TakeBoxes(), c.box);
  EXPECT_EQ(finished, std::string(c.box).empty());
  EXPECT_FALSE(processor.Running());
}

#define ERROR_AT(line, text, message) "error: Error in file \"main\" line " #line ":\\n\\n" text message
#define BECAUSE(message) "\\n\\n(" message ".)"

INSTANTIATE_TEST_SUITE_P(
    Commands, ScriptCases,
    ::testing::Values(
        ScriptCase{"intro.play", "intro.play()", ""},
        ScriptCase{"say a\n\n// say b\n//!line other 5\n:here\nsay c", "say(a) say(c)", ""},
        ScriptCase{"say a\nEND\nsay never", "say(a)", ""},
        ScriptCase{"say \"good morning\" fast\nsay `x y`", "say(good morning,fast) say(x y)", ""},
        ScriptCase{"log a b c d e", "log(a,b,c,d,e)", ""},
        ScriptCase{"intro.stop\nintro.stop slowly", "intro.stop() intro.stop(slowly)", ""},
        // Objects that may be absent.
        ScriptCase{"?missing.play\n?intro.play", "intro.play()", ""},
        ScriptCase{"say a\nmissing.play\nsay b", "say(a)",
                   ERROR_AT(2, "missing.play", BECAUSE("Object with ID \"missing\" not found"))},
        ScriptCase{"?say x", "", ERROR_AT(1, "?say x", BECAUSE("\"?\"-designator can only be used with object ID"))},
        ScriptCase{".play", "", ERROR_AT(1, ".play", BECAUSE("Object ID is missing"))},
        ScriptCase{"?.play", "", ERROR_AT(1, "?.play", BECAUSE("Object ID is missing"))},
        ScriptCase{"dance", "", ERROR_AT(1, "dance", BECAUSE("Unknown command \"dance\""))},
        ScriptCase{"intro.Play", "", ERROR_AT(1, "intro.Play", BECAUSE("Unknown command \"Play\""))},
        ScriptCase{"intro.say x", "", ERROR_AT(1, "intro.say x", BECAUSE("Unknown command \"say\""))},
        ScriptCase{"ghost.play", "", ERROR_AT(1, "ghost.play", BECAUSE("Class with index 5 not found"))},
        ScriptCase{" say x", "", ERROR_AT(1, " say x", BECAUSE("Line must not contain preceding whitespace"))},
        ScriptCase{"say a\n\tsay x", "say(a)", ERROR_AT(2, "\tsay x", BECAUSE("Line must not contain preceding whitespace"))},
        ScriptCase{"say \"open", "", ERROR_AT(1, "say \"open", BECAUSE("Quotation mismatch: \"open"))},
        // Argument counts and allowed values.
        ScriptCase{"say", "", ERROR_AT(1, "say", BECAUSE("Too few parameters; 0 found, total of 1..2 required"))},
        ScriptCase{"say a slow extra", "",
                   ERROR_AT(1, "say a slow extra", BECAUSE("Too many parameters; 3 found, total of 1..2 allowed"))},
        ScriptCase{"say a medium", "",
                   ERROR_AT(1, "say a medium",
                            BECAUSE("Parameter number 2 is invalid. Correct usage: \\nsay text ?speed=slow/fast"))},
        ScriptCase{"log", "", ERROR_AT(1, "log", BECAUSE("Too few parameters; 0 found, total of 1.. required"))},
        ScriptCase{"END now", "", ERROR_AT(1, "END now", BECAUSE("Too many parameters; 1 found, total of 0 allowed"))},
        ScriptCase{"goto", "", ERROR_AT(1, "goto", BECAUSE("Too few parameters; 0 found, total of 1 required"))},
        // Jumps and calls.
        ScriptCase{"goto Part_2\nsay skipped\n:part_2\nsay here", "say(here)", ""},
        ScriptCase{"goto nowhere", "", ERROR_AT(1, "goto nowhere", BECAUSE("Label \"nowhere\" not found"))},
        ScriptCase{"goto :x", "",
                   ERROR_AT(1, "goto :x", BECAUSE("Invalid label \":x\" (label contains illegal characters)"))},
        ScriptCase{"call sub\nsay after\nEND\n:sub\nsay in\nEND", "say(in) say(after)", ""},
        ScriptCase{"call sub\nsay after\ncall sub\nEND\n:sub\nsay in\nEND", "say(in) say(after) say(in)", ""},
        ScriptCase{"call sub\nEND\n:sub\ncall deeper\nEND\n:deeper\nEND", "",
                   ERROR_AT(4, "call deeper",
                            BECAUSE("Calls may not be nested (only one call may be active at a time)"))},
        // A called part that runs off the end returns at the added END.
        ScriptCase{"call sub\nsay after\nEND\n:sub\nsay in", "say(in) say(after)", ""},
        // Conditions.
        ScriptCase{"gotoIf 10 < 9 skip\nsay no-jump\n:skip\nsay end", "say(no-jump) say(end)", ""},
        ScriptCase{"gotoIf 1.5 >= 1.25 skip\nsay no-jump\n:skip\nsay end", "say(end)", ""},
        ScriptCase{"gotoIf $10 > 15 skip\nsay no-jump\n:skip", "", ""},
        ScriptCase{"gotoIf 2 <= 2.0 skip\nsay no-jump\n:skip", "", ""},
        ScriptCase{"gotoIf -1.5 < -1 skip\nsay no-jump\n:skip", "", ""},
        ScriptCase{"gotoIf a = a one\nsay no-jump\n:one\ngotoIf a <> A two\nsay no-jump\n:two", "", ""},
        ScriptCase{"gotoIf 10 = 10.0 skip\nsay texts-differ\n:skip", "say(texts-differ)", ""},
        ScriptCase{"gotoIf 1 = 2 nowhere\nsay untaken", "say(untaken)", ""},
        ScriptCase{"gotoIf abc < 1 skip", "", ERROR_AT(1, "gotoIf abc < 1 skip", "")},
        ScriptCase{"gotoIf 1 < 1,5 skip", "", ERROR_AT(1, "gotoIf 1 < 1,5 skip", "")},
        ScriptCase{"gotoIf 1 == 1 skip", "", ERROR_AT(1, "gotoIf 1 == 1 skip", "")},
        ScriptCase{"gotoIf 1 = 1", "",
                   ERROR_AT(1, "gotoIf 1 = 1", BECAUSE("Too few parameters; 3 found, total of 4 required"))},
        // Macros.
        ScriptCase{"say %@sceneVar[word]", "say(hello)", ""},
        ScriptCase{"say %@userVar[name]-%@appVar[course]", "say(Ann-Spanish)", ""},
        ScriptCase{"say %@sceneVar[trap]", "say(%@sceneVar[word])", ""},
        ScriptCase{"say [%@sceneVar[unset]]", "say([])", ""},
        ScriptCase{"%@sceneVar[cmd] built", "say(built)", ""},
        ScriptCase{"say %@SceneVar[word]", "", ERROR_AT(1, "say %@SceneVar[word]", BECAUSE("Error in macro"))},
        ScriptCase{"say %@sceneVar[word", "", ERROR_AT(1, "say %@sceneVar[word", BECAUSE("Error in macro"))},
        ScriptCase{"say %@sceneVar", "", ERROR_AT(1, "say %@sceneVar", BECAUSE("Error in macro"))},
        // Expanded before the whitespace check, and shown expanded.
        ScriptCase{"%@sceneVar[unset] say x", "", ERROR_AT(1, " say x", BECAUSE("Line must not contain preceding whitespace"))},
        // The routine reports an error of its own.
        ScriptCase{"say a\nfail\nsay b", "say(a) fail()", ERROR_AT(2, "fail", BECAUSE("boom"))},
        // Labels are checked when the script is loaded.
        ScriptCase{"say a\n:ok_Label_2\n:bad-label", "",
                   ERROR_AT(3, ":bad-label", BECAUSE("Invalid label (label contains illegal characters)"))},
        ScriptCase{":", "", ERROR_AT(1, ":", BECAUSE("Invalid label (label contains illegal characters)"))},
        ScriptCase{":end ", "", ERROR_AT(1, ":end ", BECAUSE("Invalid label (label contains illegal characters)"))}));

#undef ERROR_AT
#undef BECAUSE

TEST_F(ScriptFixture, CommandRoutinesGetTheirEntryAndTheObjectWord) {
  processor.RegisterObject("intro", 1, 7);
  ASSERT_TRUE(RunScript("intro.play\nsay x\nintro.stop"));
  EXPECT_EQ(routines, (Lines{"20/7", "10/0", "21/7"}));
}

TEST_F(ScriptFixture, AVariableFedIntoItselfCannotGrowWithoutBound) {
  // "say " and two copies fill the limit exactly.
  const size_t fitting = (kMaxExpandedLine - 4) / 2;
  processor.SceneVars().WriteString("v", std::string(fitting, 'x'));
  ASSERT_TRUE(RunScript("say %@sceneVar[v]%@sceneVar[v]"));
  processor.SceneVars().WriteString("v", std::string(fitting + 1, 'x'));
  EXPECT_FALSE(RunScript("say %@sceneVar[v]%@sceneVar[v]"));
  EXPECT_EQ(TakeBoxes(), "error: Error in file \"main\" line 1:\\n\\nsay %@sceneVar[v]%@sceneVar[v]\\n\\n(Line is "
                         "longer than 1048576 bytes with its macros expanded.)");
}

TEST_F(ScriptFixture, AStoppedScriptGoesOnFromTheNextLineOrALabel) {
  EXPECT_FALSE(RunScript("say a\nfail\nsay b\n:again\nsay c"));
  TakeBoxes();
  EXPECT_FALSE(processor.Running());
  EXPECT_EQ(processor.Next(), 2);
  ASSERT_TRUE(Continue([&] { processor.Run(); }));
  EXPECT_EQ(Join(calls, " "), "say(a) fail() say(b) say(c)");
  EXPECT_EQ(processor.Next(), -1);

  // Once ended, running again does nothing; a label restarts it.
  calls.clear();
  ASSERT_TRUE(Continue([&] { processor.Run(); }));
  EXPECT_TRUE(calls.empty());
  ASSERT_TRUE(Continue([&] { processor.RunFrom("AGAIN"); }));
  EXPECT_EQ(Join(calls, " "), "say(c)");
  EXPECT_FALSE(Continue([&] { processor.RunFrom("missing"); }));
  EXPECT_EQ(TakeBoxes(), "error: Error in script \"main\":\\n\\nLabel \"missing\" not found.");
}

TEST_F(ScriptFixture, IsReadyToRunAfterLoadAndIdleBeforeIt) {
  ASSERT_TRUE(Continue([&] { processor.Run(); }));
  EXPECT_FALSE(processor.Running());
  processor.Load({"say a"}, "main");
  EXPECT_TRUE(processor.Running());
  EXPECT_EQ(processor.Next(), 0);
  EXPECT_EQ(processor.Lines(), (Lines{"say a", "END"}));
  EXPECT_TRUE(calls.empty());
}

TEST_F(ScriptFixture, ACommandMayLoadAnotherScriptWhichThenRuns) {
  inside = [&] {
    if (processor.CurrentCommand() == "log") processor.Load({"say second"}, "other");
  };
  ASSERT_TRUE(RunScript("log switch\nsay first"));
  EXPECT_EQ(Join(calls, " "), "log(switch) say(second)");
}

TEST_F(ScriptFixture, ErrorsNameTheIncludedFileAndLine) {
  std::map<std::string, Lines> files{
      {"main", {"say 1", "say 2", "say 3", "say 4", "#include common.inc", "fail", "say 7"}},
      {"common.inc", {"say c1", "intro.play", "say c3"}},
  };
  Lines script;
  ExpandIncludes("main", script, [&](const std::string& name) { return files.at(name); });

  EXPECT_FALSE(RunLines(script));
  EXPECT_EQ(TakeBoxes(),
            "error: Error in file \"common.inc\" line 2:\\n\\nintro.play\\n\\n(Object with ID \"intro\" not found.)");
  processor.RegisterObject("intro", 1, 7);
  EXPECT_FALSE(Continue([&] { processor.Run(); }));
  EXPECT_EQ(TakeBoxes(), "error: Error in file \"main\" line 6:\\n\\nfail\\n\\n(boom.)");

  // Outside any line (here: after a fresh load) only the files can be named.
  processor.Load(script, "main");
  EXPECT_FALSE(Continue([&] { processor.ScriptError("reported by the course"); }));
  EXPECT_FALSE(Continue([&] { processor.ScriptError(); }));
  EXPECT_EQ(TakeBoxes(),
            "error: Error in script \"main\" or in its include files (common.inc):\\n\\nreported by the course.\n"
            "error: Error in script \"main\" or in its include files (common.inc).");
}

TEST_F(ScriptFixture, ReadsArgumentsAsTextsBooleansAndIntegers) {
  struct Expectation {
    std::function<std::string()> read;
    const char* value;  // or the error message
  };
  Lines results;
  inside = [&] {
    const std::vector<Expectation> expectations{
        {[&] { return processor.Arg(1); }, "true"},
        {[&] { return std::to_string(processor.ArgBool(1)); }, "1"},
        {[&] { return std::to_string(processor.ArgBool(2)); }, "0"},
        {[&] { return std::to_string(processor.ArgBool(3)); }, "Invalid boolean value: \"True\""},
        {[&] { return std::to_string(processor.ArgInteger(4)); }, "-12"},
        {[&] { return std::to_string(processor.ArgInteger(5)); }, "31"},
        {[&] { return std::to_string(processor.ArgInteger(6)); }, "-1"},
        {[&] { return std::to_string(processor.ArgInteger(7)); }, "Invalid integer: \"2147483648\""},
        {[&] { return std::to_string(processor.ArgInteger(8)); }, "Invalid integer: \"1.5\""},
        {[&] { return std::to_string(processor.ArgInteger(9)); }, "Invalid integer: \"\""},
        {[&] { return processor.Arg(0); }, "Parameter index 0 out of range"},
        {[&] { return processor.Arg(10); }, "Parameter index 10 out of range"},
    };
    for (const Expectation& expectation : expectations) {
      try {
        results.push_back(expectation.read());
      } catch (const EVkSilentAbort&) {
        const std::string box = TakeBoxes();
        const size_t open = box.rfind("\\n\\n(");
        results.push_back(open == std::string::npos ? box : box.substr(open + 5, box.size() - open - 7));
      }
      EXPECT_EQ(results.back(), expectation.value);
    }
  };
  ASSERT_TRUE(RunScript("log true false True -12 $1F $FFFFFFFF 2147483648 1.5 \"\""));
  EXPECT_EQ(results.size(), 12u);
}

TEST_F(ScriptFixture, KeepsThreeSetsOfVariables) {
  namespace fs = std::filesystem;
  const fs::path directory = fs::temp_directory_path() / ("vork-script-vars-" + std::to_string(::getpid()));
  fs::create_directories(directory);
  const std::string file = (directory / "learner.vkr").string();
  {
    TVkReg learner(file);
    TVkScriptProcessor first([&]() -> TVkReg& { return learner; });
    TVkScriptProcessor second([&]() -> TVkReg& { return learner; });
    first.SceneVars().WriteString("s", "scene");
    ApplicationVars().WriteString("a", "app");
    first.UserVars().WriteString("u", "user");

    // Scene variables are each processor's own; the others are shared.
    EXPECT_EQ(second.SceneVars().ReadString("s", ""), "");
    EXPECT_EQ(ApplicationVars().ReadString("a", ""), "app");
    EXPECT_EQ(second.UserVars().ReadString("u", ""), "user");
    SaveDeferredChanges();  // where the routine returns to the event loop
    EXPECT_EQ(TVkReg(file).ReadString("u", ""), "user");

    first.ClearVars("userVars");
    EXPECT_EQ(second.UserVars().ReadString("u", ""), "");
    // Only in memory: the file keeps the value until the next store.
    EXPECT_EQ(TVkReg(file).ReadString("u", ""), "user");
    first.UserVars().WriteString("v", "next");
    SaveDeferredChanges();
    EXPECT_EQ(TVkReg(file).ReadString("u", ""), "");

    first.ClearVars("UserVars");
    first.ClearVars("scene");
    EXPECT_EQ(first.UserVars().ReadString("v", ""), "next");
    EXPECT_EQ(first.SceneVars().ReadString("s", ""), "scene");
    first.ClearVars("sceneVars");
    first.ClearVars("appVars");
    EXPECT_EQ(first.SceneVars().ReadString("s", ""), "");
    EXPECT_EQ(ApplicationVars().ReadString("a", ""), "");
  }
  fs::remove_all(directory);
}

TEST_F(ScriptFixture, RegistersObjectsAndChecksHandlersAndLabels) {
  processor.Load({":Start", "say a"}, "main");
  processor.RegisterObject("intro", 1, 7);
  EXPECT_TRUE(processor.HasObject("intro"));
  EXPECT_FALSE(processor.HasObject("Intro"));
  EXPECT_FALSE(Continue([&] { processor.RegisterObject("intro", 1, 8); }));
  processor.UnregisterObject("intro");
  EXPECT_FALSE(processor.HasObject("intro"));
  EXPECT_FALSE(Continue([&] { processor.UnregisterObject("intro"); }));
  EXPECT_EQ(TakeBoxes(),
            "error: Error in script \"main\":\\n\\nObject with ID \"intro\" already exists.\n"
            "error: Error in script \"main\":\\n\\nObject with ID \"intro\" not found.");

  EXPECT_TRUE(processor.HasLabel("start"));
  EXPECT_TRUE(processor.HasLabel("START"));
  EXPECT_FALSE(processor.HasLabel(":start"));
  EXPECT_FALSE(processor.HasLabel("stop"));

  processor.BeginHandler();
  processor.BeginHandler();
  processor.EndHandler();
  processor.EndHandler();
  EXPECT_EQ(TakeBoxes(), "");
  EXPECT_FALSE(Continue([&] { processor.EndHandler(); }));
  EXPECT_EQ(TakeBoxes(), "error: Error in script \"main\":\\n\\nUnbalanced BeginHandler/EndHandler calls.");
}

TEST_F(ScriptFixture, CommandTablesComeInOrderWithUniqueNames) {
  EXPECT_THROW(processor.RegisterClass(3, "skipped", {}), EVkAssertion);
  EXPECT_THROW(processor.RegisterClass(2, "twice", {{"go", 1}, {"go far", 2}}), EVkAssertion);
  EXPECT_EQ(processor.ClassCount(), 2);
  processor.RegisterClass(2, "cases", {{"go", 1}, {"Go far", 2}});
  EXPECT_EQ(processor.ClassCount(), 3);
}

TEST_F(ScriptFixture, WarnsOnceAboutFileReferencesOnADevelopmentMachine) {
  struct Case {
    Lines script;
    const char* box;
  };
  const Case cases[] = {
      {{"say a", "// play x.wav", "say b.BMP", "say c.wav"},
       "warning: Script file \"main\" possibly contains unsupported \".bmp\" references!\\n\\n(If this is a valid "
       "warning, change the offending references from \".bmp\" to \".img\".)"},
      {{".wav", "say x.wav.bmp"},
       "warning: Script file \"main\" possibly contains unsupported \".wav\" references!\\n\\n(If this is a valid "
       "warning, change the offending references from \".wav\" to \".aud\".)"},
      {{"say a", "//!line common.inc 1", "say c.wav"},
       "warning: Script file \"common.inc\" possibly contains unsupported \".wav\" references!\\n\\n(If this is a "
       "valid warning, change the offending references from \".wav\" to \".aud\".)"},
      {{"say a.aud", "// b.wav"}, ""},
  };
  processor.SetWarnAboutOldReferences(true);
  for (const Case& c : cases) {
    processor.Load(c.script, "main");
    EXPECT_EQ(TakeBoxes(), c.box);
    EXPECT_TRUE(processor.Running());
  }
}

}  // namespace
}  // namespace vork
