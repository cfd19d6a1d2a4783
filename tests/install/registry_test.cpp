// The registry stand-in and the sibling program's six window settings in it.

#include "install/registry.h"

#include <gtest/gtest.h>

#include "install/scratch_folder.h"
#include "install/zentor_settings.h"

namespace vork::testing {
namespace {

constexpr char kUsage[] = "HKEY_CURRENT_USER\\Software\\Zentor Learning Solutions\\Zentor\\Zentor Usage";
constexpr char kPosition[] =
    "HKEY_CURRENT_USER\\Software\\Zentor Learning Solutions\\Zentor\\Window Position";

constexpr char kSettings[] =
    "[HKEY_CURRENT_USER\\Software\\Zentor Learning Solutions\\Zentor\\Zentor Usage]\n"
    "Alwaysontop=0\r\n"
    "Window Size=2\n"
    "[hkey_current_user\\software\\zentor learning solutions\\zentor\\window position]\n"
    "videowindowx=-5\n"
    "VideoWindowY=10\n"
    "SmallWindowX=300\n"
    "SmallWindowY=400\n";

TEST(Registry, KeysAndNamesIgnoreCaseAndIntegersMustBeWhole) {
  const TVkRegistry registry = TVkRegistry::FromText(
      std::string(kSettings) +
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\ZENTOR.EXE]\n"
      "@=/opt/zentor/zentor\n"
      "[Numbers]\nPlain=42\nSpace=4 2\nWord=x\nHuge=2147483648\nEmpty=\nNegative=-2147483648\n");
  EXPECT_EQ(registry.ReadInteger(kPosition, "VIDEOWINDOWX"), -5);
  EXPECT_EQ(registry.ReadDefault("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\"
                                 "App Paths\\zentor.exe"),
            "/opt/zentor/zentor");
  EXPECT_EQ(registry.ReadInteger("Numbers", "Plain"), 42);
  EXPECT_EQ(registry.ReadInteger("Numbers", "Negative"), -2147483647 - 1);
  for (const char* name : {"Space", "Word", "Huge", "Empty", "Absent"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(registry.ReadInteger("Numbers", name).has_value());
  }
}

TEST(ZentorSettings, ReadAllSixOrNothing) {
  TVkZentorSettings settings;
  ASSERT_TRUE(settings.Read(TVkRegistry::FromText(kSettings)));
  EXPECT_EQ(settings.window_size, 2);
  EXPECT_EQ(settings.video_x, -5);
  EXPECT_EQ(settings.small_y, 400);
  // One value missing, not a number, or Zentor's "missing" fails the read.
  const std::string broken[] = {
      std::string(kSettings).replace(std::string(kSettings).find("SmallWindowY=400"), 16, ""),
      std::string(kSettings).replace(std::string(kSettings).find("=400"), 4, "=four"),
      std::string(kSettings).replace(std::string(kSettings).find("=400"), 4, "=2147483647"),
  };
  for (const std::string& text : broken) EXPECT_FALSE(TVkZentorSettings().Read(TVkRegistry::FromText(text)));
}

TEST(ZentorSettings, WriteKeepsTheRestOfTheFile) {
  ScratchFolder folder;
  const std::string path = folder / "registry.ini";
  WriteFile(path, "[HKEY_CURRENT_USER\\Software\\Other]\nKeep=me\n");
  TVkRegistry registry(path);
  ASSERT_TRUE((TVkZentorSettings{1, 1, 10, 20, 30, 40}.Write(registry)));
  const TVkRegistry reread(path);
  TVkZentorSettings settings;
  ASSERT_TRUE(settings.Read(reread));
  EXPECT_EQ(settings.small_x, 30);
  EXPECT_EQ(reread.ReadString("HKEY_CURRENT_USER\\Software\\Other", "Keep"), "me");
  EXPECT_EQ(reread.ReadInteger(kUsage, "Alwaysontop"), 1);

  TVkRegistry nowhere(folder / "missing-folder/registry.ini");
  EXPECT_FALSE(TVkZentorSettings{}.Write(nowhere));
}

}  // namespace
}  // namespace vork::testing
