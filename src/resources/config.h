#pragma once
// The course configuration "vork.cfg": the settings the player needs before
// the bytecode runs. One command a line ("setSceneWidth 800"); the last line
// of a command wins; every setting has a default, so the file is optional.

#include <string>
#include <string_view>
#include <vector>

namespace vork {

class TVkResManager;

class TVkConfig {
 public:
  // Parses the lines of a configuration file. Throws EVkError with the
  // "Quotation mismatch: ", "Invalid Boolean value" or integer texts, and
  // EVkAssertion when a command has other than one argument.
  explicit TVkConfig(const std::vector<std::string>& lines);
  // Reads "vork.cfg" through the resource manager when it is there.
  static TVkConfig FromResources(TVkResManager& resources);

  const std::string& ProductName() const { return product_name_; }
  bool RequireMediaDir() const { return require_media_dir_; }
  int SceneHeight() const { return scene_height_; }
  int SceneWidth() const { return scene_width_; }

 private:
  std::string product_name_;
  bool require_media_dir_ = true;
  int scene_height_ = 480;
  int scene_width_ = 640;
};

// The process's configuration, read from the resources at the first call.
const TVkConfig& Config();

// The value of the last line starting with command and a blank, or
// fallback when there is none (exposed for the tests and the fuzzer).
std::string ConfigValue(const std::vector<std::string>& lines, std::string_view command,
                        std::string_view fallback);

}  // namespace vork
