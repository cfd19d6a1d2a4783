#pragma once
// A command of a script class, as the bytecode registers it: a name, a
// parameter signature and the routine that carries the command out.
//
// The signature lists one word per parameter: "?" marks an optional
// one, "name=a/b" allows only the values a and b, and "..." anywhere lifts
// the upper limit and the value checks ("addUserVars id1...idN dest").

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "textscript/dict.h"

namespace vork {

class TVkScriptCommand {
 public:
  static constexpr int32_t kUnlimited = -1;

  TVkScriptCommand(std::string name, std::string signature, int32_t routine);

  const std::string& Name() const { return name_; }
  const std::string& Signature() const { return signature_; }
  int32_t Routine() const { return routine_; }

  // The text of the error for a call with these arguments, or nullopt when
  // they fit. The signature is read on the first check and kept.
  std::optional<std::string> CheckArguments(const std::vector<std::string>& arguments);

  int32_t MinArguments();
  // kUnlimited with "..." in the signature.
  int32_t MaxArguments();

 private:
  void Prepare();
  // "2" when min = max, else "1..2" ("3.." without an upper limit).
  std::string CountText() const;

  std::string name_;
  std::string signature_;
  int32_t routine_ = 0;
  bool prepared_ = false;
  int32_t min_ = 0;
  int32_t max_ = 0;
  // Per parameter, the values it allows; empty allows any value.
  std::vector<std::vector<std::string>> allowed_;
  // Set when the signature itself cannot be read.
  std::optional<std::string> signature_error_;
};

// A named set of commands; class 0 holds the commands written without an
// object id.
struct TVkScriptClass {
  std::string name;
  TVkDict<TVkScriptCommand> commands;
};

}  // namespace vork
