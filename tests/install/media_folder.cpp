// The media folder of these tests: programs a course starts run in it, so it
// must exist before anything asks for it (it is fixed at the first use).

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/course_directories.h"
#include "platform/program_location.h"

namespace {

class MediaFolderEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() / ("vork-install-media-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_ / "media");
    vork::SetProgramPath((folder_ / "course.vkbc").string());
    vork::MediaDirectory();
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

 private:
  std::filesystem::path folder_;
};

[[maybe_unused]] ::testing::Environment* const media_folder =
    ::testing::AddGlobalTestEnvironment(new MediaFolderEnvironment);

}  // namespace
