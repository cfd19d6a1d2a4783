#pragma once
// TVkScriptProcessor: runs a text script that a course author wrote, one
// command a line, against the command tables that the bytecode registered.
//
//   :start                      a label
//   intro.play                  command "play" of the object with id "intro"
//   ?hint.show                  the same, skipped when "hint" is not there
//   say "good morning" %@sceneVar[name]
//   gotoIf %@userVar[score] >= 10 done
//   call sub                    one call may be active; END returns from it
//
// Each command runs its bytecode routine (OnCommand), which reads the
// command's arguments back from the processor. Every failure of the script
// goes through ScriptError: the author sees the file and line (through the
// line markers of include expansion), the script stops, and the bytecode
// message that was running is abandoned without a further box.
//
// A script that loops without end keeps the player busy like a bytecode
// loop would; the player's --timeout watchdog ends such a run.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "textscript/object_list.h"
#include "textscript/script_command.h"
#include "users/reg.h"

namespace vork {

// The application variables: one in-memory store that every processor of
// the run shares.
TVkReg& ApplicationVars();

// One command of a registered command table: its line ("name" or "name
// signature") and its routine entry.
struct TVkCommandLine {
  std::string text;
  int32_t routine = 0;
};

class TVkScriptProcessor {
 public:
  // Runs the routine of a command for the object word of its line.
  using CommandHandler = std::function<void(int32_t routine, int32_t object_word)>;
  // The store of the user variables, asked at every use.
  using StoreSource = std::function<TVkReg&()>;

  explicit TVkScriptProcessor(StoreSource user_vars);
  TVkScriptProcessor(const TVkScriptProcessor&) = delete;
  TVkScriptProcessor& operator=(const TVkScriptProcessor&) = delete;

  // Fails the consistency check (EVkAssertion) unless class_index is the
  // number of classes registered so far, or when a command name repeats.
  void RegisterClass(int32_t class_index, std::string name, const std::vector<TVkCommandLine>& commands);
  int32_t ClassCount() const { return static_cast<int32_t>(classes_.size()); }

  // Takes the script (an "END" line is added) and checks its labels; the
  // script is then ready to run from its first line.
  void Load(std::vector<std::string> lines, std::string file_name);
  bool Running() const { return running_; }
  // Ends a Run after the line being executed (its owner is going away).
  void Stop() { running_ = false; }
  // Executes lines from Next until the script stops.
  void Run();
  // Jumps to label as goto does, then runs.
  void RunFrom(std::string_view label);

  void RegisterObject(std::string_view id, int32_t class_index, int32_t object_word);
  void UnregisterObject(std::string_view id);
  bool HasObject(std::string_view id) const { return objects_.Find(id).has_value(); }
  bool HasLabel(std::string_view label) const;

  // The line being executed.
  const std::string& CurrentId() const { return current_id_; }
  const std::string& CurrentCommand() const { return current_command_; }
  const std::string& CurrentLine() const { return current_line_; }
  int32_t ArgCount() const { return static_cast<int32_t>(args_.size()); }
  // Argument n, 1-based; ScriptError when n is out of range or the text is
  // not of the asked kind.
  const std::string& Arg(int32_t n);
  bool ArgBool(int32_t n);
  int32_t ArgInteger(int32_t n);

  TVkReg& SceneVars() { return scene_vars_; }
  TVkReg& UserVars() { return user_vars_(); }
  // "sceneVars", "appVars" or "userVars"; other names do nothing. Only the
  // memory is cleared: a user's file changes with the next store into it.
  void ClearVars(std::string_view set_name);

  void BeginHandler() { ++handler_depth_; }
  void EndHandler();

  // Shows the script error box for the line being executed and throws
  // EVkSilentAbort. An empty message shows the place alone.
  [[noreturn]] void ScriptError(std::string_view message = {});

  void SetOnCommand(CommandHandler handler) { on_command_ = std::move(handler); }
  // On by default on a development machine.
  void SetWarnAboutOldReferences(bool warn) { warn_about_old_references_ = warn; }
  // Makes each Run stop quietly after this many lines (0: never). For
  // fuzzing, where a script that loops must end; the player has its
  // --timeout instead and leaves this at 0.
  void SetStepLimit(int64_t steps) { step_limit_ = steps; }

  // 0-based index of the next line; -1 once the script has ended.
  int32_t Next() const { return next_; }
  const std::vector<std::string>& Lines() const { return lines_; }
  const std::string& FileName() const { return file_name_; }

 private:
  void Step();
  // Answers true when the command was one of the built-ins and has run.
  bool RunBuiltIn();
  void CheckArguments(TVkScriptCommand& command);
  void GotoLabel(std::string_view label);
  void GotoIf();
  void CheckLabels();
  void WarnAboutOldReferences();
  std::optional<std::string> MacroValue(std::string_view kind, std::string_view name);

  std::vector<std::unique_ptr<TVkScriptClass>> classes_;
  TVkObjList objects_;
  std::string file_name_;
  std::vector<std::string> lines_;
  // Lower-cased label line -> index of its first occurrence.
  std::unordered_map<std::string, int32_t> labels_;
  bool running_ = false;
  int32_t next_ = -1;
  int32_t return_to_ = -1;
  std::string current_line_;
  std::string current_id_;
  std::string current_command_;
  std::vector<std::string> args_;
  TVkReg scene_vars_;
  StoreSource user_vars_;
  int32_t handler_depth_ = 0;
  CommandHandler on_command_;
  bool warn_about_old_references_ = false;
  int64_t step_limit_ = 0;
  // The commands that need no table; their arguments are checked like any
  // command's.
  TVkScriptCommand end_{"END", "", 0};
  TVkScriptCommand goto_{"goto", "label", 0};
  TVkScriptCommand call_{"call", "label", 0};
  TVkScriptCommand goto_if_{"gotoIf", "a op b label", 0};
};

}  // namespace vork
