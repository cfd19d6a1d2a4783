#include "vkc/compiler.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>

#include "vkc/code_writer.h"

namespace vork {

namespace {

// String message 1 fills a new string object from a string constant; the
// declaration file leaves it out because only literals use it.
constexpr int32_t kStringFromConstant = 1;
constexpr int32_t kDestroy = -1;

constexpr const char* kSystemGlobal = "sys";
// Statements and expressions nest by recursion; a source cannot nest deeper
// than this, so that no input exhausts the native stack.
constexpr int kMaxNesting = 200;
constexpr const char* kStartLabel = "vkc.start";
constexpr const char* kStopLabel = "vkc.stop";

const std::set<std::string, std::less<>> kKeywords = {
    "const", "void", "word", "bool", "string", "scene", "if", "else", "while",
    "for", "break", "continue", "return", "stop", "str", "import"};

struct Type {
  ValueKind kind = ValueKind::None;  // None: a routine without result
  int32_t class_index = -1;          // handles only

  bool operator==(const Type&) const = default;
  static Type Word() { return {ValueKind::Word, -1}; }
  static Type String() { return {ValueKind::String, -1}; }
  static Type Handle(int32_t index) { return {ValueKind::Handle, index}; }
};

// What an expression left on the stack. An owned string is a string object
// that nothing else refers to: whoever takes it must destroy it or hand it on.
// A string that is not owned belongs to a variable.
struct Value {
  Type type;
  bool owned = false;
  std::optional<int32_t> constant;  // literals and named constants
};

struct Variable {
  std::string name;
  Type type;
  bool global = false;
  int32_t offset = 0;  // locals and parameters: the frame offset
};

struct Routine {
  std::string name;
  std::vector<Variable> params;
  Type result;
  size_t body = 0;  // token index of the body's "{"
  SourcePosition at;
  bool scene = false;
};

// One file of the course: the main source or an import.
struct SourceFile {
  std::string path;      // as opened, for error messages
  std::string map_path;  // relative to the main source's folder (the main source: as given)
  std::string text;
};

// A loop that break and continue may leave: where they jump, and how many
// scopes are open outside it (the scopes inside die on the way out).
struct Loop {
  std::string break_label;
  std::string continue_label;
  size_t outer_scopes = 0;
};

struct GlobalString {
  std::string name;
  std::optional<std::string> initial;
};

class Compiler {
 public:
  Compiler(std::string_view source, std::string_view file, const ClassDeclarations& classes,
           const SourceReader& read_source)
      : file_(file), classes_(classes), read_source_(read_source) {
    files_.push_back({file_, file_, std::string(source)});
    tokens_ = Tokenize(source, file);
  }

  CompiledCourse Run();

 private:
  // Tokens.
  const Token& Peek(size_t ahead = 0) const { return tokens_[std::min(pos_ + ahead, tokens_.size() - 1)]; }
  const Token& Next() { return tokens_[pos_ < tokens_.size() - 1 ? pos_++ : pos_]; }
  bool IsOp(std::string_view op, size_t ahead = 0) const {
    return Peek(ahead).kind == TokenKind::Operator && Peek(ahead).text == op;
  }
  bool IsWord(std::string_view word) const { return Peek().kind == TokenKind::Name && Peek().text == word; }
  bool AcceptOp(std::string_view op);
  void ExpectOp(std::string_view op);
  std::string ExpectName(std::string_view what);
  [[noreturn]] void Fail(SourcePosition at, const std::string& message) const {
    throw CompileError(FileOf(at), at, message);
  }
  const std::string& FileOf(SourcePosition at) const { return files_[static_cast<size_t>(at.file)].path; }
  std::string Describe(const Token& token) const;

  // Declarations.
  void DeclarationsPass();
  void Import();
  std::optional<Type> TypeAt(size_t ahead) const;
  Type ParseType(bool allow_void);
  std::string TypeName(const Type& type) const;
  void DeclareTopLevelName(const std::string& name, SourcePosition at);
  int32_t ParseConstant();
  void ParseRoutine(Type result, bool scene);
  void ParseGlobal(Type type);
  void SkipBody();

  // Routines and statements.
  void CompileRoutine(const Routine& routine);
  void Block();
  void Statement();
  void SimpleStatement();
  void LocalDeclaration(Type type);
  void Assignment();
  void If();
  void While();
  void For();
  void LoopBody(const std::string& break_label, const std::string& continue_label);
  void LeaveLoop(bool to_continue);
  void Return();
  void EndScope();
  void DestroyStringLocals(const std::vector<Variable>& scope);
  void MarkLine(SourcePosition at);
  std::string NewLabel(std::string_view what);

  // Expressions, loosest first.
  Value Expression();
  Value LogicalOr();
  Value LogicalAnd();
  Value Binary(int level);
  Value Unary();
  Value Postfix();
  Value Primary();
  Value Name();
  Value CallRoutine(const Routine& routine);
  Value Send(Value receiver, size_t receiver_code, SourcePosition at);
  Value Concatenate(Value left, Value right, SourcePosition at);
  Value CompareStrings(Value left, Value right, Opcode compare);
  void Condition(SourcePosition at);
  void Argument(const Type& wanted, bool kept, SourcePosition at, const std::string& what,
                std::vector<int>& temps_to_destroy);

  // Code helpers.
  const Variable* FindVariable(std::string_view name) const;
  void Load(const Variable& variable);
  void Store(const Variable& variable);
  void NewString(RoutineCode& code, const std::string& text);
  void CopyTop() {
    code_.Push(StringMessage("assign"));
    code_.Push(ClassDeclarations::kStringClass);
    code_.Op(Opcode::CreateObj);
    code_.Op(Opcode::Method2);
  }
  void DestroyTop() {
    code_.Push(kDestroy);
    code_.Op(Opcode::Swap);
    code_.Op(Opcode::Method);
  }
  int SpillToTemp();
  void DestroyTemp(int temp);
  void Discard(const Value& value);
  void MakeOwned(Value& value);
  void WordToString(SourcePosition at);
  void SendToSystem(int32_t message);
  int32_t StringMessage(std::string_view name) const;
  void Convert(const Value& value, const Type& wanted, SourcePosition at, const std::string& what) const;
  void AssignString(const Variable& target, Value value, int32_t message);

  std::string SourceLine(SourcePosition at) const;
  void WriteStartAndStop();

  std::string file_;
  const ClassDeclarations& classes_;
  const SourceReader& read_source_;
  std::vector<SourceFile> files_;
  std::vector<Token> tokens_;
  size_t pos_ = 0;

  ImageWriter writer_;
  std::map<std::string, int32_t, std::less<>> constants_;
  std::map<std::string, Variable, std::less<>> globals_;
  std::vector<GlobalString> global_strings_;
  std::map<std::string, Routine, std::less<>> routines_;
  std::vector<std::string> routine_order_;
  std::map<std::string, std::string, std::less<>> string_constants_;  // text -> symbol

  // The routine being compiled.
  const Routine* routine_ = nullptr;
  RoutineCode code_;
  std::vector<std::vector<Variable>> scopes_;
  std::vector<Loop> loops_;
  std::vector<int32_t> string_locals_;  // offsets of every named string local
  int named_locals_ = 0;
  int temps_ = 0;  // temporaries of the statement being compiled
  int max_temps_ = 0;
  int labels_ = 0;
  int nesting_ = 0;
};

// Counts one level of nesting for as long as it lives.
class NestingGuard {
 public:
  NestingGuard(int& depth, const std::string& file, SourcePosition at) : depth_(depth) {
    if (++depth_ > kMaxNesting) {
      throw CompileError(file, at, "nested more than " + std::to_string(kMaxNesting) + " levels deep");
    }
  }
  ~NestingGuard() { --depth_; }
  NestingGuard(const NestingGuard&) = delete;
  NestingGuard& operator=(const NestingGuard&) = delete;

 private:
  int& depth_;
};

// ---------------------------------------------------------------- tokens

bool Compiler::AcceptOp(std::string_view op) {
  if (!IsOp(op)) return false;
  Next();
  return true;
}

std::string Compiler::Describe(const Token& token) const {
  switch (token.kind) {
    case TokenKind::End: return "the end of the file";
    case TokenKind::String: return "a string";
    case TokenKind::Number: return "'" + (token.text.empty() ? std::to_string(token.number) : token.text) + "'";
    default: return "'" + token.text + "'";
  }
}

void Compiler::ExpectOp(std::string_view op) {
  if (!AcceptOp(op)) Fail(Peek().at, "expected '" + std::string(op) + "', found " + Describe(Peek()));
}

std::string Compiler::ExpectName(std::string_view what) {
  if (Peek().kind != TokenKind::Name || kKeywords.contains(Peek().text)) {
    Fail(Peek().at, "expected " + std::string(what) + ", found " + Describe(Peek()));
  }
  return Next().text;
}

// ---------------------------------------------------------------- declarations

std::optional<Type> Compiler::TypeAt(size_t ahead) const {
  const Token& token = Peek(ahead);
  if (token.kind != TokenKind::Name) return std::nullopt;
  if (token.text == "word" || token.text == "bool") return Type::Word();
  if (token.text == "string") return Type::String();
  if (token.text == "void") return Type{};
  const ClassDecl* decl = classes_.FindClass(token.text);
  if (decl == nullptr || decl->index == ClassDeclarations::kStringClass) return std::nullopt;
  return Type::Handle(decl->index);
}

Type Compiler::ParseType(bool allow_void) {
  const auto type = TypeAt(0);
  if (!type || (!allow_void && type->kind == ValueKind::None)) {
    Fail(Peek().at, "expected a type, found " + Describe(Peek()));
  }
  Next();
  return *type;
}

std::string Compiler::TypeName(const Type& type) const {
  switch (type.kind) {
    case ValueKind::None: return "nothing";
    case ValueKind::Word: return "word";
    case ValueKind::String: return "string";
    case ValueKind::Handle: return classes_.ClassByIndex(type.class_index)->name;
  }
  return "?";
}

void Compiler::DeclareTopLevelName(const std::string& name, SourcePosition at) {
  if (name == kSystemGlobal || constants_.contains(name) || globals_.contains(name) || routines_.contains(name) ||
      classes_.FindClass(name) != nullptr) {
    Fail(at, "'" + name + "' is already declared");
  }
}

int32_t Compiler::ParseConstant() {
  const bool negative = AcceptOp("-");
  const Token& token = Next();
  int32_t value = 0;
  if (token.kind == TokenKind::Number) {
    value = static_cast<int32_t>(static_cast<uint32_t>(token.number));
  } else if (token.kind == TokenKind::Name && constants_.contains(token.text)) {
    value = constants_.find(token.text)->second;
  } else {
    Fail(token.at, "expected a constant (a number or a named constant), found " + Describe(token));
  }
  return negative ? static_cast<int32_t>(0u - static_cast<uint32_t>(value)) : value;
}

void Compiler::SkipBody() {
  const SourcePosition at = Peek().at;
  ExpectOp("{");
  for (int depth = 1; depth > 0; Next()) {
    if (Peek().kind == TokenKind::End) Fail(at, "this '{' is never closed");
    if (IsOp("{")) ++depth;
    if (IsOp("}")) --depth;
  }
}

void Compiler::ParseRoutine(Type result, bool scene) {
  Routine routine;
  routine.at = Peek().at;
  routine.name = ExpectName("a routine name");
  DeclareTopLevelName(routine.name, routine.at);
  routine.result = result;
  routine.scene = scene;
  ExpectOp("(");
  std::vector<std::pair<std::string, Type>> params;
  if (!IsOp(")")) {
    do {
      const SourcePosition at = Peek().at;
      // A scene's one parameter, the phase, is a word and carries no type.
      const Type type = scene ? Type::Word() : ParseType(false);
      const std::string name = ExpectName("a parameter name");
      for (const auto& [other, other_type] : params) {
        if (other == name) Fail(at, "parameter '" + name + "' is declared twice");
      }
      params.emplace_back(name, type);
    } while (AcceptOp(","));
  }
  ExpectOp(")");
  if (scene && params.size() != 1) Fail(routine.at, "a scene takes one parameter, the phase");
  // Arguments lie below the frame, the one pushed last at -12.
  const auto count = static_cast<int32_t>(params.size());
  for (int32_t i = 0; i < count; ++i) {
    routine.params.push_back({params[i].first, params[i].second, false, -12 - 4 * (count - 1 - i)});
  }
  routine.body = pos_;
  SkipBody();
  routine_order_.push_back(routine.name);
  routines_.emplace(routine.name, std::move(routine));
}

void Compiler::ParseGlobal(Type type) {
  const SourcePosition at = Peek().at;
  const std::string name = ExpectName("a variable name");
  DeclareTopLevelName(name, at);
  globals_.emplace(name, Variable{name, type, true, 0});
  if (type.kind == ValueKind::String) {
    GlobalString global{name, std::nullopt};
    if (AcceptOp("=")) {
      if (Peek().kind != TokenKind::String) Fail(Peek().at, "a global string starts as a string literal");
      global.initial = Next().text;
    }
    global_strings_.push_back(std::move(global));
    writer_.AddGlobal(name, 0);
  } else {
    int32_t initial = 0;
    if (AcceptOp("=")) {
      const SourcePosition value_at = Peek().at;
      initial = ParseConstant();
      if (type.kind == ValueKind::Handle && initial != 0) Fail(value_at, "a handle starts as 0");
    }
    writer_.AddGlobal(name, initial);
  }
  ExpectOp(";");
}

void Compiler::DeclarationsPass() {
  // The first global slot holds the system object.
  writer_.AddGlobal(kSystemGlobal, 0);
  globals_.emplace(kSystemGlobal, Variable{kSystemGlobal, Type::Handle(ClassDeclarations::kSystemClass), true, 0});
  for (const auto& [name, value] : std::initializer_list<std::pair<const char*, int32_t>>{
           {"BUILD", 0}, {"SHOWN", 1}, {"LEAVE", 3}, {"true", 1}, {"false", 0}}) {
    constants_.emplace(name, value);
  }
  while (Peek().kind != TokenKind::End) {
    if (IsWord("import")) {
      Import();
    } else if (IsWord("const")) {
      Next();
      const SourcePosition at = Peek().at;
      const std::string name = ExpectName("a constant name");
      DeclareTopLevelName(name, at);
      ExpectOp("=");
      constants_.emplace(name, ParseConstant());
      ExpectOp(";");
    } else if (IsWord("scene")) {
      Next();
      ParseRoutine(Type{}, true);
    } else {
      const Type type = ParseType(true);
      if (IsOp("(", 1)) {
        ParseRoutine(type, false);
      } else {
        if (type.kind == ValueKind::None) Fail(Peek().at, "a variable cannot be void");
        ParseGlobal(type);
      }
    }
  }
}

void Compiler::Import() {
  const SourcePosition at = Next().at;
  if (Peek().kind != TokenKind::String) Fail(Peek().at, "expected the file to import as a string, found " + Describe(Peek()));
  const std::string written = Next().text;
  ExpectOp(";");
  if (written.empty()) Fail(at, "import needs a file name");
  // Paths are relative to the importing file; the map and the once-only rule
  // see them relative to the main source's folder.
  const std::filesystem::path importer = at.file == 0 ? std::filesystem::path(file_).filename()
                                                      : std::filesystem::path(files_[static_cast<size_t>(at.file)].map_path);
  const std::string map_path = (importer.parent_path() / written).lexically_normal().generic_string();
  const std::string main_name = std::filesystem::path(file_).filename().generic_string();
  if (map_path == main_name) return;
  for (const SourceFile& file : files_) {
    if (&file != &files_.front() && file.map_path == map_path) return;
  }
  const std::filesystem::path main_folder = std::filesystem::path(file_).parent_path();
  const std::string path = std::filesystem::path(map_path).is_absolute() || main_folder.empty()
                               ? map_path
                               : (main_folder / map_path).generic_string();
  std::string text;
  try {
    text = read_source_(path);
  } catch (const EVkError& e) {
    Fail(at, "cannot import \"" + written + "\": " + e.what());
  }
  const int index = static_cast<int>(files_.size());
  files_.push_back({path, map_path, text});
  std::vector<Token> imported = Tokenize(text, path);
  imported.pop_back();  // its End: the importing file goes on after it
  for (Token& token : imported) token.at.file = index;
  tokens_.insert(tokens_.begin() + static_cast<std::ptrdiff_t>(pos_), imported.begin(), imported.end());
}

// ---------------------------------------------------------------- routines

std::string Compiler::NewLabel(std::string_view what) {
  return routine_->name + "." + std::string(what) + std::to_string(++labels_);
}

std::string Compiler::SourceLine(SourcePosition at) const {
  const std::string_view source = files_[static_cast<size_t>(at.file)].text;
  const int line = at.line;
  size_t begin = 0;
  for (int i = 1; i < line && begin != std::string_view::npos; ++i) {
    begin = source.find('\n', begin);
    if (begin != std::string_view::npos) ++begin;
  }
  if (begin == std::string_view::npos) return {};
  auto text = source.substr(begin, source.find('\n', begin) - begin);
  const auto first = text.find_first_not_of(" \t");
  const auto last = text.find_last_not_of(" \t\r");
  return first == std::string_view::npos ? std::string() : std::string(text.substr(first, last - first + 1));
}

void Compiler::CompileRoutine(const Routine& routine) {
  routine_ = &routine;
  code_ = RoutineCode();
  scopes_.assign(1, routine.params);
  string_locals_.clear();
  // A routine with a result keeps it in the first local.
  named_locals_ = routine.result.kind == ValueKind::None ? 0 : 1;
  max_temps_ = 0;
  pos_ = routine.body;
  MarkLine(routine.at);
  Block();
  if (routine.result.kind == ValueKind::String) {
    // Falling off the end yields an empty string, never a null handle; a
    // return jumps past this.
    code_.Push(4);
    code_.Push(0);
    code_.Op(Opcode::CreateObj);
    code_.Op(Opcode::Store);
  }
  code_.Label(routine.name + ".return");
  for (const Variable& param : routine.params) {
    if (param.type.kind == ValueKind::String) string_locals_.push_back(param.offset);
  }
  // Destroying 0 (a string local out of scope or never reached) does nothing.
  for (const int32_t offset : string_locals_) {
    code_.Push(kDestroy);
    code_.Push(offset);
    code_.Op(Opcode::Load);
    code_.Op(Opcode::Method);
  }
  code_.Op(routine.result.kind == ValueKind::None ? Opcode::Return : Opcode::ReturnVal);
  RoutineFrame frame;
  frame.arguments = static_cast<int>(routine.params.size());
  frame.named_locals = named_locals_;
  frame.temporaries = max_temps_;
  const auto kind = routine.scene            ? SourceRoutineKind::Scene
                    : routine.name == "main" ? SourceRoutineKind::Main
                                             : SourceRoutineKind::Routine;
  writer_.AddRoutine(routine.name, frame, code_, kind);
  routine_ = nullptr;
}

void Compiler::Block() {
  const NestingGuard guard(nesting_, FileOf(Peek().at), Peek().at);
  ExpectOp("{");
  scopes_.emplace_back();
  while (!AcceptOp("}")) {
    if (Peek().kind == TokenKind::End) Fail(Peek().at, "expected '}', found the end of the file");
    const auto type = TypeAt(0);
    if (type && type->kind != ValueKind::None && Peek(1).kind == TokenKind::Name) {
      Next();
      LocalDeclaration(*type);
    } else {
      Statement();
    }
  }
  EndScope();
}

void Compiler::MarkLine(SourcePosition at) {
  code_.Comment(SourceLine(at));
  code_.Line(at.file, at.line);
}

void Compiler::EndScope() {
  DestroyStringLocals(scopes_.back());
  scopes_.pop_back();
}

void Compiler::DestroyStringLocals(const std::vector<Variable>& scope) {
  // String locals die with their block; their slots go back to 0 so that the
  // routine's exit code and the next pass through a loop find nothing there.
  for (const Variable& local : scope) {
    if (local.type.kind != ValueKind::String) continue;
    code_.Push(kDestroy);
    code_.Push(local.offset);
    code_.Op(Opcode::Load);
    code_.Op(Opcode::Method);
    code_.Push(local.offset);
    code_.Push(0);
    code_.Op(Opcode::Store);
  }
}

void Compiler::LocalDeclaration(Type type) {
  const SourcePosition at = Peek().at;
  temps_ = 0;
  MarkLine(at);
  const std::string name = ExpectName("a variable name");
  for (const Variable& other : scopes_.back()) {
    if (other.name == name) Fail(at, "'" + name + "' is already declared in this block");
  }
  Variable local{name, type, false, 4 * (1 + named_locals_++)};
  if (AcceptOp("=")) {
    const SourcePosition value_at = Peek().at;
    Value value = Expression();
    Convert(value, type, value_at, "'" + name + "'");
    MakeOwned(value);
  } else if (type.kind == ValueKind::String) {
    code_.Push(0);
    code_.Op(Opcode::CreateObj);
  } else {
    code_.Push(0);  // the slot may hold a value from an earlier pass through a loop
  }
  ExpectOp(";");
  Store(local);
  if (type.kind == ValueKind::String) string_locals_.push_back(local.offset);
  scopes_.back().push_back(std::move(local));
}

void Compiler::Statement() {
  const NestingGuard guard(nesting_, FileOf(Peek().at), Peek().at);
  temps_ = 0;
  const Token& first = Peek();
  if (!IsOp("{")) MarkLine(first.at);
  if (IsOp("{")) {
    Block();
  } else if (IsWord("if")) {
    If();
  } else if (IsWord("while")) {
    While();
  } else if (IsWord("for")) {
    For();
  } else if (IsWord("break") || IsWord("continue")) {
    const bool to_continue = Next().text == "continue";
    if (loops_.empty()) Fail(first.at, std::string(to_continue ? "continue" : "break") + " outside a loop");
    ExpectOp(";");
    LeaveLoop(to_continue);
  } else if (IsWord("import")) {
    Fail(first.at, "import belongs at the top level of a file, outside every routine");
  } else if (IsWord("return")) {
    Return();
  } else if (IsWord("stop")) {
    Next();
    ExpectOp(";");
    code_.Op(Opcode::Stop);
  } else if (TypeAt(0) && Peek(1).kind == TokenKind::Name) {
    Fail(first.at, "a variable can only be declared directly inside a block");
  } else {
    SimpleStatement();
    ExpectOp(";");
  }
}

// An assignment or an expression whose value is dropped: a statement of its
// own, or the first and last parts of a for.
void Compiler::SimpleStatement() {
  if (Peek().kind == TokenKind::Name && (IsOp("=", 1) || IsOp("+=", 1) || IsOp("-=", 1))) {
    Assignment();
  } else {
    Discard(Expression());
  }
}

void Compiler::Assignment() {
  const Token& target_token = Next();
  const Variable* target = FindVariable(target_token.text);
  if (target == nullptr) {
    const std::string quoted = "'" + target_token.text + "'";
    if (constants_.contains(target_token.text)) Fail(target_token.at, "cannot assign to the constant " + quoted);
    if (routines_.contains(target_token.text)) Fail(target_token.at, "cannot assign to the routine " + quoted);
    Fail(target_token.at, "undeclared variable " + quoted);
  }
  if (target->global && target->name == kSystemGlobal) Fail(target_token.at, "sys cannot be assigned");
  const std::string op = Next().text;
  const SourcePosition value_at = Peek().at;
  const std::string what = "'" + target->name + "'";
  if (target->type.kind == ValueKind::String) {
    if (op == "-=") Fail(target_token.at, "-= does not apply to strings");
    Value value = Expression();
    if (op == "+=" && value.type.kind == ValueKind::Word) {
      WordToString(value_at);
      value = {Type::String(), true, std::nullopt};
    }
    Convert(value, Type::String(), value_at, what);
    AssignString(*target, value, StringMessage(op == "=" ? "assign" : "append"));
  } else if (op == "=") {
    const Value value = Expression();
    Convert(value, target->type, value_at, what);
    Store(*target);
  } else {
    if (target->type.kind != ValueKind::Word) Fail(target_token.at, op + " needs a word variable");
    Load(*target);
    const Value value = Expression();
    Convert(value, Type::Word(), value_at, what);
    code_.Op(op == "+=" ? Opcode::Add : Opcode::Sub);
    Store(*target);
  }
}

void Compiler::AssignString(const Variable& target, Value value, int32_t message) {
  // The variable keeps its own string object for its whole life; assignment
  // copies the text into it. So no handle a running expression holds can
  // go stale.
  if (value.owned) code_.Op(Opcode::Dupe);
  code_.Push(message);
  Load(target);
  code_.Op(Opcode::Method);
  if (value.owned) DestroyTop();
}

void Compiler::Condition(SourcePosition at) {
  ExpectOp("(");
  const Value value = Expression();
  if (value.type.kind != ValueKind::Word && value.type.kind != ValueKind::Handle) {
    Fail(at, "a condition must be a word, not " + TypeName(value.type));
  }
  ExpectOp(")");
}

void Compiler::If() {
  const SourcePosition at = Next().at;
  const std::string otherwise = NewLabel("else");
  Condition(at);
  code_.PushAddress(otherwise);
  code_.Op(Opcode::BrFalse);
  Statement();
  if (IsWord("else")) {
    Next();
    const std::string end = NewLabel("endif");
    code_.PushAddress(end);
    code_.Op(Opcode::Jump);
    code_.Label(otherwise);
    Statement();
    code_.Label(end);
  } else {
    code_.Label(otherwise);
  }
}

void Compiler::While() {
  const SourcePosition at = Next().at;
  const std::string top = NewLabel("while");
  const std::string end = NewLabel("endwhile");
  code_.Label(top);
  Condition(at);
  code_.PushAddress(end);
  code_.Op(Opcode::BrFalse);
  LoopBody(end, top);
  code_.PushAddress(top);
  code_.Op(Opcode::Jump);
  code_.Label(end);
}

void Compiler::For() {
  const SourcePosition at = Next().at;
  const std::string top = NewLabel("for");
  const std::string step = NewLabel("forstep");
  const std::string end = NewLabel("endfor");
  ExpectOp("(");
  // A variable declared in the first part lives until the loop ends.
  scopes_.emplace_back();
  if (const auto type = TypeAt(0); type && type->kind != ValueKind::None && Peek(1).kind == TokenKind::Name) {
    Next();
    LocalDeclaration(*type);
  } else {
    temps_ = 0;
    if (!IsOp(";")) SimpleStatement();
    ExpectOp(";");
  }
  code_.Label(top);
  MarkLine(at);
  if (!IsOp(";")) {
    temps_ = 0;
    const Value value = Expression();
    if (value.type.kind != ValueKind::Word && value.type.kind != ValueKind::Handle) {
      Fail(at, "a condition must be a word, not " + TypeName(value.type));
    }
    code_.PushAddress(end);
    code_.Op(Opcode::BrFalse);
  }
  ExpectOp(";");
  // The step is compiled here, where it is written, and moved behind the body.
  const size_t step_start = code_.Size();
  code_.Label(step);
  MarkLine(at);
  temps_ = 0;
  if (!IsOp(")")) SimpleStatement();
  ExpectOp(")");
  code_.PushAddress(top);
  code_.Op(Opcode::Jump);
  const auto step_code = code_.CutFrom(step_start);
  LoopBody(end, step);
  code_.Append(step_code);
  code_.Label(end);
  EndScope();
}

void Compiler::LoopBody(const std::string& break_label, const std::string& continue_label) {
  loops_.push_back({break_label, continue_label, scopes_.size()});
  Statement();
  loops_.pop_back();
}

void Compiler::LeaveLoop(bool to_continue) {
  const Loop& loop = loops_.back();
  // The blocks inside the loop end here as they would at their '}'.
  for (size_t scope = scopes_.size(); scope > loop.outer_scopes; --scope) DestroyStringLocals(scopes_[scope - 1]);
  code_.PushAddress(to_continue ? loop.continue_label : loop.break_label);
  code_.Op(Opcode::Jump);
}

void Compiler::Return() {
  const SourcePosition at = Next().at;
  const Type& result = routine_->result;
  if (AcceptOp(";")) {
    if (result.kind != ValueKind::None) Fail(at, routine_->name + " must return a " + TypeName(result));
  } else {
    if (result.kind == ValueKind::None) Fail(at, routine_->name + " returns nothing");
    code_.Push(4);
    const SourcePosition value_at = Peek().at;
    Value value = Expression();
    Convert(value, result, value_at, "the result of " + routine_->name);
    // The routine's string locals die on the way out; the caller gets its own object.
    MakeOwned(value);
    code_.Op(Opcode::Store);
    ExpectOp(";");
  }
  code_.PushAddress(routine_->name + ".return");
  code_.Op(Opcode::Jump);
}

// ---------------------------------------------------------------- expressions

Value Compiler::Expression() {
  const NestingGuard guard(nesting_, FileOf(Peek().at), Peek().at);
  return LogicalOr();
}

Value Compiler::LogicalOr() {
  Value left = LogicalAnd();
  if (!IsOp("||")) return left;
  const std::string yes = NewLabel("or_true");
  const std::string end = NewLabel("or_end");
  while (IsOp("||")) {
    const SourcePosition at = Next().at;
    Convert(left, Type::Word(), at, "'||'");
    code_.PushAddress(yes);
    code_.Op(Opcode::BrTrue);
    left = LogicalAnd();
  }
  Convert(left, Type::Word(), Peek().at, "'||'");
  code_.PushAddress(yes);
  code_.Op(Opcode::BrTrue);
  code_.Push(0);
  code_.PushAddress(end);
  code_.Op(Opcode::Jump);
  code_.Label(yes);
  code_.Push(1);
  code_.Label(end);
  return {Type::Word(), false, std::nullopt};
}

Value Compiler::LogicalAnd() {
  Value left = Binary(0);
  if (!IsOp("&&")) return left;
  const std::string no = NewLabel("and_false");
  const std::string end = NewLabel("and_end");
  while (IsOp("&&")) {
    const SourcePosition at = Next().at;
    Convert(left, Type::Word(), at, "'&&'");
    code_.PushAddress(no);
    code_.Op(Opcode::BrFalse);
    left = Binary(0);
  }
  Convert(left, Type::Word(), Peek().at, "'&&'");
  code_.PushAddress(no);
  code_.Op(Opcode::BrFalse);
  code_.Push(1);
  code_.PushAddress(end);
  code_.Op(Opcode::Jump);
  code_.Label(no);
  code_.Push(0);
  code_.Label(end);
  return {Type::Word(), false, std::nullopt};
}

struct BinaryOperator {
  std::string_view text;
  Opcode opcode;
};

// Binding levels from loosest to tightest, as in C.
const std::vector<std::vector<BinaryOperator>> kBinaryLevels = {
    {{"|", Opcode::Or}},
    {{"^", Opcode::Xor}},
    {{"&", Opcode::And}},
    {{"==", Opcode::Eq}, {"!=", Opcode::Ne}},
    {{"<", Opcode::Lt}, {"<=", Opcode::Le}, {">", Opcode::Gt}, {">=", Opcode::Ge}},
    {{"<<", Opcode::Shl}, {">>", Opcode::Shr}},
    {{"+", Opcode::Add}, {"-", Opcode::Sub}},
    {{"*", Opcode::Mul}, {"/", Opcode::Div}, {"%", Opcode::Mod}},
};

bool IsComparison(Opcode op) { return op >= Opcode::Lt && op <= Opcode::Gt; }

Value Compiler::Binary(int level) {
  if (level == static_cast<int>(kBinaryLevels.size())) return Unary();
  Value left = Binary(level + 1);
  for (;;) {
    const BinaryOperator* found = nullptr;
    for (const BinaryOperator& op : kBinaryLevels[static_cast<size_t>(level)]) {
      if (IsOp(op.text)) found = &op;
    }
    if (found == nullptr) return left;
    const SourcePosition at = Next().at;
    const Value right = Binary(level + 1);
    const bool strings = left.type.kind == ValueKind::String || right.type.kind == ValueKind::String;
    if (strings && found->opcode == Opcode::Add) {
      left = Concatenate(left, right, at);
    } else if (strings && IsComparison(found->opcode)) {
      if (left.type.kind != right.type.kind) {
        Fail(at, "cannot compare " + TypeName(left.type) + " with " + TypeName(right.type));
      }
      left = CompareStrings(left, right, found->opcode);
    } else {
      // Handles compare as words; everything else wants words.
      const bool handles_allowed = found->opcode == Opcode::Eq || found->opcode == Opcode::Ne;
      for (const Value* operand : std::initializer_list<const Value*>{&left, &right}) {
        if (operand->type.kind == ValueKind::Handle && handles_allowed) continue;
        Convert(*operand, Type::Word(), at, "'" + std::string(found->text) + "'");
      }
      code_.Op(found->opcode);
      left = {Type::Word(), false, std::nullopt};
    }
  }
}

Value Compiler::Concatenate(Value left, Value right, SourcePosition at) {
  for (const Value* operand : {&left, &right}) {
    if (operand->type.kind != ValueKind::String && operand->type.kind != ValueKind::Word) {
      Fail(at, "cannot add " + TypeName(operand->type) + " to a string");
    }
  }
  // The left operand becomes the result, so it must be a string of our own.
  if (left.type.kind == ValueKind::Word || !left.owned) {
    code_.Op(Opcode::Swap);
    if (left.type.kind == ValueKind::Word) {
      WordToString(at);
    } else {
      CopyTop();
    }
    code_.Op(Opcode::Swap);
  }
  if (right.type.kind == ValueKind::Word) {
    WordToString(at);
    right.owned = true;
  }
  const int32_t append = StringMessage("append");
  if (right.owned) {
    // result right -> right right result; append; then destroy right.
    code_.Op(Opcode::DSwap);
    code_.Push(append);
    code_.Op(Opcode::Swap);
    code_.Op(Opcode::Method2);
    code_.Op(Opcode::Swap);
    DestroyTop();
  } else {
    code_.Op(Opcode::Swap);
    code_.Push(append);
    code_.Op(Opcode::Swap);
    code_.Op(Opcode::Method2);
  }
  return {Type::String(), true, std::nullopt};
}

Value Compiler::CompareStrings(Value left, Value right, Opcode compare) {
  // The comparison keeps both operands; temporaries are destroyed after it.
  int right_temp = -1;
  int left_temp = -1;
  if (right.owned) right_temp = SpillToTemp();
  if (left.owned) {
    code_.Op(Opcode::Swap);
    left_temp = SpillToTemp();
    code_.Op(Opcode::Swap);
  }
  code_.Op(Opcode::Swap);
  code_.Push(StringMessage("compare"));
  code_.Op(Opcode::Swap);
  code_.Op(Opcode::Method);
  if (right_temp >= 0) DestroyTemp(right_temp);
  if (left_temp >= 0) DestroyTemp(left_temp);
  code_.Push(0);
  code_.Op(compare);
  return {Type::Word(), false, std::nullopt};
}

Value Compiler::Unary() {
  const SourcePosition at = Peek().at;
  const NestingGuard guard(nesting_, FileOf(at), at);
  if (IsOp("-") && Peek(1).kind == TokenKind::Number) {
    Next();
    const auto value = static_cast<int32_t>(0u - static_cast<uint32_t>(Next().number));
    code_.Push(value);
    return {Type::Word(), false, value};
  }
  for (const auto& [text, opcode] : {std::pair{"-", Opcode::Negate}, std::pair{"~", Opcode::Not},
                                     std::pair{"!", Opcode::Eq}}) {
    if (!IsOp(text)) continue;
    Next();
    Convert(Unary(), Type::Word(), at, std::string("'") + text + "'");
    if (opcode == Opcode::Eq) code_.Push(0);  // !a is a == 0
    code_.Op(opcode);
    return {Type::Word(), false, std::nullopt};
  }
  return Postfix();
}

Value Compiler::Postfix() {
  const size_t receiver_code = code_.Size();
  Value value = Primary();
  while (IsOp(".")) {
    const SourcePosition at = Next().at;
    value = Send(value, receiver_code, at);
  }
  return value;
}

Value Compiler::Primary() {
  const Token& token = Peek();
  switch (token.kind) {
    case TokenKind::Number: {
      Next();
      const auto value = static_cast<int32_t>(static_cast<uint32_t>(token.number));
      code_.Push(value);
      return {Type::Word(), false, value};
    }
    case TokenKind::String:
      NewString(code_, Next().text);
      return {Type::String(), true, std::nullopt};
    case TokenKind::Name:
      return Name();
    default:
      break;
  }
  if (AcceptOp("(")) {
    const Value value = Expression();
    ExpectOp(")");
    return value;
  }
  Fail(token.at, "expected an expression, found " + Describe(token));
}

Value Compiler::Name() {
  const Token& token = Next();
  const std::string& name = token.text;
  if (name == "str" && IsOp("(")) {
    Next();
    const SourcePosition at = Peek().at;
    Convert(Expression(), Type::Word(), at, "str");
    ExpectOp(")");
    WordToString(token.at);
    return {Type::String(), true, std::nullopt};
  }
  if (const ClassDecl* decl = classes_.FindClass(name);
      decl != nullptr && decl->index != ClassDeclarations::kStringClass && IsOp("(")) {
    // Sprite(w): a word known to hold a sprite's handle, such as one stored
    // with a list line, used as a Sprite.
    Next();
    const SourcePosition at = Peek().at;
    Convert(Expression(), Type::Word(), at, name + "(...)");
    ExpectOp(")");
    return {Type::Handle(decl->index), false, std::nullopt};
  }
  if (kKeywords.contains(name)) Fail(token.at, "expected an expression, found '" + name + "'");
  if (const Variable* variable = FindVariable(name)) {
    if (IsOp("(")) Fail(token.at, "'" + name + "' is a variable, not a routine");
    Load(*variable);
    return {variable->type, false, std::nullopt};
  }
  if (const auto constant = constants_.find(name); constant != constants_.end()) {
    code_.Push(constant->second);
    return {Type::Word(), false, constant->second};
  }
  if (const auto routine = routines_.find(name); routine != routines_.end()) {
    if (IsOp("(")) return CallRoutine(routine->second);
    // A routine without a call is its entry: for event handlers and scene changes.
    code_.PushAddress(routine->second.name);
    return {Type::Word(), false, std::nullopt};
  }
  Fail(token.at, "undeclared name '" + name + "'");
}

Value Compiler::CallRoutine(const Routine& routine) {
  ExpectOp("(");
  size_t count = 0;
  std::vector<int> no_temps;
  if (!IsOp(")")) {
    do {
      const SourcePosition arg_at = Peek().at;
      if (count == routine.params.size()) {
        Fail(arg_at, routine.name + " takes " + std::to_string(routine.params.size()) + " argument(s)");
      }
      // A routine owns its string parameters, as a message owns a consumed argument.
      const Variable& param = routine.params[count++];
      Argument(param.type, false, arg_at, "argument '" + param.name + "' of " + routine.name, no_temps);
    } while (AcceptOp(","));
  }
  if (count != routine.params.size()) {
    Fail(Peek().at, routine.name + " takes " + std::to_string(routine.params.size()) + " argument(s), not " +
                        std::to_string(count));
  }
  ExpectOp(")");
  code_.PushAddress(routine.name);
  code_.Op(Opcode::Call);
  return {routine.result, routine.result.kind == ValueKind::String, std::nullopt};
}

void Compiler::Argument(const Type& wanted, bool kept, SourcePosition at, const std::string& what,
                        std::vector<int>& temps_to_destroy) {
  Value value = Expression();
  Convert(value, wanted, at, what);
  if (wanted.kind != ValueKind::String) return;
  if (kept) {
    if (value.owned) temps_to_destroy.push_back(SpillToTemp());
  } else {
    // The handler destroys what it is given: a variable passes a copy.
    MakeOwned(value);
  }
}

Value Compiler::Send(Value receiver, size_t receiver_code, SourcePosition at) {
  const Token& name_token = Next();
  if (name_token.kind != TokenKind::Name) Fail(name_token.at, "expected a message name after '.'");
  const std::string& name = name_token.text;
  int32_t class_index = receiver.type.class_index;
  if (receiver.type.kind == ValueKind::String) {
    class_index = ClassDeclarations::kStringClass;
  } else if (receiver.type.kind != ValueKind::Handle) {
    Fail(at, "a " + TypeName(receiver.type) + " has no messages");
  }
  const ClassDecl& owner = *classes_.ClassByIndex(class_index);
  const MessageDecl* message = classes_.FindMessage(owner, name);
  if (message == nullptr) Fail(name_token.at, owner.name + " has no message '" + name + "'");
  if (message->index == kDestroy && (class_index == ClassDeclarations::kStringClass ||
                                     class_index == ClassDeclarations::kSystemClass)) {
    Fail(name_token.at, "a " + owner.name + " is destroyed by the compiled code, not by the course");
  }
  // The handle goes on top of the arguments: the receiver's code moves behind them.
  const auto receiver_items = code_.CutFrom(receiver_code);
  ExpectOp("(");
  std::vector<int> temps;
  size_t count = 0;
  const std::string described = owner.name + "." + name;
  if (!IsOp(")")) {
    do {
      const SourcePosition arg_at = Peek().at;
      if (count == message->params.size()) {
        Fail(arg_at, described + " takes " + std::to_string(message->params.size()) + " argument(s)");
      }
      const ParamDecl& param = message->params[count++];
      const Type wanted{param.kind, param.class_index};
      Argument(wanted, param.kept, arg_at, "argument '" + param.name + "' of " + described, temps);
    } while (AcceptOp(","));
  }
  if (count != message->params.size()) {
    Fail(Peek().at, described + " takes " + std::to_string(message->params.size()) + " argument(s), not " +
                        std::to_string(count));
  }
  ExpectOp(")");
  code_.Push(message->index);
  code_.Append(receiver_items);
  // A string made just to receive this message goes after it.
  if (receiver.owned) temps.push_back(SpillToTemp());
  code_.Op(Opcode::Method);
  for (const int temp : temps) DestroyTemp(temp);
  const Type result{message->result, message->result_class};
  return {result, result.kind == ValueKind::String, std::nullopt};
}

// ---------------------------------------------------------------- code helpers

const Variable* Compiler::FindVariable(std::string_view name) const {
  for (auto scope = scopes_.rbegin(); scope != scopes_.rend(); ++scope) {
    for (const Variable& variable : *scope) {
      if (variable.name == name) return &variable;
    }
  }
  const auto global = globals_.find(name);
  return global == globals_.end() ? nullptr : &global->second;
}

void Compiler::Load(const Variable& variable) {
  if (variable.global) {
    code_.PushAddress(variable.name);
    code_.Op(Opcode::GLoad);
  } else {
    code_.Push(variable.offset);
    code_.Op(Opcode::Load);
  }
}

void Compiler::Store(const Variable& variable) {
  if (variable.global) {
    code_.PushAddress(variable.name);
    code_.Op(Opcode::Swap);
    code_.Op(Opcode::GStore);
  } else {
    code_.Push(variable.offset);
    code_.Op(Opcode::Swap);
    code_.Op(Opcode::Store);
  }
}

void Compiler::NewString(RoutineCode& code, const std::string& text) {
  auto symbol = string_constants_.find(text);
  if (symbol == string_constants_.end()) {
    const std::string name = "string." + std::to_string(string_constants_.size() + 1);
    writer_.AddString(name, text);
    symbol = string_constants_.emplace(text, name).first;
  }
  code.PushAddress(symbol->second);
  code.Push(kStringFromConstant);
  code.Push(ClassDeclarations::kStringClass);
  code.Op(Opcode::CreateObj);
  code.Op(Opcode::Method2);
}

int Compiler::SpillToTemp() {
  const int temp = temps_++;
  max_temps_ = std::max(max_temps_, temps_);
  code_.Op(Opcode::Dupe);
  code_.PushTemp(temp);
  code_.Op(Opcode::Swap);
  code_.Op(Opcode::Store);
  return temp;
}

void Compiler::DestroyTemp(int temp) {
  code_.Push(kDestroy);
  code_.PushTemp(temp);
  code_.Op(Opcode::Load);
  code_.Op(Opcode::Method);
}

void Compiler::Discard(const Value& value) {
  if (value.type.kind == ValueKind::None) return;
  if (value.owned) {
    DestroyTop();
  } else {
    code_.Op(Opcode::Wipe);
  }
}

void Compiler::MakeOwned(Value& value) {
  if (value.type.kind != ValueKind::String || value.owned) return;
  CopyTop();
  value.owned = true;
}

void Compiler::SendToSystem(int32_t message) {
  code_.Push(message);
  code_.PushAddress(kSystemGlobal);
  code_.Op(Opcode::GLoad);
  code_.Op(Opcode::Method);
}

void Compiler::WordToString(SourcePosition at) {
  const ClassDecl& system = *classes_.ClassByIndex(ClassDeclarations::kSystemClass);
  const MessageDecl* str = classes_.FindMessage(system, "str");
  if (str == nullptr || str->params.size() != 1 || str->params[0].kind != ValueKind::Word ||
      str->result != ValueKind::String) {
    Fail(at, "turning a word into a string needs the system message str(word): string");
  }
  SendToSystem(str->index);
}

int32_t Compiler::StringMessage(std::string_view name) const {
  const MessageDecl* message = classes_.FindMessage(*classes_.ClassByIndex(ClassDeclarations::kStringClass), name);
  if (message == nullptr) {
    throw EVkError("the declaration file lacks the string message '" + std::string(name) + "'");
  }
  return message->index;
}

void Compiler::Convert(const Value& value, const Type& wanted, SourcePosition at, const std::string& what) const {
  const Type& have = value.type;
  if (have == wanted) return;
  if (wanted.kind == ValueKind::Word && have.kind == ValueKind::Handle) return;
  if (wanted.kind == ValueKind::Handle && value.constant == 0) return;
  if (have.kind == ValueKind::None) Fail(at, what + " needs a value, but this call returns nothing");
  Fail(at, what + " must be a " + TypeName(wanted) + ", not a " + TypeName(have));
}

// ---------------------------------------------------------------- start and stop

void Compiler::WriteStartAndStop() {
  const auto main = routines_.find("main");
  if (main == routines_.end()) Fail(Peek().at, "the course has no routine 'void main()'");
  if (!main->second.params.empty() || main->second.result.kind != ValueKind::None) {
    Fail(main->second.at, "main takes no arguments and returns nothing");
  }
  const Variable& system = globals_.at(kSystemGlobal);
  RoutineCode start;
  start.PushAddress(system.name);
  start.Push(ClassDeclarations::kSystemClass);
  start.Op(Opcode::CreateObj);
  start.Op(Opcode::GStore);
  for (const GlobalString& global : global_strings_) {
    start.PushAddress(global.name);
    if (global.initial) {
      NewString(start, *global.initial);
    } else {
      start.Push(ClassDeclarations::kStringClass);
      start.Op(Opcode::CreateObj);
    }
    start.Op(Opcode::GStore);
  }
  start.PushAddress("main");
  start.Op(Opcode::Call);
  start.Op(Opcode::Return);
  writer_.AddRoutine(kStartLabel, RoutineFrame{}, start);

  RoutineCode stop;
  for (auto global = global_strings_.rbegin(); global != global_strings_.rend(); ++global) {
    stop.Push(kDestroy);
    stop.PushAddress(global->name);
    stop.Op(Opcode::GLoad);
    stop.Op(Opcode::Method);
  }
  stop.Push(kDestroy);
  stop.PushAddress(system.name);
  stop.Op(Opcode::GLoad);
  stop.Op(Opcode::Method);
  stop.Op(Opcode::Return);
  writer_.AddRoutine(kStopLabel, RoutineFrame{}, stop);
}

CompiledCourse Compiler::Run() {
  DeclarationsPass();
  for (const SourceFile& file : files_) writer_.Map().addFile(file.map_path);
  // The start routine comes first: a course routine at offset 0 could not
  // serve as an event handler or scene, since entry 0 means "no routine".
  WriteStartAndStop();
  for (const std::string& name : routine_order_) CompileRoutine(routines_.at(name));
  CompiledCourse course;
  try {
    course.image.area = writer_.Builder().Build();
    course.image.start_entry = writer_.Builder().Resolve(kStartLabel);
    course.image.stop_entry = writer_.Builder().Resolve(kStopLabel);
    course.image.symbols = writer_.Builder().ResolvedSymbols();
  } catch (const AssemblyError& e) {
    throw EVkError(file_ + ": internal compiler fault: " + e.what());
  }
  course.listing = writer_.Listing(kStartLabel, kStopLabel);
  course.map = writer_.Map();
  for (const SourceFile& file : files_) course.files.push_back(file.path);
  return course;
}

}  // namespace

std::string ReadSourceFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw EVkError(path + ": cannot open the file");
  std::ostringstream text;
  text << in.rdbuf();
  if (in.bad()) throw EVkError(path + ": cannot read the file");
  return text.str();
}

CompiledCourse CompileCourse(std::string_view source, std::string_view file_name, const ClassDeclarations& classes,
                             const SourceReader& read_source) {
  return Compiler(source, file_name, classes, read_source).Run();
}

}  // namespace vork
