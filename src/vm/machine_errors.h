#pragma once
// The two fault classes of the bytecode machine. Their message is the fixed
// "Error code = " + code; the codes are listed beside each class.

#include "platform/errors.h"

namespace vork {

// Value-stack faults.
class EVkStack : public EKsCodeException {
 public:
  using EKsCodeException::EKsCodeException;
  static constexpr int kFull = 0;       // the new length would exceed the maximum
  static constexpr int kUnderflow = 1;  // Pop of fewer than 4 bytes, or a negative length
  static constexpr int kBadPeek = 2;    // Peek outside 0 .. length-4
  static constexpr int kBadPoke = 3;    // Poke outside 0 .. length-4
};

// Processor faults.
class EVkProcessor : public EKsCodeException {
 public:
  using EKsCodeException::EKsCodeException;
  static constexpr int kBadOpcode = 10;       // opcode byte greater than 41
  static constexpr int kDivisionByZero = 11;  // div or mod by 0
  // Our own: a jump, call, return or entry that leaves the code-and-data
  // area, or straight-line execution running off its end. Only a damaged
  // image can cause it.
  static constexpr int kOutsideImage = 12;
  // Our own: the instruction budget set with SetInstructionBudget ran out.
  static constexpr int kBudgetExhausted = 13;
  static constexpr int kBadGlobalRead = 16;   // gload outside the area
  static constexpr int kBadGlobalWrite = 17;  // gstore outside the area
};

}  // namespace vork
