#include "vkc/declarations.h"

#include <charconv>
#include <set>

#include "platform/errors.h"

namespace vork {

namespace {

bool IsNameStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9'); }

// Reads one line of the declaration file piece by piece.
class LineReader {
 public:
  LineReader(std::string_view text, std::string_view file, int line)
      : text_(text), file_(file), line_(line) {}

  [[noreturn]] void Fail(const std::string& message) const {
    throw EVkError(std::string(file_) + ":" + std::to_string(line_) + ": " + message);
  }

  void SkipSpace() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\r')) ++pos_;
  }
  bool AtEnd() {
    SkipSpace();
    return pos_ == text_.size();
  }
  bool Accept(char c) {
    SkipSpace();
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }
  void Expect(char c) {
    if (!Accept(c)) Fail(std::string("expected '") + c + "'" + Found());
  }
  std::string Name(std::string_view what) {
    SkipSpace();
    const size_t begin = pos_;
    if (pos_ < text_.size() && IsNameStart(text_[pos_])) {
      while (pos_ < text_.size() && IsNameChar(text_[pos_])) ++pos_;
    }
    if (pos_ == begin) Fail("expected " + std::string(what) + Found());
    return std::string(text_.substr(begin, pos_ - begin));
  }
  int32_t Number(std::string_view what) {
    SkipSpace();
    const size_t begin = pos_;
    if (pos_ < text_.size() && text_[pos_] == '-') ++pos_;
    while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') ++pos_;
    int32_t value = 0;
    const auto [end, error] = std::from_chars(text_.data() + begin, text_.data() + pos_, value);
    if (pos_ == begin || error != std::errc() || end != text_.data() + pos_) {
      Fail("expected " + std::string(what) + Found());
    }
    return value;
  }
  // Takes word when it is the next name on the line.
  bool AcceptWord(std::string_view word) {
    SkipSpace();
    const std::string_view rest = text_.substr(pos_);
    if (!rest.starts_with(word) || (rest.size() > word.size() && IsNameChar(rest[word.size()]))) return false;
    pos_ += word.size();
    return true;
  }
  bool StartsWithDigit() {
    SkipSpace();
    return pos_ < text_.size() && ((text_[pos_] >= '0' && text_[pos_] <= '9') || text_[pos_] == '-');
  }
  void ExpectEnd() {
    if (!AtEnd()) Fail("unexpected text" + Found());
  }

 private:
  std::string Found() const {
    if (pos_ >= text_.size()) return " at the end of the line";
    return ", found '" + std::string(text_.substr(pos_)) + "'";
  }

  std::string_view text_;
  std::string_view file_;
  int line_;
  size_t pos_ = 0;
};

class DeclarationParser {
 public:
  explicit DeclarationParser(std::string_view file) : file_(file) {}

  void ParseLine(std::string_view text, int line);

  std::map<int32_t, ClassDecl> classes;
  std::vector<MessageDecl> common;

 private:
  MessageDecl ParseMessage(LineReader& reader, int line);
  ParamDecl ParseParam(LineReader& reader);
  std::vector<MessageDecl>* current_ = nullptr;
  std::string_view file_;
};

ParamDecl DeclarationParser::ParseParam(LineReader& reader) {
  ParamDecl param;
  std::string type = reader.Name("an argument type");
  if (type == "kept") {
    param.kept = true;
    type = reader.Name("a type after 'kept'");
    if (type != "string") reader.Fail("only a string argument can be kept, not " + type);
  }
  param.type_name = type;
  if (type == "routine" && reader.Accept('(')) {
    param.event = true;
    if (!reader.Accept(')')) {
      do {
        ParamDecl pushed;
        pushed.type_name = reader.Name("the type of a word the event pushes");
        pushed.name = reader.Name("the name of a word the event pushes");
        param.pushes.push_back(std::move(pushed));
      } while (reader.Accept(','));
      reader.Expect(')');
    }
  }
  param.name = reader.Name("an argument name");
  return param;
}

MessageDecl DeclarationParser::ParseMessage(LineReader& reader, int line) {
  MessageDecl message;
  message.line = line;
  message.index = reader.Number("a message index");
  message.name = reader.Name("a message name");
  reader.Expect('(');
  if (!reader.Accept(')')) {
    do {
      message.params.push_back(ParseParam(reader));
    } while (reader.Accept(','));
    reader.Expect(')');
  }
  if (reader.Accept(':')) message.result_type = reader.Name("a result type");
  reader.ExpectEnd();
  return message;
}

void DeclarationParser::ParseLine(std::string_view text, int line) {
  const auto hash = text.find('#');
  if (hash != std::string_view::npos) text = text.substr(0, hash);
  LineReader reader(text, file_, line);
  if (reader.AtEnd()) return;
  const bool hidden = reader.AcceptWord("hidden");
  if (hidden && !reader.StartsWithDigit()) reader.Fail("expected a message after 'hidden'");
  if (reader.StartsWithDigit()) {
    if (current_ == nullptr) reader.Fail("a message outside a class");
    current_->push_back(ParseMessage(reader, line));
    current_->back().hidden = hidden;
    return;
  }
  const std::string keyword = reader.Name("'class', 'common' or a message");
  if (keyword == "common") {
    reader.ExpectEnd();
    current_ = &common;
  } else if (keyword == "class") {
    ClassDecl decl;
    decl.index = reader.Number("a class index");
    decl.name = reader.Name("a class name");
    decl.kept = reader.AcceptWord("kept");
    reader.ExpectEnd();
    if (decl.index < 0 || decl.index > 1023) reader.Fail("class index out of range: " + std::to_string(decl.index));
    if (classes.contains(decl.index)) reader.Fail("class " + std::to_string(decl.index) + " is declared twice");
    for (const auto& [index, other] : classes) {
      if (other.name == decl.name) reader.Fail("class name " + decl.name + " is used twice");
    }
    current_ = &classes.emplace(decl.index, std::move(decl)).first->second.messages;
  } else {
    reader.Fail("expected 'class', 'common' or a message, found '" + keyword + "'");
  }
}

}  // namespace

ClassDeclarations ClassDeclarations::Parse(std::string_view text, std::string_view file_name) {
  DeclarationParser parser(file_name);
  int line = 0;
  size_t begin = 0;
  while (begin <= text.size()) {
    const auto end = std::min(text.find('\n', begin), text.size());
    parser.ParseLine(text.substr(begin, end - begin), ++line);
    begin = end + 1;
  }
  ClassDeclarations result;
  result.classes_ = std::move(parser.classes);
  result.common_ = std::move(parser.common);
  const auto fail = [&](int at, const std::string& message) {
    throw EVkError(std::string(file_name) + ":" + std::to_string(at) + ": " + message);
  };
  // Resolves a type name to its kind (and class).
  const auto resolve = [&](ParamDecl& param, int at) {
    const std::string& type = param.type_name;
    if (type == "word" || type == "bool" || type == "routine") {
      param.kind = ValueKind::Word;
    } else if (type == "string") {
      param.kind = ValueKind::String;
    } else if (const ClassDecl* decl = result.FindClass(type)) {
      param.kind = ValueKind::Handle;
      param.class_index = decl->index;
    } else {
      fail(at, "unknown type '" + type + "'");
    }
  };
  const auto finish = [&](std::vector<MessageDecl>& messages, const std::vector<MessageDecl>* also) {
    std::set<std::string> names;
    std::set<int32_t> indexes;
    for (MessageDecl& message : messages) {
      if (!message.result_type.empty()) {
        ParamDecl result_type;
        result_type.type_name = message.result_type;
        resolve(result_type, message.line);
        message.result = result_type.kind;
        message.result_class = result_type.class_index;
      }
      for (ParamDecl& param : message.params) {
        resolve(param, message.line);
        for (ParamDecl& pushed : param.pushes) resolve(pushed, message.line);
      }
      if (!names.insert(message.name).second) fail(message.line, "message " + message.name + " is declared twice");
      if (!indexes.insert(message.index).second) {
        fail(message.line, "message index " + std::to_string(message.index) + " is declared twice");
      }
      if (also != nullptr) {
        for (const MessageDecl& shared : *also) {
          if (shared.name == message.name || shared.index == message.index) {
            fail(message.line, "message " + message.name + " clashes with the common message " + shared.name);
          }
        }
      }
    }
  };
  finish(result.common_, nullptr);
  for (auto& [index, decl] : result.classes_) finish(decl.messages, &result.common_);
  if (!result.classes_.contains(kStringClass) || result.classes_.at(kStringClass).name != "string") {
    fail(line, "class 0 must be declared as 'string'");
  }
  // The start routine makes the system object; the compiler sends it sys.
  if (!result.classes_.contains(kSystemClass)) fail(line, "class 1, the system object, must be declared");
  return result;
}

const ClassDeclarations& ClassDeclarations::BuiltIn() {
  static const ClassDeclarations built_in = Parse(BuiltInDeclarationText(), "classes.vkd");
  return built_in;
}

const ClassDecl* ClassDeclarations::FindClass(std::string_view name) const {
  for (const auto& [index, decl] : classes_) {
    if (decl.name == name) return &decl;
  }
  return nullptr;
}

const ClassDecl* ClassDeclarations::ClassByIndex(int32_t index) const {
  const auto found = classes_.find(index);
  return found == classes_.end() ? nullptr : &found->second;
}

const MessageDecl* ClassDeclarations::FindMessage(const ClassDecl& owner, std::string_view name) const {
  for (const MessageDecl& message : owner.messages) {
    if (message.name == name) return message.hidden ? nullptr : &message;
  }
  for (const MessageDecl& message : common_) {
    if (message.name == name) return message.hidden ? nullptr : &message;
  }
  return nullptr;
}

}  // namespace vork
