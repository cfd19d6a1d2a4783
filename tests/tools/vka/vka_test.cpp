// The vka tool as authors run it.

#include <sys/wait.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>

#include "archives/archive_builder.h"
#include "archives/ark_reader.h"
#include "archives/embedded_resources.h"
#include "archives/file_stream.h"
#include "archives/test_files.h"

namespace vork {
namespace {

using ::testing::HasSubstr;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteArchive;
using testing::WriteFile;

struct Result {
  int status = -1;
  std::string out;
};

// Runs vka with arguments (single-quoted for the shell); standard error is
// folded into out.
Result Vka(const std::vector<std::string>& args) {
  std::string command = std::string(VORK_BINARY_DIR) + "/vka";
  for (const auto& arg : args) command += " '" + arg + "'";
  command += " 2>&1";
  Result result;
  FILE* pipe = ::popen(command.c_str(), "r");
  char buffer[4096];
  size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, got);
  int status = ::pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}


std::unique_ptr<TKsArkReader> Open(const std::string& path) {
  return std::make_unique<TKsArkReader>(std::make_shared<TKsFileStream>(path));
}

class VkaTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteFile(dir / "course/vork.cfg", "setSceneWidth 800\r\n");
    WriteFile(dir / "course/pics/Title.jpg", std::string("\xFF\xD8 jpeg \0 bytes", 14));
    WriteFile(dir / "course/sounds/hello.OGG", "OggS raw sound");
    WriteFile(dir / "course/empty.txt", "");
  }
  TempDir dir;
};

TEST_F(VkaTest, PackedCoursesReadBackThroughEveryMethod) {
  for (const char* method : {"0", "1", "2", "3"}) {
    std::string archive = dir / (std::string("m") + method + ".vka");
    ASSERT_EQ(Vka({"pack", dir / "course", archive, "--method", method}).status, 0);
    auto reader = Open(archive);
    EXPECT_EQ(reader->Method(), method[0] - '0');
    ASSERT_EQ(reader->Count(), 4u);
    EXPECT_EQ(reader->Open("pics\\title.jpg")->ReadAll(), ReadFile(dir / "course/pics/Title.jpg"));
    EXPECT_EQ(reader->Open("empty.txt")->ReadAll(), "");
    EXPECT_NE(ReadFile(archive).find("OggS raw sound"), std::string::npos) << ".ogg stays raw";
    EXPECT_EQ(ReadFile(archive).find("setSceneWidth") != std::string::npos, method[0] == '0');
  }
}

TEST_F(VkaTest, ListCatAndExtractShowWhatWasPacked) {
  std::string archive = dir / "course.vka";
  ASSERT_EQ(Vka({"pack", dir / "course", archive}).status, 0);
  EXPECT_EQ(Vka({"list", archive}).out,
            "0\tempty.txt\n14\tpics/Title.jpg\n14\tsounds/hello.OGG\n19\tvork.cfg\n");
  EXPECT_EQ(Vka({"cat", archive, "VORK.CFG"}).out, "setSceneWidth 800\r\n");
  ASSERT_EQ(Vka({"extract", archive, dir / "out"}).status, 0);
  EXPECT_EQ(ReadFile(dir / "out/pics/Title.jpg"), ReadFile(dir / "course/pics/Title.jpg"));
  EXPECT_EQ(ReadFile(dir / "out/sounds/hello.OGG"), "OggS raw sound");
}

TEST_F(VkaTest, PackingIntoTheFolderItselfLeavesTheArchiveOut) {
  ASSERT_EQ(Vka({"pack", dir / "course", dir / "course/self.vka"}).status, 0);
  EXPECT_EQ(Open(dir / "course/self.vka")->IndexOf("self.vka"), -1);
}

TEST_F(VkaTest, ExtractRefusesNamesThatWouldEscapeTheTarget) {
  std::string archive = dir / "evil.vka";
  WriteArchive(archive, {{"../escaped.txt", "x"}, {"/abs.txt", "x"}, {"a\\..\\..\\up.txt", "x"},
                         {"fine/ok.txt", "ok"}}, 2);
  Result result = Vka({"extract", archive, dir / "target"});
  EXPECT_EQ(result.status, 1);
  EXPECT_THAT(result.out, HasSubstr("refusing to extract \"../escaped.txt\""));
  EXPECT_THAT(result.out, HasSubstr("refusing to extract \"/abs.txt\""));
  EXPECT_THAT(result.out, HasSubstr("refusing to extract \"a/../../up.txt\""));
  EXPECT_EQ(ReadFile(dir / "target/fine/ok.txt"), "ok");
  EXPECT_FALSE(std::filesystem::exists(dir / "escaped.txt"));
  EXPECT_FALSE(std::filesystem::exists(dir / "up.txt"));
}

TEST_F(VkaTest, MistakesGiveAMessageAndAFailingStatus) {
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* message;
  };
  const Case cases[] = {
      {{"pack", "/nonexistent-folder", "x.vka"}, 1, "is not a directory"},
      {{"pack", "a", "b", "--method", "4"}, 2, "--method takes 0, 1, 2 or 3"},
      {{"list", "/nonexistent.vka"}, 1, "Cannot open file \"/nonexistent.vka\""},
      {{"cat", dir / "course/empty.txt", "x"}, 1, "is damaged: it is shorter than"},
      {{"frobnicate"}, 2, "unknown command \"frobnicate\""},
  };
  for (const auto& c : cases) {
    Result result = Vka(c.args);
    EXPECT_EQ(result.status, c.status) << c.args[0];
    EXPECT_THAT(result.out, HasSubstr(c.message)) << c.args[0];
  }
  WriteArchive(dir / "one.vka", {{"a", "1"}}, 1);
  EXPECT_THAT(Vka({"cat", dir / "one.vka", "b"}).out, HasSubstr("Resource \"b\" not found"));
}

TEST_F(VkaTest, BundleWritesAnExecutableCarryingTheImage) {
  WriteFile(dir / "player", "\x7f" "ELF player");
  WriteFile(dir / "course.img", "VKBC image bytes");
  ASSERT_EQ(Vka({"bundle", dir / "player", dir / "course.img", dir / "bundled"}).status, 0);
  EXPECT_EQ(ReadEmbeddedResource(dir / "bundled", "BYTECODE_BIN"), "VKBC image bytes");
  EXPECT_EQ(::access((dir / "bundled").c_str(), X_OK), 0);
}

}  // namespace
}  // namespace vork
