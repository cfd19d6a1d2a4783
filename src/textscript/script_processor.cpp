#include "textscript/script_processor.h"

#include <algorithm>

#include "text/word_lists.h"
#include "platform/cp1252.h"
#include "platform/diagnostic_log.h"
#include "platform/errors.h"
#include "platform/message_boxes.h"
#include "textscript/line_markers.h"
#include "textscript/script_macros.h"
#include "textscript/script_numbers.h"

namespace vork {

namespace {

bool IsBelowSpace(char c) { return static_cast<unsigned char>(c) < 33; }

bool IsLabelByte(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

bool IsValidLabelLine(std::string_view line) {
  return line.size() >= 2 && std::all_of(line.begin() + 1, line.end(), IsLabelByte);
}

std::string Quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::string Joined(const std::vector<std::string>& names, std::string_view separator) {
  std::string text;
  for (const std::string& name : names) {
    if (!text.empty()) text += separator;
    text += name;
  }
  return text;
}

}  // namespace

TVkReg& ApplicationVars() {
  static TVkReg store;
  return store;
}

TVkScriptProcessor::TVkScriptProcessor(StoreSource user_vars)
    : user_vars_(std::move(user_vars)), warn_about_old_references_(IsDevelopmentMachine()) {}

void TVkScriptProcessor::RegisterClass(int32_t class_index, std::string name,
                                       const std::vector<TVkCommandLine>& commands) {
  Check(class_index == ClassCount());
  auto script_class = std::make_unique<TVkScriptClass>();
  script_class->name = std::move(name);
  for (const TVkCommandLine& line : commands) {
    const size_t space = line.text.find(' ');
    std::string command_name = line.text.substr(0, space);
    std::string signature = space == std::string::npos ? std::string() : line.text.substr(space + 1);
    Check(script_class->commands.Add(command_name, TVkScriptCommand(command_name, std::move(signature),
                                                                      line.routine)));
  }
  classes_.push_back(std::move(script_class));
}

void TVkScriptProcessor::Load(std::vector<std::string> lines, std::string file_name) {
  running_ = false;
  lines_ = std::move(lines);
  lines_.emplace_back("END");
  file_name_ = std::move(file_name);
  next_ = 0;
  return_to_ = -1;
  labels_.clear();
  for (size_t index = 0; index < lines_.size(); ++index) {
    if (lines_[index].starts_with(':')) labels_.try_emplace(LowerCase(lines_[index]), static_cast<int32_t>(index));
  }
  CheckLabels();
  if (warn_about_old_references_) WarnAboutOldReferences();
  running_ = true;
}

void TVkScriptProcessor::CheckLabels() {
  for (size_t index = 0; index < lines_.size(); ++index) {
    const std::string& line = lines_[index];
    if (!line.starts_with(':') || IsValidLabelLine(line)) continue;
    // Reported as the line being executed.
    next_ = static_cast<int32_t>(index) + 1;
    current_line_ = line;
    ScriptError("Invalid label (label contains illegal characters)");
  }
}

// Courses store sounds and pictures under logical names (".aud", ".img");
// a script still naming ".wav" or ".bmp" files likely finds nothing.
void TVkScriptProcessor::WarnAboutOldReferences() {
  for (size_t index = 0; index < lines_.size(); ++index) {
    const std::string& line = lines_[index];
    if (line.size() < 4 || line.starts_with("//")) continue;
    const std::string lower = LowerCase(line);
    std::string_view found;
    std::string_view replacement;
    if (lower.find(".wav") != std::string::npos) {
      found = ".wav";
      replacement = ".aud";
    } else if (lower.find(".bmp") != std::string::npos) {
      found = ".bmp";
      replacement = ".img";
    } else {
      continue;
    }
    const TVkLinePosition position = LinePosition(file_name_, lines_, static_cast<int64_t>(index) + 1);
    ShowWarning("Script file " + Quoted(position.file) + " possibly contains unsupported " + Quoted(found) +
                " references!\r\n\r\n(If this is a valid warning, change the offending references from " +
                Quoted(found) + " to " + Quoted(replacement) + ".)");
    return;
  }
}

void TVkScriptProcessor::Run() {
  running_ = true;
  for (int64_t steps = 1; running_; ++steps) {
    if (step_limit_ > 0 && steps > step_limit_) {
      running_ = false;
      return;
    }
    Step();
  }
}

void TVkScriptProcessor::RunFrom(std::string_view label) {
  GotoLabel(label);
  Run();
}

void TVkScriptProcessor::Step() {
  // A script that has ended (or was never loaded) has no line to run.
  if (next_ < 0 || next_ >= static_cast<int32_t>(lines_.size())) {
    running_ = false;
    return;
  }
  current_line_ = lines_[static_cast<size_t>(next_)];
  ++next_;
  current_id_.clear();
  current_command_.clear();
  args_.clear();

  std::string line = current_line_;
  switch (ExpandMacros(line, [this](std::string_view kind, std::string_view name) { return MacroValue(kind, name); })) {
    case MacroResult::kExpanded: break;
    case MacroResult::kMalformed: ScriptError("Error in macro");
    case MacroResult::kTooLong:
      ScriptError("Line is longer than " + std::to_string(kMaxExpandedLine) + " bytes with its macros expanded");
  }
  current_line_ = line;
  if (!line.empty() && IsBelowSpace(line.front())) ScriptError("Line must not contain preceding whitespace");
  if (line.empty() || line.starts_with(':') || line.starts_with("//")) return;

  std::string_view text(line);
  const bool optional = text.starts_with('?');
  if (optional) text.remove_prefix(1);
  if (text.starts_with('.')) ScriptError("Object ID is missing");

  const size_t space = text.find(' ');
  const std::string_view head = text.substr(0, space);
  try {
    if (space != std::string_view::npos) SplitWords(text.substr(space + 1), args_);
  } catch (const EVkError& error) {
    ScriptError(error.what());
  }
  const size_t dot = head.find('.');
  if (dot != std::string_view::npos) {
    current_id_ = head.substr(0, dot);
    current_command_ = head.substr(dot + 1);
  } else {
    current_command_ = head;
  }

  int32_t class_index = 0;
  int32_t object_word = 0;
  if (current_id_.empty()) {
    if (optional) ScriptError("\"?\"-designator can only be used with object ID");
    if (RunBuiltIn()) return;
  } else {
    const std::optional<TVkObjItem> item = objects_.Find(current_id_);
    if (!item) {
      if (optional) return;
      ScriptError("Object with ID " + Quoted(current_id_) + " not found");
    }
    class_index = item->class_index;
    object_word = item->object_word;
  }
  if (class_index < 0 || class_index >= ClassCount()) {
    ScriptError("Class with index " + std::to_string(class_index) + " not found");
  }
  TVkScriptCommand* command = classes_[static_cast<size_t>(class_index)]->commands.Find(current_command_);
  if (!command) ScriptError("Unknown command " + Quoted(current_command_));
  CheckArguments(*command);
  if (on_command_) on_command_(command->Routine(), object_word);
}

bool TVkScriptProcessor::RunBuiltIn() {
  if (current_command_ == "END") {
    CheckArguments(end_);
    if (return_to_ < 0) {
      next_ = -1;
      running_ = false;
    } else {
      next_ = return_to_;
      return_to_ = -1;
    }
  } else if (current_command_ == "goto") {
    CheckArguments(goto_);
    GotoLabel(args_[0]);
  } else if (current_command_ == "call") {
    CheckArguments(call_);
    if (return_to_ >= 0) ScriptError("Calls may not be nested (only one call may be active at a time)");
    const int32_t after_call = next_;
    GotoLabel(args_[0]);
    return_to_ = after_call;
  } else if (current_command_ == "gotoIf") {
    CheckArguments(goto_if_);
    GotoIf();
  } else {
    return false;
  }
  return true;
}

void TVkScriptProcessor::CheckArguments(TVkScriptCommand& command) {
  if (std::optional<std::string> error = command.CheckArguments(args_)) ScriptError(*error);
}

void TVkScriptProcessor::GotoIf() {
  const std::string& a = args_[0];
  const std::string& op = args_[1];
  const std::string& b = args_[2];
  bool jump = false;
  if (op == "=") {
    jump = a == b;
  } else if (op == "<>") {
    jump = a != b;
  } else if (op == "<" || op == "<=" || op == ">" || op == ">=") {
    const std::optional<double> x = ParseScriptNumber(a);
    const std::optional<double> y = ParseScriptNumber(b);
    if (!x || !y) ScriptError();
    jump = op == "<" ? *x < *y : op == "<=" ? *x <= *y : op == ">" ? *x > *y : *x >= *y;
  } else {
    ScriptError();
  }
  if (jump) GotoLabel(args_[3]);
}

void TVkScriptProcessor::GotoLabel(std::string_view label) {
  if (label.starts_with(':')) ScriptError("Invalid label " + Quoted(label) + " (label contains illegal characters)");
  const auto found = labels_.find(LowerCase(":" + std::string(label)));
  if (found == labels_.end()) ScriptError("Label " + Quoted(label) + " not found");
  next_ = found->second;
}

bool TVkScriptProcessor::HasLabel(std::string_view label) const {
  return labels_.contains(LowerCase(":" + std::string(label)));
}

std::optional<std::string> TVkScriptProcessor::MacroValue(std::string_view kind, std::string_view name) {
  if (kind == "sceneVar") return scene_vars_.ReadString(name, "");
  if (kind == "userVar") return UserVars().ReadString(name, "");
  if (kind == "appVar") return ApplicationVars().ReadString(name, "");
  return std::nullopt;
}

void TVkScriptProcessor::RegisterObject(std::string_view id, int32_t class_index, int32_t object_word) {
  if (!objects_.Add(id, class_index, object_word)) ScriptError("Object with ID " + Quoted(id) + " already exists");
}

void TVkScriptProcessor::UnregisterObject(std::string_view id) {
  if (!objects_.Remove(id)) ScriptError("Object with ID " + Quoted(id) + " not found");
}

const std::string& TVkScriptProcessor::Arg(int32_t n) {
  if (n < 1 || n > ArgCount()) ScriptError("Parameter index " + std::to_string(n) + " out of range");
  return args_[static_cast<size_t>(n - 1)];
}

bool TVkScriptProcessor::ArgBool(int32_t n) {
  const std::string& text = Arg(n);
  if (text == "true") return true;
  if (text == "false") return false;
  ScriptError("Invalid boolean value: " + Quoted(text));
}

int32_t TVkScriptProcessor::ArgInteger(int32_t n) {
  const std::string& text = Arg(n);
  const std::optional<int32_t> value = ParseScriptInteger(text);
  if (!value) ScriptError("Invalid integer: " + Quoted(text));
  return *value;
}

void TVkScriptProcessor::ClearVars(std::string_view set_name) {
  if (set_name == "sceneVars") {
    scene_vars_.Clear();
  } else if (set_name == "appVars") {
    ApplicationVars().Clear();
  } else if (set_name == "userVars") {
    UserVars().Clear();
  }
}

void TVkScriptProcessor::EndHandler() {
  if (handler_depth_ <= 0) ScriptError("Unbalanced BeginHandler/EndHandler calls");
  --handler_depth_;
}

void TVkScriptProcessor::ScriptError(std::string_view message) {
  running_ = false;
  const TVkLinePosition position = LinePosition(file_name_, lines_, std::max(next_, 0));
  std::string text;
  if (position.line > 0) {
    text = "Error in file " + Quoted(position.file) + " line " + std::to_string(position.line) + ":\r\n\r\n" +
           current_line_;
    if (!message.empty()) text += "\r\n\r\n(" + std::string(message) + ".)";
  } else {
    text = "Error in script " + Quoted(position.file);
    if (!position.includes.empty()) text += " or in its include files (" + Joined(position.includes, ", ") + ")";
    text += message.empty() ? std::string(".") : ":\r\n\r\n" + std::string(message) + ".";
  }
  ShowError(text);
  throw EVkSilentAbort();
}

}  // namespace vork
