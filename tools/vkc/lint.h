#pragma once
// Warnings about a course that compiles but will misbehave: a handle that a
// scene change releases while another routine still counts on it, an event
// routine whose arguments are not what its event pushes, variables and
// routines that nothing uses, and code after return or stop. The compiler
// tells the linter what it sees as it goes (small calls at its declaration,
// statement and expression sites); Finish weighs it all and gives the
// warnings. Which classes a scene change releases and what each event pushes
// come from the declaration file.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "vkc/declarations.h"
#include "vkc/lexer.h"

namespace vork {

struct LintPlace {
  std::string file;
  int line = 0;
};

struct LintWarning {
  LintPlace at;
  std::string message;
  // "FILE:LINE: warning: message"
  std::string Text() const;
};

struct LintType {
  ValueKind kind = ValueKind::None;  // None: a routine without result
  int32_t class_index = -1;          // handles only
};

struct LintParam {
  LintType type;
  std::string name;
};

struct LintRoutine {
  std::string name;
  bool scene = false;
  std::vector<LintParam> params;
  LintType result;
  LintPlace at;
};

// How an if's condition tests a scene's phase.
enum class PhaseTest { None, IsBuild, IsNotBuild };

class Linter {
 public:
  explicit Linter(const ClassDeclarations& classes) : classes_(classes) {}

  // Declarations. A variable's id goes with it to every later read and write.
  int DeclareVariable(const std::string& name, LintType type, bool global, const LintPlace& at);
  void DeclareRoutine(const LintRoutine& routine);

  // A routine's body, compiled in order.
  void BeginRoutine(const std::string& name);
  void EndRoutine() { routine_.clear(); }
  void BeginBlock() { contexts_.push_back({}); }
  // first: the first token of a declaration or statement directly in the block.
  void BlockItem(const Token& first, const LintPlace& at);
  void EndBlock() { contexts_.pop_back(); }
  // condition: the tokens of an if from its "(" on. When the test is
  // "phase != BUILD" and its statement is a bare return, the rest of the
  // enclosing block is the BUILD phase.
  PhaseTest TestCondition(const std::vector<Token>& tokens, size_t open);
  void BeginBranch(bool build) { contexts_.push_back({build}); }
  void EndBranch() { contexts_.pop_back(); }

  void Read(int variable, const LintPlace& at);
  // clears: the value is the constant 0, which forgets a handle.
  void Write(int variable, const LintPlace& at, bool clears);
  // A call (call) or an entry taken without one.
  void UseRoutine(const std::string& name, bool call);
  // routine is handed to message argument param, an event the object runs later.
  void PassRoutine(const std::string& described, const ParamDecl& param, const std::string& routine,
                   const LintPlace& at);

  // Every warning, by file and line.
  std::vector<LintWarning> Finish();

 private:
  struct Access {
    std::string routine;
    bool in_build = false;
    LintPlace at;
  };
  struct VariableInfo {
    std::string name;
    LintType type;
    bool global = false;
    LintPlace at;
    bool read = false;
    bool set = false;
    std::vector<Access> reads;
    std::vector<Access> writes;
  };
  struct RoutineInfo {
    LintRoutine decl;
    std::vector<Access> calls;  // call sites in other routines
    bool entry_taken = false;   // handed on as an entry (an event, a scene)
    bool used = false;          // by another routine
  };
  struct Context {
    bool build = false;
    const char* after_exit = nullptr;  // the return or stop that ended the block so far
    bool warned = false;
  };

  bool InBuild() const;
  std::string TypeName(const LintType& type) const;
  void Warn(const LintPlace& at, const std::string& message) { warnings_.push_back({at, message}); }
  void WarnUnused();
  void WarnReleasedHandles();
  void WarnUsedByAnotherScene(const VariableInfo& variable, const ClassDecl& decl);
  std::map<std::string, bool> BuildOnlyRoutines() const;

  const ClassDeclarations& classes_;
  std::vector<VariableInfo> variables_;
  std::map<std::string, RoutineInfo> routines_;
  std::string routine_;  // the routine being compiled
  std::string phase_;    // its phase parameter when it is a scene
  std::vector<Context> contexts_;
  std::vector<LintWarning> warnings_;
};

}  // namespace vork
