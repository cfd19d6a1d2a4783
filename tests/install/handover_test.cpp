// The hand-over to the sibling program: a fake program registered under App
// Paths records how it was started; its window settings live in the test's
// own registry file. Also the start of other programs a course asks for.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QElapsedTimer>
#include <filesystem>

#include "install/registry.h"
#include "install/run_program.h"
#include "install/scratch_folder.h"
#include "install/transcript_capture.h"
#include "install/zentor_controller.h"
#include "install/zentor_settings.h"
#include "platform/course_directories.h"

namespace vork::testing {
namespace {

constexpr char kAppPaths[] =
    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\ZENTOR.EXE]\n";
constexpr char kPreviousSettings[] =
    "[HKEY_CURRENT_USER\\Software\\Zentor Learning Solutions\\Zentor\\Zentor Usage]\n"
    "Alwaysontop=0\nWindow Size=2\n"
    "[HKEY_CURRENT_USER\\Software\\Zentor Learning Solutions\\Zentor\\Window Position]\n"
    "VideoWindowX=5\nVideoWindowY=6\nSmallWindowX=7\nSmallWindowY=8\n";

// A program that writes its working folder and arguments to a file.
void WriteRecorder(const std::string& path, const std::string& record) {
  WriteFile(path, "#!/bin/sh\n{ pwd; echo \"$@\"; } > '" + record + ".part'\nmv '" + record +
                      ".part' '" + record + "'\n");
  ::chmod(path.c_str(), 0755);
}

std::string WaitForFile(const std::string& path) {
  QElapsedTimer waited;
  waited.start();
  while (!std::filesystem::exists(path) && waited.elapsed() < 5000)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return ReadFile(path);
}

TVkZentorSettings SettingsIn(const std::string& registry) {
  TVkZentorSettings settings;
  EXPECT_TRUE(settings.Read(TVkRegistry(registry)));
  return settings;
}

class HandOverTest : public ::testing::Test {
 protected:
  HandOverTest() {
    std::filesystem::create_directory(media.Path() + "/clips");
    WriteFile(media / "clips/Lesson1.avi", "video");
    WriteRecorder(folder / "zentor", folder / "record");
    WriteFile(registry, kAppPaths + std::string("@=") + (folder / "zentor") + "\n" + kPreviousSettings);
  }
  std::string Played() { return WaitForFile(folder / "record"); }
  void ForgetPlay() { std::filesystem::remove(folder / "record"); }

  ScratchFolder folder;
  ScratchFolder media;
  const std::string registry = folder / "registry.ini";
  TranscriptCapture boxes;
};

TEST_F(HandOverTest, PlayStartsTheSiblingWithTheMediaFile) {
  TVkZentorController zentor(registry, media.Path());
  EXPECT_TRUE(zentor.IsInstalled());
  zentor.Play("CLIPS\\lesson1.avi");
  EXPECT_EQ(Played().substr(Played().find('\n') + 1), media / "clips/Lesson1.avi /PLAY\n");
  EXPECT_TRUE(zentor.Started());
  zentor.Close();
  EXPECT_FALSE(zentor.Started());
  EXPECT_EQ(boxes.Lines(), "");
}

TEST_F(HandOverTest, PositionsAreWrittenOnceAndTheOldOnesComeBackAtTheEnd) {
  {
    TVkZentorController zentor(registry, media.Path());
    zentor.SetWindowPositions([] { return std::pair{100, 50}; }, 1, 2, 3, 4);
    zentor.SetWindowPositions([] { return std::pair{0, 0}; }, 9, 9, 9, 9);  // ignored
    EXPECT_EQ(SettingsIn(registry).video_x, 5) << "nothing is written before the first play";
    zentor.Play("clips/lesson1.avi");
    Played();
    const TVkZentorSettings applied = SettingsIn(registry);
    EXPECT_EQ(applied.always_on_top, 1);
    EXPECT_EQ(applied.window_size, 1);
    EXPECT_EQ(applied.video_x, 101);
    EXPECT_EQ(applied.video_y, 52);
    EXPECT_EQ(applied.small_x, 103);
    EXPECT_EQ(applied.small_y, 54);
    // The second play leaves the registry alone.
    TVkRegistry changed(registry);
    changed.WriteInteger("HKEY_CURRENT_USER\\Software\\Zentor Learning Solutions\\Zentor\\Window Position",
                         "VideoWindowX", 777);
    ASSERT_TRUE(changed.Save());
    ForgetPlay();
    zentor.Play("clips/lesson1.avi");
    Played();
    EXPECT_EQ(SettingsIn(registry).video_x, 777);
  }
  const TVkZentorSettings restored = SettingsIn(registry);
  EXPECT_EQ(restored.always_on_top, 0);
  EXPECT_EQ(restored.window_size, 2);
  EXPECT_EQ(restored.video_x, 5);
  EXPECT_EQ(restored.small_y, 8);
}

TEST_F(HandOverTest, RestoredEvenWithoutAPlay) {
  WriteFile(registry, kAppPaths + std::string("@=") + (folder / "zentor") + "\n" + kPreviousSettings);
  {
    TVkZentorController zentor(registry, media.Path());
    zentor.SetWindowPositions({}, 1, 2, 3, 4);
    TVkZentorSettings other{1, 1, 50, 50, 50, 50};
    TVkRegistry changed(registry);
    ASSERT_TRUE(other.Write(changed));
  }
  EXPECT_EQ(SettingsIn(registry).video_x, 5);
}

TEST_F(HandOverTest, PlayWithoutPositionsLeavesTheRegistryAlone) {
  const std::string before = ReadFile(registry);
  {
    TVkZentorController zentor(registry, media.Path());
    zentor.Play("clips/lesson1.avi");
    Played();
  }
  EXPECT_EQ(ReadFile(registry), before);
}

TEST_F(HandOverTest, NotInstalledOrNoMediaFile) {
  TVkZentorController zentor(registry, media.Path());
  zentor.Play("clips/missing.avi");
  std::filesystem::remove(folder / "zentor");
  EXPECT_FALSE(zentor.IsInstalled()) << "a registered but deleted program is not installed";
  zentor.Play("clips/lesson1.avi");
  EXPECT_EQ(boxes.Lines(),
            "error: Media file \"clips/missing.avi\" not found.\n"
            "error: Zentor.exe not found.\n");
  EXPECT_FALSE(zentor.Started());
  EXPECT_FALSE(TVkZentorController(folder / "empty.ini", media.Path()).IsInstalled());
}

TEST(RunProgram, CommandParts) {
  struct Case {
    const char* command;
    const char* file;
    const char* parameters;
    bool hidden;
  };
  const Case cases[] = {
      {"notes.txt", "notes.txt", "", false},
      {"setup|/S /D=x", "setup", "/S /D=x", false},
      {"/hide|setup|-q|-v", "setup", "-q|-v", true},
      {"%DESKTOPDIR%\\lesson.txt", "/home/ann/Desktop\\lesson.txt", "", false},
      {"/hide|", "", "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command);
    const ProgramCommand command = ParseProgramCommand(c.command, "/home/ann/Desktop");
    EXPECT_EQ(command.file, c.file);
    EXPECT_EQ(command.parameters, c.parameters);
    EXPECT_EQ(command.hidden, c.hidden);
  }
}

TEST(RunProgram, StartsInTheMediaFolderOrSaysWhyNot) {
  ScratchFolder folder;
  WriteRecorder(folder / "tool", folder / "record");
  TranscriptCapture boxes;
  EXPECT_TRUE(RunProgram("/hide|" + (folder / "tool") + "|one \"two words\""));
  EXPECT_EQ(WaitForFile(folder / "record"),
            std::filesystem::canonical(MediaDirectory()).string() + "\none two words\n");
  EXPECT_FALSE(RunProgram(folder / "missing|x"));
  EXPECT_EQ(boxes.Lines(), "error: Execution error.\\n\\n   File = \"" + (folder / "missing") +
                               "\"\\n   Parameters = \"x\"\\n   Error code = 2\n");
}

}  // namespace
}  // namespace vork::testing
