#include "platform/folder_names.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "archives/test_files.h"

namespace vork {
namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using testing::TempDir;
using testing::WriteFile;

// Course names are Windows-1252 ("\xDC" is Ü, "\xFC" ü); the folder holds
// names as Linux writes them, mostly UTF-8.
TEST(FolderNames, FindsANameIgnoringLetterCaseInAsciiAndUtf8) {
  TempDir dir;
  for (const char* name : {"Intro.OGG", "intro.ogg", "INTRO.ogg", "Übung.txt", "Straße.wav", "lat\xFC.txt", "X.vka"})
    WriteFile(dir / name, "");
  struct Case {
    const char* wanted;
    std::vector<std::string> found;  // in byte order
  };
  const Case cases[] = {
      {"intro.ogg", {"INTRO.ogg", "Intro.OGG", "intro.ogg"}},  // several: all, in byte order
      {"INTRO.OGG", {"INTRO.ogg", "Intro.OGG", "intro.ogg"}},
      {"x.VKA", {"X.vka"}},
      {"\xFC" "bung.TXT", {"Übung.txt"}},  // UTF-8 name, letter case differs in the high letter
      {"\xDC" "BUNG.txt", {"Übung.txt"}},
      {"STRA\xDF" "E.WAV", {"Straße.wav"}},
      {"LAT\xDC.TXT", {"lat\xFC.txt"}},  // a Windows-1252 name on disk
      {"intro.wav", {}},
      {"Ubung.txt", {}},                // no letter stands for another
      {"\xDC" "bung.tx", {}},
      {"", {}},
  };
  for (const Case& c : cases) EXPECT_THAT(FindIgnoringCase(dir.Path(), c.wanted), ElementsAreArray(c.found)) << c.wanted;
}

TEST(FolderNames, ComparesNamesOnDiskWithNamesAsCoursesWriteThem) {
  struct Case {
    const char* on_disk;
    const char* wanted;
    bool same;
  };
  const Case cases[] = {
      {"Media", "MEDIA", true},
      {"Übung", "\xFC" "BUNG", true},  // UTF-8 on disk
      {"\xDC" "bung", "\xFC" "BUNG", true},  // Windows-1252 on disk
      {"Übung", "Übung", true},              // the same bytes
      {"Übung", "übung", false},             // both UTF-8: the bytes differ after the lead byte
      {"日本", "??", false},                  // no Windows-1252 spelling is not a match for "?"
      {"Media", "Medi", false},
  };
  for (const Case& c : cases) EXPECT_EQ(SameNameIgnoringCase(c.on_disk, c.wanted), c.same) << c.on_disk << " / " << c.wanted;
}

TEST(FolderNames, ListsAFolderInByteOrderWithoutDotEntries) {
  TempDir dir;
  for (const char* name : {"b", "B", "a.txt", ".hidden", "sub/inner"}) WriteFile(dir / name, "");
  EXPECT_THAT(FolderNames(dir.Path()), ElementsAre(".hidden", "B", "a.txt", "b", "sub"));
  EXPECT_THAT(FolderNames(dir / "missing"), ElementsAre());
  EXPECT_THAT(FolderNames(""), ElementsAre());
}

}  // namespace
}  // namespace vork
