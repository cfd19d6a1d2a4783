#include "vkc/lint.h"

#include <algorithm>
#include <set>

namespace vork {

namespace {

constexpr const char* kMain = "main";

// The statements after which nothing in the same block runs (break and
// continue are keywords of the loops).
const char* ExitWord(const Token& token) {
  if (token.kind != TokenKind::Name) return nullptr;
  for (const char* word : {"return", "stop", "break", "continue"}) {
    if (token.text == word) return word;
  }
  return nullptr;
}

bool IsOperator(const std::vector<Token>& tokens, size_t at, std::string_view text) {
  return at < tokens.size() && tokens[at].kind == TokenKind::Operator && tokens[at].text == text;
}

bool IsName(const std::vector<Token>& tokens, size_t at, std::string_view text) {
  return at < tokens.size() && tokens[at].kind == TokenKind::Name && tokens[at].text == text;
}

bool IsBuildValue(const Token& token) {
  return (token.kind == TokenKind::Name && token.text == "BUILD") ||
         (token.kind == TokenKind::Number && token.number == 0);
}

// "return;" or "{ return; }" starting at tokens[at], with no else after it.
bool IsBareReturn(const std::vector<Token>& tokens, size_t at) {
  size_t end = 0;
  if (IsName(tokens, at, "return") && IsOperator(tokens, at + 1, ";")) {
    end = at + 2;
  } else if (IsOperator(tokens, at, "{") && IsName(tokens, at + 1, "return") && IsOperator(tokens, at + 2, ";") &&
             IsOperator(tokens, at + 3, "}")) {
    end = at + 4;
  } else {
    return false;
  }
  return !IsName(tokens, end, "else");
}

bool SameWords(const LintType& pushed, const LintType& taken) {
  // A handle and a word travel alike; a string is an object the routine
  // destroys when it returns, and a handle of one class is no other's.
  if ((pushed.kind == ValueKind::String) != (taken.kind == ValueKind::String)) return false;
  if (pushed.kind == ValueKind::Handle && taken.kind == ValueKind::Handle) {
    return pushed.class_index == taken.class_index;
  }
  return true;
}

}  // namespace

std::string LintWarning::Text() const {
  return at.file + ":" + std::to_string(at.line) + ": warning: " + message;
}

int Linter::DeclareVariable(const std::string& name, LintType type, bool global, const LintPlace& at) {
  variables_.push_back({name, type, global, at, false, false, {}, {}});
  return static_cast<int>(variables_.size()) - 1;
}

void Linter::DeclareRoutine(const LintRoutine& routine) { routines_[routine.name].decl = routine; }

void Linter::BeginRoutine(const std::string& name) {
  routine_ = name;
  const LintRoutine& decl = routines_[name].decl;
  phase_ = decl.scene && !decl.params.empty() ? decl.params.front().name : "";
  contexts_.clear();
}

void Linter::BlockItem(const Token& first, const LintPlace& at) {
  Context& block = contexts_.back();
  if (block.after_exit != nullptr && !block.warned) {
    Warn(at, std::string("this code never runs: it follows '") + block.after_exit + "'");
    block.warned = true;
  }
  block.after_exit = ExitWord(first);
}

PhaseTest Linter::TestCondition(const std::vector<Token>& tokens, size_t open) {
  if (phase_.empty() || !IsOperator(tokens, open, "(") || !IsOperator(tokens, open + 4, ")")) return PhaseTest::None;
  const Token& left = tokens[open + 1];
  const Token& right = tokens[open + 3];
  const bool phase_left = left.kind == TokenKind::Name && left.text == phase_ && IsBuildValue(right);
  const bool phase_right = right.kind == TokenKind::Name && right.text == phase_ && IsBuildValue(left);
  if (!phase_left && !phase_right) return PhaseTest::None;
  if (IsOperator(tokens, open + 2, "==")) return PhaseTest::IsBuild;
  if (!IsOperator(tokens, open + 2, "!=")) return PhaseTest::None;
  if (IsBareReturn(tokens, open + 5) && !contexts_.empty()) contexts_.back().build = true;
  return PhaseTest::IsNotBuild;
}

bool Linter::InBuild() const {
  return std::any_of(contexts_.begin(), contexts_.end(), [](const Context& c) { return c.build; });
}

void Linter::Read(int variable, const LintPlace& at) {
  if (variable < 0) return;
  VariableInfo& info = variables_[static_cast<size_t>(variable)];
  info.read = true;
  info.reads.push_back({routine_, InBuild(), at});
}

void Linter::Write(int variable, const LintPlace& at, bool clears) {
  if (variable < 0) return;
  VariableInfo& info = variables_[static_cast<size_t>(variable)];
  info.set = true;
  if (!clears) info.writes.push_back({routine_, InBuild(), at});
}

void Linter::UseRoutine(const std::string& name, bool call) {
  RoutineInfo& info = routines_[name];
  // An event may run it even when only the routine itself hands it on.
  if (!call) info.entry_taken = true;
  if (name == routine_) return;  // recursion and its own entry are no use from outside
  info.used = true;
  if (call) info.calls.push_back({routine_, InBuild(), {}});
}

std::string Linter::TypeName(const LintType& type) const {
  switch (type.kind) {
    case ValueKind::None: return "nothing";
    case ValueKind::Word: return "word";
    case ValueKind::String: return "string";
    case ValueKind::Handle: {
      const ClassDecl* decl = classes_.ClassByIndex(type.class_index);
      return decl == nullptr ? "handle" : decl->name;
    }
  }
  return "?";
}

void Linter::PassRoutine(const std::string& described, const ParamDecl& param, const std::string& routine,
                         const LintPlace& at) {
  if (!param.event) return;
  const auto found = routines_.find(routine);
  if (found == routines_.end()) return;
  const LintRoutine& decl = found->second.decl;
  bool same = decl.params.size() == param.pushes.size();
  std::string pushed;
  for (size_t i = 0; i < param.pushes.size(); ++i) {
    const ParamDecl& word = param.pushes[i];
    const LintType type{word.kind, word.class_index};
    pushed += (i == 0 ? "" : ", ") + TypeName(type) + " " + word.name;
    if (same && !SameWords(type, decl.params[i].type)) same = false;
  }
  std::string taken;
  for (size_t i = 0; i < decl.params.size(); ++i) {
    taken += (i == 0 ? "" : ", ") + TypeName(decl.params[i].type) + " " + decl.params[i].name;
  }
  if (!same) {
    Warn(at, described + " runs '" + routine + "' with (" + pushed + "), but " + routine + " takes (" + taken +
                 "); declare it as " + routine + "(" + pushed + ")");
  }
  if (decl.result.kind != ValueKind::None) {
    Warn(at, described + " runs '" + routine + "' as an event, which takes no result, but " + routine +
                 " returns a " + TypeName(decl.result));
  }
}

void Linter::WarnUnused() {
  for (const VariableInfo& variable : variables_) {
    if (variable.read) continue;
    Warn(variable.at, "'" + variable.name + (variable.set ? "' is set but never used" : "' is never used"));
  }
  for (const auto& [name, routine] : routines_) {
    if (routine.used || name == kMain || routine.decl.at.line == 0) continue;
    Warn(routine.decl.at, (routine.decl.scene ? "scene '" : "routine '") + name + "' is never used");
  }
}

std::map<std::string, bool> Linter::BuildOnlyRoutines() const {
  // A routine runs in a BUILD phase when every call of it is made there or
  // from another such routine, and no event or scene change runs it itself.
  std::map<std::string, bool> build_only;
  for (const auto& [name, routine] : routines_) {
    build_only[name] = !routine.decl.scene && name != kMain && !routine.entry_taken && !routine.calls.empty();
  }
  for (bool changed = true; changed;) {
    changed = false;
    for (const auto& [name, routine] : routines_) {
      if (!build_only[name]) continue;
      for (const Access& call : routine.calls) {
        if (call.in_build || build_only[call.routine]) continue;
        build_only[name] = false;
        changed = true;
        break;
      }
    }
  }
  return build_only;
}

void Linter::WarnReleasedHandles() {
  const auto build_only = BuildOnlyRoutines();
  for (const VariableInfo& variable : variables_) {
    if (!variable.global || variable.type.kind != ValueKind::Handle) continue;
    const ClassDecl* decl = classes_.ClassByIndex(variable.type.class_index);
    if (decl == nullptr || decl->kept) continue;
    for (const Access& write : variable.writes) {
      if (write.in_build || build_only.at(write.routine)) continue;
      const auto other = std::find_if(variable.reads.begin(), variable.reads.end(),
                                      [&](const Access& read) { return read.routine != write.routine; });
      if (other == variable.reads.end()) continue;
      Warn(write.at, "'" + variable.name + "' (a " + decl->name + ") is set in " + write.routine +
                         ", outside a scene's BUILD phase, and used in " + other->routine +
                         ": the next scene change releases it, and " + other->routine +
                         " then sends to a dead handle; create it in the BUILD phase of the scene that uses it");
    }
    WarnUsedByAnotherScene(variable, *decl);
  }
}

void Linter::WarnUsedByAnotherScene(const VariableInfo& variable, const ClassDecl& decl) {
  // Only when scenes alone set it, each in its BUILD phase: any other
  // writer might run in the reading scene first.
  const bool scenes_only = std::all_of(variable.writes.begin(), variable.writes.end(), [&](const Access& write) {
    return write.in_build && routines_.at(write.routine).decl.scene;
  });
  if (variable.writes.empty() || !scenes_only) return;
  std::set<std::string> warned;
  for (const Access& read : variable.reads) {
    if (!routines_.at(read.routine).decl.scene || warned.contains(read.routine)) continue;
    const bool sets_it = std::any_of(variable.writes.begin(), variable.writes.end(),
                                     [&](const Access& write) { return write.routine == read.routine; });
    if (sets_it) continue;
    warned.insert(read.routine);
    Warn(read.at, "'" + variable.name + "' (a " + decl.name + ") is used in scene " + read.routine +
                      ", but only the BUILD phase of " + variable.writes.front().routine +
                      " sets it: the scene change to " + read.routine + " has released it");
  }
}

std::vector<LintWarning> Linter::Finish() {
  WarnUnused();
  WarnReleasedHandles();
  std::stable_sort(warnings_.begin(), warnings_.end(), [](const LintWarning& a, const LintWarning& b) {
    return a.at.file != b.at.file ? a.at.file < b.at.file : a.at.line < b.at.line;
  });
  return std::move(warnings_);
}

}  // namespace vork
