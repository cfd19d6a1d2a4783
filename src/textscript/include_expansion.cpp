#include "textscript/include_expansion.h"

#include "platform/cp1252.h"
#include "platform/errors.h"
#include "resources/res_manager.h"
#include "textscript/line_markers.h"

namespace vork {

namespace {

// An include line's file name when it names a ".inc" file (the extension
// compared exactly), else empty.
std::string_view IncludedFile(std::string_view line) {
  if (!line.starts_with(kIncludePrefix)) return {};
  const std::string_view file = line.substr(kIncludePrefix.size());
  const size_t dot = file.rfind('.');
  if (dot == std::string_view::npos || file.find_first_of("/\\", dot) != std::string_view::npos) return {};
  return file.substr(dot) == ".inc" ? file : std::string_view{};
}

std::string Where(std::string_view file, size_t index) {
  return "\"" + std::string(file) + "\" line " + std::to_string(index + 1);
}

class IncludeExpander {
 public:
  IncludeExpander(std::vector<std::string>& target, const ScriptLoader& load, const TVkIncludeLimits& limits)
      : target_(target), load_(load), limits_(limits) {
    for (const std::string& line : target_) bytes_ += line.size();
  }

  void Expand(const std::string& resource, std::vector<std::string> lines) {
    chain_.push_back(resource);
    target_.reserve(target_.size() + lines.size() + 2);
    for (size_t index = 0; index < lines.size(); ++index) {
      const std::string_view file = IncludedFile(lines[index]);
      if (file.empty()) {
        Append(std::move(lines[index]), resource, index);
        continue;
      }
      const std::string included(file);
      CheckInclude(included, resource, index);
      std::vector<std::string> included_lines;
      try {
        included_lines = load_(included);
      } catch (const std::exception& error) {
        throw EVkError(std::string(error.what()) + " (included from " + Where(resource, index) + ")");
      }
      Append(LineMarker(included, 1), resource, index);
      Expand(included, std::move(included_lines));
      // The line after the include line.
      Append(LineMarker(resource, static_cast<int64_t>(index) + 2), resource, index);
    }
    chain_.pop_back();
  }

 private:
  void CheckInclude(const std::string& included, const std::string& resource, size_t index) const {
    for (const std::string& open : chain_) {
      if (EqualsIgnoreCase(open, included)) {
        throw EVkError("Include cycle at " + Where(resource, index) + ": \"" + included +
                       "\" is already being included");
      }
    }
    if (static_cast<int>(chain_.size()) > limits_.max_depth) {
      throw EVkError("Includes nested too deeply at " + Where(resource, index) + " (more than " +
                     std::to_string(limits_.max_depth) + " levels)");
    }
  }

  void Append(std::string line, const std::string& resource, size_t index) {
    bytes_ += line.size();
    if (target_.size() >= limits_.max_lines || bytes_ > limits_.max_bytes) {
      throw EVkError("Script \"" + chain_.front() + "\" is too long with its includes expanded (at " +
                     Where(resource, index) + "; at most " + std::to_string(limits_.max_lines) + " lines and " +
                     std::to_string(limits_.max_bytes) + " bytes)");
    }
    target_.push_back(std::move(line));
  }

  std::vector<std::string>& target_;
  const ScriptLoader& load_;
  const TVkIncludeLimits& limits_;
  std::vector<std::string> chain_;
  size_t bytes_ = 0;
};

}  // namespace

void ExpandIncludes(std::string_view resource, std::vector<std::string>& target, const ScriptLoader& load,
                    const TVkIncludeLimits& limits) {
  const std::string name(resource);
  IncludeExpander(target, load, limits).Expand(name, load(name));
}

void ExpandIncludes(std::string_view resource, std::vector<std::string>& target) {
  ExpandIncludes(resource, target, [](const std::string& name) {
    std::vector<std::string> lines;
    ResManager().LoadStrings(lines, name);
    return lines;
  });
}

}  // namespace vork
