// How user names are shown, which names a new user may take, and which files
// of a users directory are users.

#include "users/user_names.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "users/scratch.h"
#include "users/user_list.h"

namespace vork {
namespace {

using testing::ScratchDir;
using testing::WriteBytes;
using namespace std::string_literals;

TEST(UserNames, DisplayNameNormalisesSpacesAndCapitals) {
  struct Case {
    std::string text, shown;
  } cases[] = {
      {"  JOHN  ", "John"},
      {"peter smith", "Peter smith"},
      {"MARY", "Mary"},
      {"mcDonald", "McDonald"},          // mixed case stays as typed
      {"JOHN 2", "John 2"},
      {"\xC4RGER", "\xC4rger"},          // Windows-1252 capitals: ÄRGER → Ärger
      {"\xE9lan", "\xC9lan"},            // élan → Élan
      {"\x9Aimon", "\x8Aimon"},          // šimon → Šimon
      {"a \t b", "A b"},                 // a run of spaces keeps its last byte
      {"a  \tb", "A\tb"},
      {"\t\r\n", ""},
      {"", ""},
      {"1st", "1st"},
  };
  for (const auto& c : cases) EXPECT_EQ(UserDisplayName(c.text), c.shown) << c.text;
}

TEST(UserNames, NewUserNameMustNameOneFileInsideTheUsersDirectory) {
  ScratchDir outer;
  std::string users = outer / "users";
  std::filesystem::create_directory(users);
  struct Case {
    std::string name;
    bool valid;
  } cases[] = {
      {"Mary", true}, {"Peter Smith", true}, {"\xC4rger", true},
      {"mary.smith", false}, {"", false}, {".", false}, {"..", false}, {"a/b", false},
      {"a\\b", false}, {"../Mary", false}, {"tab\tname", false}, {"Mary\0x"s, false},
      {std::string(300, 'x'), false},  // longer than a file name may be
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(IsValidUserName(c.name, users), c.valid);
  }
  EXPECT_FALSE(IsValidUserName("Mary", outer / "missing"));
  // The probe files are gone again and nothing was made outside.
  EXPECT_TRUE(std::filesystem::is_empty(users));
  EXPECT_EQ(outer.Names(), (std::vector<std::string>{"users"}));
}

TEST(UserNames, UsersAreTheSettingsFilesOfTheDirectory) {
  ScratchDir dir;
  for (const char* file : {"MARY.vkr", "peter smith.vkr", "anna.vkr", ".hidden.vkr",
                           "Writer.vkr.tmp123", "Writer.lck", "notes.txt", "x.VKR", ".vkr"}) {
    WriteBytes(dir / file, "");
  }
  std::filesystem::create_directory(dir / "folder.vkr");
  EXPECT_EQ(ListUsers(dir.Path()), (std::vector<std::string>{"Anna", "Mary", "Peter smith", "X"}));
  EXPECT_TRUE(IsListedUser(dir.Path(), "mary"));
  EXPECT_TRUE(IsListedUser(dir.Path(), "PETER SMITH"));
  EXPECT_FALSE(IsListedUser(dir.Path(), "Writer"));
  EXPECT_TRUE(ListUsers(dir / "missing").empty());
}

}  // namespace
}  // namespace vork
