#pragma once
// DevCourse: a course under development, built from its source folder into a
// scratch folder the player runs from. The folder holds the compiled image
// (NAME.vkbc) and its source map (NAME.vkmap), the resources/ folder packed as
// NAME.vka, a media folder (the course's own media/ when it has one) and a
// users folder that lives as long as the DevCourse, so that what a learner
// saved survives every rebuild.
//
// A failed build leaves the last good image, map and archive in place: the
// course that is running keeps its files.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace vork {

struct DevBuildResult {
  bool ok = false;
  std::string errors;  // the compiler's own words when !ok
};

class DevCourse {
 public:
  // source: the course's main .vkc file; compiler: the vkc to run.
  // Creates the scratch folder (under the temporary folder) and its media
  // and users folders; EVkError when that fails.
  DevCourse(std::filesystem::path source, std::filesystem::path compiler);
  // Removes the scratch folder.
  ~DevCourse();
  DevCourse(const DevCourse&) = delete;
  DevCourse& operator=(const DevCourse&) = delete;

  // Compiles the source and packs the resources. On success the image, map
  // and archive in the scratch folder are replaced (each by a rename, so a
  // reader never sees half a file).
  DevBuildResult Build();

  const std::filesystem::path& Source() const { return source_; }
  const std::filesystem::path& Scratch() const { return scratch_; }
  std::filesystem::path ImagePath() const;
  std::filesystem::path MapPath() const;
  std::filesystem::path ArchivePath() const;

  // What a rebuild depends on: the folder of the source and, recursively,
  // the folders under it (sources that import others, the resources).
  std::vector<std::filesystem::path> WatchedFolders() const;

  // The vkc beside the running player, else the one on the search path.
  static std::filesystem::path DefaultCompiler(const std::filesystem::path& player);

 private:
  std::string Name() const;
  DevBuildResult Compile();
  void PackResources();
  void LayOutFolders();

  std::filesystem::path source_;
  std::filesystem::path compiler_;
  std::filesystem::path scratch_;
};

}  // namespace vork
