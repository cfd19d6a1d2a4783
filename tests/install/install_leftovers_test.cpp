// What a killed installation left behind, removed at the next start: only
// the installer's own working folders and downloads, only older ones, and
// never through a link.

#include "install/install_leftovers.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <ctime>
#include <filesystem>

#include "install/scratch_folder.h"

namespace vork::testing {
namespace {

namespace fs = std::filesystem;

void MakeOld(const std::string& path) {
  const timespec old[2] = {{std::time(nullptr) - 3600, 0}, {std::time(nullptr) - 3600, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), old, AT_SYMLINK_NOFOLLOW), 0) << path;
}

TEST(InstallLeftovers, OlderWorkFoldersAndDownloadsGoTheRestStays) {
  ScratchFolder course;
  ScratchFolder elsewhere;
  WriteFile(elsewhere / "keep.txt", "outside");
  fs::create_directory(course / ".~install-a1B2c3");
  WriteFile(course / ".~install-a1B2c3/course.x01", "half");
  fs::create_directory(course / ".~install-zzzzzz");  // a killed install's kept files
  fs::create_directory_symlink(elsewhere.Path(), course / ".~install-zzzzzz/link");
  WriteFile(course / "~1733900000123.tmp", "partial download");
  const char* kept[] = {"~123.tmp.bak", "~abc.tmp", "~.tmp", ".~install-short", "course.x01",
                        "media"};
  WriteFile(course / "~123.tmp.bak", "");
  WriteFile(course / "~abc.tmp", "");
  WriteFile(course / "~.tmp", "");
  fs::create_directory(course / ".~install-short");
  WriteFile(course / "course.x01", "course part");
  fs::create_directory(course / "media");
  fs::create_symlink(elsewhere / "keep.txt", course / "~42.tmp");  // a link, not a download
  for (const std::string& name : course.Tree()) MakeOld(course / name);
  // One that another player is writing right now.
  fs::create_directory(course / ".~install-fresh1");

  EXPECT_EQ(RemoveInstallLeftovers(course.Path(), std::time(nullptr) - 60), 3);
  std::vector<std::string> expected(std::begin(kept), std::end(kept));
  expected.push_back("~42.tmp");
  expected.push_back(".~install-fresh1");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(course.Tree(), expected);
  EXPECT_EQ(ReadFile(elsewhere / "keep.txt"), "outside");
}

TEST(InstallLeftovers, ProcessStartTimeIsThisProcesssOwn) {
  const std::time_t now = std::time(nullptr);
  const std::time_t started = ProcessStartTime();
  EXPECT_LE(started, now);
  // The test program started moments ago, not at boot.
  EXPECT_GT(started, now - 600);
}

}  // namespace
}  // namespace vork::testing
