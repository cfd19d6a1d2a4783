#include "platform/ini_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/errors.h"

namespace vork {
namespace {

TEST(IniFile, NamesCompareWithoutCaseAndValuesKeepTheirBackslashes) {
  IniFile ini = IniFile::Parse(
      "; comment\r\n"
      "[Settings]\r\n"
      "MediaDir = D:\\course\\media\\ \r\n"
      "[HKEY_CURRENT_USER\\Software\\Zentor Learning Solutions\\Zentor\\Zentor Usage]\n"
      "@=default value\n"
      "Count=12\n");
  EXPECT_EQ(ini.Get("settings", "MEDIADIR"), "D:\\course\\media\\");
  EXPECT_EQ(ini.Get("hkey_current_user\\software\\zentor learning solutions\\zentor\\zentor usage", "@"),
            "default value");
  EXPECT_EQ(ini.Get("Settings", "UsersDir", "fallback"), "fallback");
  EXPECT_FALSE(ini.Has("Nope", "Count"));
}

TEST(IniFile, SavesAtomicallyAndReadsBack) {
  auto dir = std::filesystem::temp_directory_path() / ("vork-ini-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  std::string path = (dir / "registry.ini").string();
  IniFile ini;
  ini.Set("A", "x", "1");
  ini.Set("a", "X", "2");  // same entry: the name keeps its first spelling
  ini.Set("B", "y", "z");
  ini.Save(path);
  IniFile back = IniFile::Load(path);
  EXPECT_EQ(back.Get("A", "x"), "2");
  EXPECT_EQ(back.Get("B", "Y"), "z");
  // Nothing but the file itself is left in the folder.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);
  std::filesystem::remove_all(dir);
}

TEST(WriteFileAtomically, FailsWithTheFileNameWhenTheFolderIsMissing) {
  try {
    WriteFileAtomically("/nonexistent-folder/x.ini", "data");
    FAIL();
  } catch (const EVkError& e) {
    EXPECT_NE(std::string(e.what()).find("/nonexistent-folder/x.ini"), std::string::npos);
  }
}

}  // namespace
}  // namespace vork
