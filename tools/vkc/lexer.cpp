#include "vkc/lexer.h"

#include <array>
#include <charconv>

namespace vork {

namespace {

bool IsNameStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Longest first, so that "<=" is not read as "<" and "=".
constexpr std::array<std::string_view, 31> kOperators = {
    "<<", ">>", "<=", ">=", "==", "!=", "&&", "||", "+=", "-=", "{", "}", "(", ")", ",", ";",
    ".",  "=",  "+",  "-",  "*",  "/",  "%",  "<",  ">",  "!",  "~", "&", "|", "^", ":"};

class Lexer {
 public:
  Lexer(std::string_view source, std::string_view file) : source_(source), file_(file) {}

  std::vector<Token> Run();

 private:
  [[noreturn]] void Fail(SourcePosition at, const std::string& message) const {
    throw CompileError(file_, at, message);
  }
  char Peek(size_t ahead = 0) const { return pos_ + ahead < source_.size() ? source_[pos_ + ahead] : '\0'; }
  void Advance() {
    if (source_[pos_] == '\n') {
      ++at_.line;
      at_.column = 1;
    } else {
      ++at_.column;
    }
    ++pos_;
  }
  void SkipSpaceAndComments();
  Token Number();
  Token Quoted(char quote);
  char Escape(SourcePosition literal_start);

  std::string_view source_;
  std::string_view file_;
  size_t pos_ = 0;
  SourcePosition at_;
};

void Lexer::SkipSpaceAndComments() {
  while (pos_ < source_.size()) {
    const char c = Peek();
    if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
      Advance();
    } else if (c == '/' && Peek(1) == '/') {
      while (pos_ < source_.size() && Peek() != '\n') Advance();
    } else if (c == '/' && Peek(1) == '*') {
      const SourcePosition start = at_;
      Advance();
      Advance();
      while (!(Peek() == '*' && Peek(1) == '/')) {
        if (pos_ >= source_.size()) Fail(start, "unterminated comment");
        Advance();
      }
      Advance();
      Advance();
    } else {
      return;
    }
  }
}

Token Lexer::Number() {
  Token token{TokenKind::Number, {}, 0, at_};
  const size_t begin = pos_;
  int base = 10;
  if (Peek() == '0' && (Peek(1) == 'x' || Peek(1) == 'X')) {
    base = 16;
    Advance();
    Advance();
  }
  const size_t digits = pos_;
  while (IsDigit(Peek()) || IsNameStart(Peek())) Advance();
  token.text = std::string(source_.substr(begin, pos_ - begin));
  uint64_t value = 0;
  const auto [end, error] = std::from_chars(source_.data() + digits, source_.data() + pos_, value, base);
  if (digits == pos_ || error != std::errc() || end != source_.data() + pos_) {
    Fail(token.at, "bad number '" + token.text + "'");
  }
  // Words are 32 bits; 0x80000000 .. 0xFFFFFFFF and 2147483648 wrap to negative words.
  if (value > UINT32_MAX) Fail(token.at, "number does not fit in a word: " + token.text);
  token.number = static_cast<int64_t>(value);
  return token;
}

char Lexer::Escape(SourcePosition literal_start) {
  const SourcePosition at = at_;
  Advance();  // the backslash
  if (pos_ >= source_.size()) Fail(literal_start, "unterminated literal");
  const char c = Peek();
  Advance();
  switch (c) {
    case 'n': return '\n';
    case 'r': return '\r';
    case 't': return '\t';
    case '\\': return '\\';
    case '"': return '"';
    case '\'': return '\'';
    case 'x': {
      int value = 0;
      const auto text = source_.substr(pos_, 2);
      const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
      if (text.size() != 2 || error != std::errc() || end != text.data() + 2) Fail(at, "\\x needs two hex digits");
      Advance();
      Advance();
      return static_cast<char>(value);
    }
    default: Fail(at, std::string("unknown escape \\") + c);
  }
}

Token Lexer::Quoted(char quote) {
  Token token{quote == '"' ? TokenKind::String : TokenKind::Number, {}, 0, at_};
  Advance();
  std::string text;
  while (Peek() != quote) {
    if (pos_ >= source_.size() || Peek() == '\n') Fail(token.at, "unterminated literal");
    if (Peek() == '\\') {
      text += Escape(token.at);
    } else {
      text += Peek();
      Advance();
    }
  }
  Advance();
  // String constants are NUL-terminated in the image.
  if (text.find('\0') != std::string::npos) Fail(token.at, "a literal cannot hold the byte 0");
  if (quote == '\'') {
    if (text.size() != 1) Fail(token.at, "a character literal holds one character");
    token.number = static_cast<unsigned char>(text[0]);
  }
  token.text = std::move(text);
  return token;
}

std::vector<Token> Lexer::Run() {
  std::vector<Token> tokens;
  for (;;) {
    SkipSpaceAndComments();
    if (pos_ >= source_.size()) break;
    const char c = Peek();
    if (IsNameStart(c)) {
      Token token{TokenKind::Name, {}, 0, at_};
      const size_t begin = pos_;
      while (IsNameStart(Peek()) || IsDigit(Peek())) Advance();
      token.text = std::string(source_.substr(begin, pos_ - begin));
      tokens.push_back(std::move(token));
    } else if (IsDigit(c)) {
      tokens.push_back(Number());
    } else if (c == '"' || c == '\'') {
      tokens.push_back(Quoted(c));
    } else {
      bool matched = false;
      for (std::string_view op : kOperators) {
        if (source_.substr(pos_, op.size()) == op) {
          tokens.push_back({TokenKind::Operator, std::string(op), 0, at_});
          for (size_t i = 0; i < op.size(); ++i) Advance();
          matched = true;
          break;
        }
      }
      if (!matched) Fail(at_, std::string("unexpected character '") + c + "'");
    }
  }
  tokens.push_back({TokenKind::End, {}, 0, at_});
  return tokens;
}

}  // namespace

std::vector<Token> Tokenize(std::string_view source, std::string_view file_name) {
  return Lexer(source, file_name).Run();
}

}  // namespace vork
