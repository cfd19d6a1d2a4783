// Resource sources: loose directories, archive files and the stack of both.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "archives/archive_builder.h"
#include "archives/archive_location.h"
#include "archives/dir_vka.h"
#include "archives/file_vka.h"
#include "archives/multi_vka.h"
#include "archives/test_files.h"
#include "platform/cp1252.h"
#include "platform/errors.h"

namespace vork {
namespace {

using ::testing::ElementsAre;
using testing::TempDir;
using testing::WriteArchive;
using testing::WriteFile;

TEST(DirVka, FindsCourseNamesIgnoringCaseAndBackslashes) {
  TempDir dir;
  WriteFile(dir / "Pics/Title.JPG", "jpeg");
  WriteFile(dir / "readme.txt", "text");
  TVkDirVka source(dir.Path() + "/");
  EXPECT_TRUE(source.Exists("pics\\title.jpg"));
  EXPECT_EQ(source.Locate("PICS/TITLE.jpg"), dir / "Pics/Title.JPG");
  EXPECT_EQ(source.Open("pics\\TITLE.jpg")->ReadAll(), "jpeg");
  EXPECT_FALSE(source.Exists(""));
  EXPECT_FALSE(source.Exists("pics"));  // a folder is not a resource
  EXPECT_EQ(source.Locate("missing.txt"), "");
  EXPECT_THAT(source.Names(), ElementsAre("Pics", "readme.txt"));
  EXPECT_EQ(source.SourcePath(), dir.Path());
}

TEST(DirVka, OpeningAMissingFileNamesIt) {
  TempDir dir;
  TVkDirVka source(dir.Path());
  try {
    source.Open("gone.txt");
    FAIL();
  } catch (const EVkError& error) {
    EXPECT_THAT(error.what(), ::testing::HasSubstr(dir / "gone.txt"));
  }
}

TEST(FileVka, LocatesResourcesAsArchivePathOffsetAndSize) {
  TempDir dir;
  std::string path = dir / "course@2.vka";  // an "@" in the path itself
  WriteArchive(path, {{"a.ogg", "0123456789"}, {"b.txt", "xyz"}}, 2);
  TVkFileVka source(path);
  auto location = ParseArchiveLocation(source.Locate("A.OGG"));
  ASSERT_TRUE(location);
  EXPECT_EQ(location->path, path);
  EXPECT_EQ(location->offset, 9u);
  EXPECT_EQ(location->size, 10u);
  EXPECT_EQ(source.Locate("c.txt"), "");
  EXPECT_THAT(source.Names(), ElementsAre("a.ogg", "b.txt"));
}

TEST(ArchiveLocation, SplitsAtTheLastAtSignFollowedByOffsetAndSize) {
  struct Case {
    const char* text;
    bool is_location;
    const char* path;
    uint64_t offset, size;
  };
  const Case cases[] = {
      {"/c/course.vka@9,10", true, "/c/course.vka", 9, 10},
      {"/c/a@b/course.vka@0,0", true, "/c/a@b/course.vka", 0, 0},
      {"/c/mail@1,2/file.ogg", false, "", 0, 0},
      {"/c/file.ogg", false, "", 0, 0},
      {"/c/file@1,", false, "", 0, 0},
      {"/c/file@,1", false, "", 0, 0},
      {"/c/file@-1,2", false, "", 0, 0},
      {"/c/file@1,2x", false, "", 0, 0},
      {"/c/file@99999999999999999999999,1", false, "", 0, 0},
  };
  for (const auto& c : cases) {
    auto location = ParseArchiveLocation(c.text);
    ASSERT_EQ(location.has_value(), c.is_location) << c.text;
    if (!location) continue;
    EXPECT_EQ(location->path, c.path);
    EXPECT_EQ(location->offset, c.offset);
    EXPECT_EQ(location->size, c.size);
    EXPECT_EQ(FormatArchiveLocation(location->path, location->offset, location->size), c.text);
  }
}

class MultiVkaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteArchive(dir / "course.vka", {{"shared.txt", "base"}, {"base-only.txt", "b"}, {"Both.txt", "x"}}, 2);
    WriteArchive(dir / "course.x01", {{"SHARED.TXT", "update"}, {"both.txt", "y"}}, 3);
    multi.Add(std::make_unique<TVkFileVka>(dir / "course.vka"));
    multi.Add(std::make_unique<TVkFileVka>(dir / "course.x01"));
  }
  TempDir dir;
  TVkMultiVka multi;
};

TEST_F(MultiVkaTest, LaterPartOverridesAndBaseStillAnswersTheRest) {
  EXPECT_EQ(multi.Open("shared.txt")->ReadAll(), "update");
  EXPECT_EQ(multi.Open("base-only.txt")->ReadAll(), "b");
  EXPECT_THAT(multi.Locate("shared.txt"), ::testing::StartsWith(dir / "course.x01@"));
}

TEST_F(MultiVkaTest, ANameInAnotherCaseMissesTheCacheButIsFound) {
  EXPECT_EQ(multi.Open("base-only.txt")->ReadAll(), "b");
  EXPECT_EQ(multi.Open("BASE-ONLY.TXT")->ReadAll(), "b");
  EXPECT_EQ(multi.Open("Shared.Txt")->ReadAll(), "update");
}

TEST_F(MultiVkaTest, AddingASourceClearsTheCache) {
  EXPECT_EQ(multi.Open("base-only.txt")->ReadAll(), "b");
  WriteArchive(dir / "course.x02", {{"base-only.txt", "patched"}}, 0);
  multi.Add(std::make_unique<TVkFileVka>(dir / "course.x02"));
  EXPECT_EQ(multi.Open("base-only.txt")->ReadAll(), "patched");
}

TEST_F(MultiVkaTest, NamesAreTheSortedUnionWithoutDuplicates) {
  auto names = multi.Names();
  ASSERT_EQ(names.size(), 3u);
  EXPECT_EQ(names[0], "base-only.txt");
  EXPECT_TRUE(EqualsIgnoreCase(names[1], "both.txt"));
  EXPECT_TRUE(EqualsIgnoreCase(names[2], "shared.txt"));
}

TEST_F(MultiVkaTest, MissingNameFailsOnlyWhenOpened) {
  EXPECT_FALSE(multi.Exists("nothing.txt"));
  EXPECT_EQ(multi.Locate("nothing.txt"), "");
  try {
    multi.Open("nothing.txt");
    FAIL();
  } catch (const EVkError& error) {
    EXPECT_STREQ(error.what(), "Resource \"nothing.txt\" not found");
  }
}

TEST_F(MultiVkaTest, KnowsWhichPartsArePresent) {
  EXPECT_TRUE(multi.HasSourceWithExtension("X01"));
  EXPECT_TRUE(multi.HasSourceWithExtension("vka"));
  EXPECT_FALSE(multi.HasSourceWithExtension("x02"));
}

TEST_F(MultiVkaTest, AnOpenResourceOutlivesTheArchiveSet) {
  auto stream = std::make_unique<TVkMultiVka>();
  stream->Add(std::make_unique<TVkFileVka>(dir / "course.vka"));
  auto resource = stream->Open("shared.txt");
  stream.reset();  // a rescan frees the set while the course still reads
  EXPECT_EQ(resource->ReadAll(), "base");
}

TEST(MultiVka, DirectorySourcesStackLikeArchives) {
  TempDir dir;
  WriteFile(dir / "base/a.txt", "base");
  WriteFile(dir / "update/A.TXT", "update");
  TVkMultiVka multi;
  multi.Add(std::make_unique<TVkDirVka>(dir / "base"));
  multi.Add(std::make_unique<TVkDirVka>(dir / "update"));
  EXPECT_EQ(multi.Open("a.txt")->ReadAll(), "update");
  EXPECT_EQ(multi.Locate("a.txt"), dir / "update/A.TXT");
}

}  // namespace
}  // namespace vork
