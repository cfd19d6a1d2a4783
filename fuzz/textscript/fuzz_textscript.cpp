// Expands and runs arbitrary script text against a small command table.
//
// Input: the main script, optionally followed by included files, each after
// a line "=====" and named a.inc, b.inc, c.inc ... in turn. The command
// routines read their arguments back in every way the bytecode can, set
// variables and report errors, as course bytecode would.

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/errors.h"
#include "platform/message_boxes.h"
#include "platform/player_host.h"
#include "textscript/include_expansion.h"
#include "textscript/script_processor.h"

namespace {

using namespace vork;

class SilentBoxes : public MessageBoxes {
 public:
  BoxResult Show(BoxKind, std::string_view, BoxButtons) override { return BoxResult::Ok; }
};

class SilentHost : public PlayerHost {
 public:
  MessageBoxes& Boxes() override { return boxes_; }

 private:
  SilentBoxes boxes_;
};

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) end = text.size();
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

std::map<std::string, std::vector<std::string>> SplitFiles(std::string_view input) {
  std::map<std::string, std::vector<std::string>> files;
  std::string name = "main";
  char next = 'a';
  for (;;) {
    const size_t separator = input.find("\n=====\n");
    files[name] = SplitLines(input.substr(0, separator));
    if (separator == std::string_view::npos) return files;
    input.remove_prefix(separator + 7);
    name = std::string(1, next++) + ".inc";
  }
}

enum Routine : int32_t { kSay = 1, kSet, kRead, kFail, kObject };

void RunCommand(TVkScriptProcessor& processor, int32_t routine) {
  switch (routine) {
    case kSet:
      // Thousands of steps each storing a line of up to a megabyte would
      // measure the machine's memory, not the processor.
      if (processor.Arg(2).size() <= 4096) processor.SceneVars().WriteString(processor.Arg(1), processor.Arg(2));
      break;
    case kRead:
      for (int32_t n = 0; n <= processor.ArgCount() + 1; ++n) {
        try {
          processor.ArgInteger(n);
        } catch (const EVkSilentAbort&) {
        }
        try {
          processor.ArgBool(n);
        } catch (const EVkSilentAbort&) {
        }
      }
      break;
    case kFail:
      processor.ScriptError(processor.ArgCount() > 0 ? processor.Arg(1) : std::string());
    case kObject:
      if (processor.ArgCount() > 0) {
        processor.HasObject(processor.Arg(1)) ? processor.UnregisterObject(processor.Arg(1))
                                              : processor.RegisterObject(processor.Arg(1), 1, 5);
      }
      break;
    default:
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static SilentHost host;
  static ScopedHost installed(host);
  const std::map<std::string, std::vector<std::string>> files =
      SplitFiles(std::string_view(reinterpret_cast<const char*>(data), size));
  std::vector<std::string> script;
  TVkIncludeLimits limits;
  limits.max_lines = 20000;
  limits.max_bytes = 1 << 20;
  try {
    ExpandIncludes("main", script, [&](const std::string& name) {
      const auto found = files.find(name);
      if (found == files.end()) throw EVkError("Resource \"" + name + "\" not found");
      return found->second;
    }, limits);
  } catch (const EVkError&) {
    return 0;
  }

  TVkReg user_vars;
  TVkScriptProcessor processor([&]() -> TVkReg& { return user_vars; });
  processor.SetWarnAboutOldReferences(true);
  processor.SetStepLimit(5000);
  processor.RegisterClass(0, "script",
                          {{"say text ?speed=slow/fast", kSay}, {"set name value", kSet}, {"read first...", kRead},
                           {"fail ?message", kFail}, {"object id", kObject}});
  processor.RegisterClass(1, "thing", {{"play ?times", kRead}, {"stop", kFail}});
  processor.SetOnCommand([&](int32_t routine, int32_t) { RunCommand(processor, routine); });
  try {
    processor.Load(std::move(script), "main");
  } catch (const EVkSilentAbort&) {
  }
  // Runs on after each error, as a course may, and restarts at labels.
  for (int round = 0; round < 4; ++round) {
    try {
      processor.Run();
      if (round == 1) processor.RunFrom("start");
    } catch (const EVkSilentAbort&) {
    }
  }
  ApplicationVars().Clear();
  return 0;
}
