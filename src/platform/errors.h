#pragma once
// Exceptions shared by every subsystem.
//
// Faults of the machine carry an integer code and the fixed message
// "Error code = " + code. Everything else that a course author can act on is
// an EVkError with a message naming what failed and the value that was wrong.

#include <stdexcept>
#include <string>

namespace vork {

class EKsCodeException : public std::runtime_error {
 public:
  explicit EKsCodeException(int code)
      : std::runtime_error("Error code = " + std::to_string(code)), code_(code) {}
  int Code() const noexcept { return code_; }

 private:
  int code_;
};

// A failed internal consistency check that the program survives.
class EVkAssertion : public std::runtime_error {
 public:
  EVkAssertion() : std::runtime_error("Assertion failure") {}
};

// A failure with a message for the course author or the learner.
class EVkError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Abandons the current bytecode message after its failure has already been
// shown to the user: the event boundary restores the machine and shows
// nothing further.
class EVkSilentAbort : public std::runtime_error {
 public:
  EVkSilentAbort() : std::runtime_error("Operation aborted") {}
};

// Raises EVkAssertion when the condition does not hold.
inline void Check(bool condition) {
  if (!condition) throw EVkAssertion();
}

// A fatal internal check: shows "INTERNAL ERROR" (with the detail in
// parentheses when there is one) and ends the program at once with a
// non-zero status. Defined in message_boxes.cpp so that the box goes through
// the program's one message-box interface.
[[noreturn]] void FatalInternalError(const std::string& detail = {});

// FatalInternalError unless the condition holds.
inline void CheckFatal(bool condition, const char* detail = "") {
  if (!condition) FatalInternalError(detail);
}

}  // namespace vork
