// Resources appended to an executable.

#include <sys/stat.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "archives/embedded_resources.h"
#include "archives/test_files.h"
#include "platform/errors.h"

namespace vork {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

class EmbeddedResourcesTest : public ::testing::Test {
 protected:
  void SetUp() override { WriteFile(player, "\x7f" "ELF pretend program bytes"); }
  TempDir dir;
  std::string player = dir / "player";
  std::string course = dir / "course";
};

TEST_F(EmbeddedResourcesTest, BundledImageIsFoundAndTheProgramKept) {
  WriteWithEmbeddedResources(player, course, {{"BYTECODE_BIN", "VKBC image"}, {"OTHER", ""}});
  EXPECT_EQ(ReadEmbeddedResource(course, "bytecode_bin"), "VKBC image");
  EXPECT_EQ(ReadEmbeddedResource(course, "OTHER"), "");
  EXPECT_EQ(ReadFile(course).substr(0, ReadFile(player).size()), ReadFile(player));
  struct stat info;
  ASSERT_EQ(::stat(course.c_str(), &info), 0);
  EXPECT_TRUE(info.st_mode & S_IXUSR);
}

TEST_F(EmbeddedResourcesTest, BundlingABundledProgramReplacesItsResources) {
  WriteWithEmbeddedResources(player, course, {{"BYTECODE_BIN", "old image, rather long"}});
  std::string again = dir / "again";
  WriteWithEmbeddedResources(course, again, {{"BYTECODE_BIN", "new"}});
  EXPECT_EQ(ReadEmbeddedResource(again, "BYTECODE_BIN"), "new");
  EXPECT_THAT(EmbeddedResourceNames(again), ElementsAre("BYTECODE_BIN"));
  EXPECT_EQ(ReadFile(again).find("old image"), std::string::npos);
}

TEST_F(EmbeddedResourcesTest, MissingResourceIsAClearFailure) {
  EXPECT_FALSE(FindEmbeddedResource(player, "BYTECODE_BIN"));
  try {
    ReadEmbeddedResource(player, "BYTECODE_BIN");
    FAIL();
  } catch (const EVkError& error) {
    EXPECT_EQ(std::string(error.what()), "No resource \"BYTECODE_BIN\" in \"" + player + "\"");
  }
}

TEST_F(EmbeddedResourcesTest, DamagedBlockIsReportedNotTrusted) {
  WriteWithEmbeddedResources(player, course, {{"BYTECODE_BIN", "image"}});
  std::string bytes = ReadFile(course);
  struct Case {
    const char* what;
    size_t from_end;  // position of the trailer field, counted from the end
    char value;
  };
  const Case cases[] = {
      {"table offset past the block", 32 - 8 + 7, '\x7f'},
      {"huge resource count", 32 - 16 + 3, '\x7f'},
      {"unknown version", 32 - 20, '\x09'},
  };
  for (const auto& c : cases) {
    std::string damaged = bytes;
    damaged[damaged.size() - c.from_end] = c.value;
    WriteFile(course, damaged);
    try {
      FindEmbeddedResource(course, "BYTECODE_BIN");
      ADD_FAILURE() << c.what << " was accepted";
    } catch (const EVkError& error) {
      EXPECT_THAT(error.what(), HasSubstr("resource block of \"" + course + "\" is damaged"))
          << c.what;
    }
  }
}

}  // namespace
}  // namespace vork
