#pragma once
// The link-style command the glossary and comment windows take from the
// course: "name?param=value&other=value#fragment". Parameters are decoded
// only by "%" and two hexadecimal digits; "+" stays a plus sign.

#include <map>
#include <string>
#include <string_view>

namespace vork {

struct TVkLinkCommand {
  std::string name;
  std::string fragment;
  // A name given twice keeps its last value; names compare exactly.
  std::map<std::string, std::string, std::less<>> parameters;

  // "" for a parameter the command does not have.
  std::string Parameter(std::string_view key) const;
};

TVkLinkCommand ParseLinkCommand(std::string_view text);

// Every "%" followed by two hexadecimal digits as the byte they name; any
// other "%" stays as it is.
std::string DecodePercent(std::string_view text);

}  // namespace vork
