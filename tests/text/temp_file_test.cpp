#include "text/temp_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/random.h"
#include "support/test_host.h"

namespace vork {
namespace {

namespace fs = std::filesystem;

class TempFile : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vork-temp-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    dir_ = pattern;
    const char* old = std::getenv("TMPDIR");
    if (old != nullptr) old_tmpdir_ = old;
    setenv("TMPDIR", (dir_ + "/").c_str(), 1);
  }
  void TearDown() override {
    if (old_tmpdir_.empty()) {
      unsetenv("TMPDIR");
    } else {
      setenv("TMPDIR", old_tmpdir_.c_str(), 1);
    }
    fs::remove_all(dir_);
  }
  std::string dir_, old_tmpdir_;
};

TEST_F(TempFile, CreatesANewEmptyPrivateFileInTheTemporaryDirectory) {
  EXPECT_EQ(TempDirectory(), dir_);
  const std::string name = CreateTempFile(".wav");
  ASSERT_FALSE(name.empty());
  const std::string prefix = dir_ + "/~";
  ASSERT_TRUE(name.starts_with(prefix)) << name;
  ASSERT_TRUE(name.ends_with(".wav")) << name;
  const std::string number = name.substr(prefix.size(), name.size() - prefix.size() - 4);
  EXPECT_FALSE(number.empty());
  EXPECT_EQ(number.find_first_not_of("0123456789"), std::string::npos) << name;

  struct stat info {};
  ASSERT_EQ(stat(name.c_str(), &info), 0);
  EXPECT_EQ(info.st_size, 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  EXPECT_NE(CreateTempFile(".wav"), name);
}

TEST_F(TempFile, NeverReusesAnExistingFile) {
  testing::TestHost host(nullptr, 123456);
  Random().Reseed(77);
  const std::string taken =
      dir_ + "/~456" + std::to_string(RandomGenerator(77).Below(10000)) + ".txt";
  std::ofstream(taken) << "keep me";
  Random().Reseed(77);
  const std::string name = CreateTempFile(".txt");
  EXPECT_FALSE(name.empty());
  EXPECT_NE(name, taken);
  std::string content;
  std::getline(std::ifstream(taken), content);
  EXPECT_EQ(content, "keep me");
}

TEST_F(TempFile, GivesEmptyWhenNoFileCanBeCreated) {
  EXPECT_EQ(CreateTempFileWithPrefix(dir_ + "/missing/~", ".tmp"), "");
}

TEST_F(TempFile, RefusesExtensionsThatLeaveTheDirectory) {
  using namespace std::string_view_literals;
  for (std::string_view extension : {"/../x"sv, "\\x"sv, ".w\0av"sv}) {
    EXPECT_EQ(CreateTempFile(extension), "") << extension;
  }
  EXPECT_TRUE(fs::is_empty(dir_));
}

}  // namespace
}  // namespace vork
