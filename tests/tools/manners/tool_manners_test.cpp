// Every tool behaves like its neighbours on the command line: --help on
// standard output with status 0, --version naming the release, a usage
// error on standard error with status 2, and a manual page that
// cmake --install puts where man finds it. A tool that waits instead of
// answering is stopped after 20 seconds (status 124).

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/version.h"

namespace vork {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::StartsWith;

struct Tool {
  std::string name;
  std::string path;
};

// VORK_TOOLS: "name=path,name=path,..."
std::vector<Tool> Tools() {
  std::vector<Tool> tools;
  std::stringstream list(VORK_TOOLS);
  for (std::string entry; std::getline(list, entry, ',');) {
    const auto equals = entry.find('=');
    tools.push_back({entry.substr(0, equals), entry.substr(equals + 1)});
  }
  return tools;
}

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

class ToolManners : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("tool_manners_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  Outcome Run(const Tool& tool, const std::string& arguments) {
    const std::string command = "cd " + dir_.string() + " && QT_QPA_PLATFORM=offscreen timeout 20 '" + tool.path + "' " +
                                arguments + " >out.txt 2>err.txt </dev/null";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Read(dir_ / "out.txt"), Read(dir_ / "err.txt")};
  }
  static std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  fs::path dir_;
};

TEST_F(ToolManners, HelpGoesToStandardOutputAndSucceeds) {
  for (const Tool& tool : Tools()) {
    const Outcome help = Run(tool, "--help");
    EXPECT_EQ(help.status, 0) << tool.name;
    EXPECT_THAT(help.out, StartsWith("Usage: " + tool.name + " ")) << tool.name;
    EXPECT_THAT(help.out, HasSubstr("--version")) << tool.name;
    EXPECT_EQ(help.err, "") << tool.name;
    // Wherever it stands, and not taken for a file of that name.
    EXPECT_FALSE(fs::exists(dir_ / "--help")) << tool.name;
  }
}

TEST_F(ToolManners, VersionNamesTheToolAndTheRelease) {
  for (const Tool& tool : Tools()) {
    const Outcome version = Run(tool, "--version");
    EXPECT_EQ(version.status, 0) << tool.name;
    EXPECT_THAT(version.out, StartsWith(tool.name + " ")) << tool.name;
    EXPECT_THAT(version.out, HasSubstr(kReleaseNumber)) << tool.name;
    EXPECT_EQ(version.err, "") << tool.name;
  }
}

TEST_F(ToolManners, UsageErrorsGoToStandardErrorWithStatusTwo) {
  for (const Tool& tool : Tools()) {
    for (const std::string arguments : {"--no-such-option", "-Z 'some file'"}) {
      const Outcome wrong = Run(tool, arguments);
      EXPECT_EQ(wrong.status, 2) << tool.name << " " << arguments;
      EXPECT_EQ(wrong.out, "") << tool.name << " " << arguments;
      EXPECT_THAT(wrong.err, StartsWith(tool.name + ": ")) << tool.name << " " << arguments;
      EXPECT_THAT(wrong.err, HasSubstr(tool.name + " --help")) << tool.name << " " << arguments;
    }
  }
  // Operands missing or left over, tool by tool.
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"vkc", ""}, {"vkc", "a.vkc b.vkc"}, {"vkc", "a.vkc -o"},
      {"vkasm", ""}, {"vkasm", "a.vkasm b.vkasm"}, {"vkasm", "--list"}, {"vkasm", "--list x.vkbc y.vkasm"},
      {"vka", ""}, {"vka", "unpack a.vka"}, {"vka", "list"}, {"vka", "pack dir"},
      {"vkrun", ""}, {"vkrun", "a.vkbc b.vkbc"},
  };
  for (const Tool& tool : Tools()) {
    for (const auto& [name, arguments] : cases) {
      if (name != tool.name) continue;
      const Outcome wrong = Run(tool, arguments);
      EXPECT_EQ(wrong.status, 2) << name << " " << arguments;
      EXPECT_THAT(wrong.err, HasSubstr("Try '" + name + " --help'")) << name << " " << arguments;
    }
  }
}

TEST_F(ToolManners, InstallPutsEveryToolsManualPageWhereManLooks) {
  const fs::path prefix = dir_ / "prefix";
  const std::string command = "cmake --install '" + std::string(VORK_BINARY_DIR) + "' --prefix '" + prefix.string() +
                              "' >" + (dir_ / "install.txt").string() + " 2>&1";
  const int status = std::system(command.c_str());
  // Installing needs every installed program built; a partial build can say so only.
  if (status != 0 && Read(dir_ / "install.txt").find("file INSTALL cannot find") != std::string::npos) {
    GTEST_SKIP() << Read(dir_ / "install.txt");
  }
  ASSERT_EQ(status, 0) << Read(dir_ / "install.txt");
  for (const std::string name : {"vork", "vkc", "vkasm", "vka", "vkrun"}) {
    const fs::path page = prefix / "share/man/man1" / (name + ".1");
    ASSERT_TRUE(fs::exists(page)) << page;
    const std::string text = Read(page);
    EXPECT_THAT(text, HasSubstr(".SH NAME\n" + name + " \\- ")) << name;
    for (const char* section : {".SH SYNOPSIS", ".SH DESCRIPTION", ".SH EXIT STATUS"}) {
      EXPECT_THAT(text, HasSubstr(section)) << name;
    }
    EXPECT_THAT(text, HasSubstr("\\-\\-help")) << name;
    EXPECT_THAT(text, HasSubstr("\\-\\-version")) << name;
  }
}

}  // namespace
}  // namespace vork
