// The compiled image: layout conventions, the listing, the examples, and the
// vkc command.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/wait.h>
#include <unistd.h>

#include "archives/embedded_resources.h"
#include "vkasm/assembler.h"
#include "tools/vkc/course_machine.h"

namespace vork::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

const char* const kCourse = R"(
  string greeting = "Hello";
  string empty;
  word counter = 5;
  word twice(word n) { return n * 2; }
  void main() {
    sys.showInfo(greeting + "[" + empty + "]" + twice(counter));
    sys.showInfo(sys.info(2));
  }
)";

TEST(CompiledImage, StartRoutineMakesTheSystemObjectAndTheGlobalStrings) {
  CourseMachine machine;
  machine.Run(kCourse);
  // The system object and one string object per global string.
  EXPECT_THAT(machine.Shown(), ElementsAre("Hello[]10", "3"));
  // The stop routine destroyed them again.
  EXPECT_EQ(machine.LiveObjects(), 0);
}

TEST(CompiledImage, ListingAssemblesToTheSameImage) {
  const auto course = CompileCourse(kCourse, "course.vkc");
  const auto assembled = Assemble(course.listing, "listing");
  EXPECT_EQ(assembled.area, course.image.area);
  EXPECT_EQ(assembled.start_entry, course.image.start_entry);
  EXPECT_EQ(assembled.stop_entry, course.image.stop_entry);
}

TEST(CompiledImage, ExamplesCompile) {
  int found = 0;
  for (const auto& entry : fs::directory_iterator(fs::path(VORK_SOURCE_DIR) / "examples")) {
    if (entry.path().extension() != ".vkc") continue;
    ++found;
    std::ifstream in(entry.path(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NO_THROW(CompileCourse(text.str(), entry.path().string())) << entry.path();
  }
  EXPECT_GT(found, 0);
}

class VkcCommand : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("vkc_test_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  int Vkc(const std::string& arguments) {
    const std::string command = std::string(VORK_BINARY_DIR) + "/vkc " + arguments + " >" +
                                (dir_ / "out.txt").string() + " 2>" + (dir_ / "err.txt").string();
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string Read(const std::string& name) {
    std::ifstream in(dir_ / name, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  void Write(const std::string& name, const std::string& text) { std::ofstream(dir_ / name) << text; }
  fs::path dir_;
};

TEST_F(VkcCommand, WritesTheImageAndTheListing) {
  Write("course.vkc", kCourse);
  ASSERT_EQ(Vkc((dir_ / "course.vkc").string() + " --listing"), 0) << Read("err.txt");
  const auto course = CompileCourse(kCourse, "course.vkc");
  EXPECT_EQ(Read("course.vkbc"), ImageFileBytes(course.image));
  EXPECT_EQ(Read("out.txt"), course.listing);
}

TEST_F(VkcCommand, WritesTheSourceMapBesideTheImage) {
  Write("course.vkc", kCourse);
  const std::string source = (dir_ / "course.vkc").string();
  const std::string map = CompileCourse(kCourse, source).map.Format();
  ASSERT_EQ(Vkc(source + " -o " + (dir_ / "built.image").string()), 0) << Read("err.txt");
  EXPECT_EQ(Read("built.vkmap"), map);
  EXPECT_EQ(SourceMap::Parse(Read("built.vkmap")).files().front(), source);
  // An image named like its map would be overwritten by it.
  EXPECT_EQ(Vkc(source + " -o " + (dir_ / "course.vkmap").string()), 1);
  EXPECT_THAT(Read("err.txt"), HasSubstr("the source map would overwrite the image"));
}

TEST_F(VkcCommand, BundlesTheImageIntoACopyOfThePlayer) {
  Write("course.vkc", kCourse);
  Write("player", "not really a player");
  const auto out = dir_ / "course";
  ASSERT_EQ(Vkc((dir_ / "course.vkc").string() + " --bundle " + (dir_ / "player").string()), 0)
      << Read("err.txt");
  EXPECT_EQ(ReadEmbeddedResource(out.string(), "BYTECODE_BIN"),
            ImageFileBytes(CompileCourse(kCourse, "course.vkc").image));
  EXPECT_EQ(ReadEmbeddedResource(out.string(), "SOURCE_MAP"),
            CompileCourse(kCourse, (dir_ / "course.vkc").string()).map.Format());
}

TEST_F(VkcCommand, ReportsErrorsWithTheirPosition) {
  Write("bad.vkc", "void main() {\n  sys.fly();\n}\n");
  EXPECT_EQ(Vkc((dir_ / "bad.vkc").string()), 1);
  EXPECT_THAT(Read("err.txt"), HasSubstr("bad.vkc:2:7: System has no message 'fly'"));
  EXPECT_FALSE(fs::exists(dir_ / "bad.vkbc"));
  EXPECT_EQ(Vkc("--listing"), 2);
}

}  // namespace
}  // namespace vork::testing
