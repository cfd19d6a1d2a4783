#pragma once
// The course language's tokens: names, numbers, character and string
// literals, and operators, each with its line and column (both from 1).
// Comments run from "//" to the end of the line or from "/*" to "*/".

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/errors.h"

namespace vork {

struct SourcePosition {
  int line = 1;
  int column = 1;
  int file = 0;  // which of a course's files: 0 the main source, then its imports in order
};

// A fault in a course source, reported as "FILE:LINE:COLUMN: message".
class CompileError : public EVkError {
 public:
  CompileError(std::string_view file, SourcePosition at, const std::string& message)
      : EVkError(std::string(file) + ":" + std::to_string(at.line) + ":" + std::to_string(at.column) + ": " +
                 message),
        at_(at) {}
  SourcePosition Position() const { return at_; }

 private:
  SourcePosition at_;
};

enum class TokenKind { Name, Number, String, Operator, End };

struct Token {
  TokenKind kind = TokenKind::End;
  std::string text;    // the name, the operator, or the string's bytes
  int64_t number = 0;  // numbers and character literals
  SourcePosition at;
};

// The whole source as tokens, ending with one End token.
std::vector<Token> Tokenize(std::string_view source, std::string_view file_name);

}  // namespace vork
