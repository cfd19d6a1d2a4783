#include "resources/config.h"

#include <charconv>

#include "platform/errors.h"
#include "resources/res_manager.h"

namespace vork {

namespace {

constexpr std::string_view kConfigFile = "vork.cfg";

// The argument split into tokens: runs without blanks, or text between two
// double quotes or two back quotes (blanks included, no escapes).
std::vector<std::string> Tokens(std::string_view argument) {
  std::vector<std::string> tokens;
  std::string_view rest = argument;
  auto skip_blanks = [&rest] {
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  };
  while (!rest.empty() && rest.back() == ' ') rest.remove_suffix(1);
  skip_blanks();
  while (!rest.empty()) {
    char quote = rest.front();
    if (quote == '"' || quote == '`') {
      size_t close = rest.find(quote, 1);
      if (close == std::string_view::npos)
        throw EVkError("Quotation mismatch: " + std::string(argument));
      tokens.emplace_back(rest.substr(1, close - 1));
      rest.remove_prefix(close + 1);
    } else {
      size_t blank = rest.find(' ');
      tokens.emplace_back(rest.substr(0, blank));
      rest.remove_prefix(blank == std::string_view::npos ? rest.size() : blank);
    }
    skip_blanks();
  }
  return tokens;
}

bool ParseBoolean(const std::string& value) {
  if (value == "true") return true;
  if (value == "false") return false;
  throw EVkError("Invalid Boolean value \"" + value + "\" (must be \"true\" or \"false\")");
}

int ParseInteger(const std::string& value) {
  int number = 0;
  const char* begin = value.data();
  const char* end = begin + value.size();
  if (begin != end && *begin == '+') ++begin;  // a sign is part of a decimal integer
  auto [stop, error] = std::from_chars(begin, end, number);
  if (begin == end || error != std::errc() || stop != end)
    throw EVkError("'" + value + "' is not a valid integer value");
  return number;
}

// A stage of no pixels or of negative size cannot be shown; the limit keeps
// a typing error from asking for a window of gigabytes.
int ParseSceneSize(const std::string& value, std::string_view command) {
  constexpr int kLargestScene = 16384;
  int size = ParseInteger(value);
  if (size < 1 || size > kLargestScene)
    throw EVkError("Invalid scene size \"" + value + "\" for " + std::string(command) +
                   " in vork.cfg (must be 1 to " + std::to_string(kLargestScene) + ")");
  return size;
}

}  // namespace

std::string ConfigValue(const std::vector<std::string>& lines, std::string_view command,
                        std::string_view fallback) {
  for (auto line = lines.rbegin(); line != lines.rend(); ++line) {
    std::string_view text = *line;
    if (text.size() <= command.size() || text.substr(0, command.size()) != command ||
        text[command.size()] != ' ')
      continue;
    auto tokens = Tokens(text.substr(command.size() + 1));
    Check(tokens.size() == 1);
    return tokens.front();
  }
  return std::string(fallback);
}

TVkConfig::TVkConfig(const std::vector<std::string>& lines) {
  product_name_ = ConfigValue(lines, "setProductName", "");
  require_media_dir_ = ParseBoolean(ConfigValue(lines, "setRequireMediaDir", "true"));
  scene_height_ = ParseSceneSize(ConfigValue(lines, "setSceneHeight", "480"), "setSceneHeight");
  scene_width_ = ParseSceneSize(ConfigValue(lines, "setSceneWidth", "640"), "setSceneWidth");
}

TVkConfig TVkConfig::FromResources(TVkResManager& resources) {
  std::vector<std::string> lines;
  // Only the archive set is read: a loose "vork.cfg" in the media folder
  // would pass ResourceExists but could not be opened as a resource.
  if (!resources.FindResource(kConfigFile).empty()) resources.LoadStrings(lines, kConfigFile);
  return TVkConfig(lines);
}

const TVkConfig& Config() {
  static const TVkConfig config = TVkConfig::FromResources(ResManager());
  return config;
}

}  // namespace vork
