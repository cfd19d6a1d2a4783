#include "textscript/script_command.h"

#include <algorithm>

#include "text/word_lists.h"
#include "platform/errors.h"

namespace vork {

namespace {

// "slow/fast" -> slow, fast.
std::vector<std::string> SplitAlternatives(std::string_view text) {
  std::vector<std::string> values;
  for (;;) {
    const size_t slash = text.find('/');
    values.emplace_back(text.substr(0, slash));
    if (slash == std::string_view::npos) return values;
    text.remove_prefix(slash + 1);
  }
}

}  // namespace

TVkScriptCommand::TVkScriptCommand(std::string name, std::string signature, int32_t routine)
    : name_(std::move(name)), signature_(std::move(signature)), routine_(routine) {}

void TVkScriptCommand::Prepare() {
  if (prepared_) return;
  prepared_ = true;
  if (signature_.empty()) return;
  // Counted on the text, not on the words: an author's double space counts.
  const auto spaces = static_cast<int32_t>(std::count(signature_.begin(), signature_.end(), ' '));
  const auto optional = static_cast<int32_t>(std::count(signature_.begin(), signature_.end(), '?'));
  max_ = spaces + 1;
  min_ = max_ - optional;
  if (signature_.find("...") != std::string::npos) {
    max_ = kUnlimited;
    return;
  }
  std::vector<std::string> parameters;
  try {
    SplitWords(signature_, parameters);
  } catch (const EVkError& error) {
    signature_error_ = std::string("Command \"") + name_ + "\" has an unreadable signature (" +
                           error.what() + ")";
    return;
  }
  for (const std::string& parameter : parameters) {
    const size_t equals = parameter.find('=');
    allowed_.push_back(equals == std::string::npos ? std::vector<std::string>{}
                                                   : SplitAlternatives(std::string_view(parameter).substr(equals + 1)));
  }
}

int32_t TVkScriptCommand::MinArguments() {
  Prepare();
  return min_;
}

int32_t TVkScriptCommand::MaxArguments() {
  Prepare();
  return max_;
}

std::string TVkScriptCommand::CountText() const {
  if (min_ == max_) return std::to_string(min_);
  return std::to_string(min_) + ".." + (max_ == kUnlimited ? std::string() : std::to_string(max_));
}

std::optional<std::string> TVkScriptCommand::CheckArguments(const std::vector<std::string>& arguments) {
  Prepare();
  if (signature_error_) return signature_error_;
  const auto count = static_cast<int64_t>(arguments.size());
  if (count < min_) {
    return "Too few parameters; " + std::to_string(count) + " found, total of " + CountText() + " required";
  }
  if (max_ != kUnlimited && count > max_) {
    return "Too many parameters; " + std::to_string(count) + " found, total of " + CountText() + " allowed";
  }
  const size_t checked = std::min(arguments.size(), allowed_.size());
  for (size_t i = 0; i < checked; ++i) {
    const std::vector<std::string>& allowed = allowed_[i];
    if (allowed.empty() || std::find(allowed.begin(), allowed.end(), arguments[i]) != allowed.end()) continue;
    return "Parameter number " + std::to_string(i + 1) + " is invalid. Correct usage: \r\n" + name_ + " " +
           signature_;
  }
  return std::nullopt;
}

}  // namespace vork
